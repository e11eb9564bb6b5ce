#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

// How the room scene draws: outlines only, faces in flat colours, or faces with the level's
// textures. The numbers are those kept in the user's settings.
enum class RenderMode : uint8_t { Wireframe = 0, Solid = 3, Textured = 4 };

// Each mode with the name the command line gives it ("--mode wireframe").
struct RenderModeName {
    RenderMode Mode;
    std::string_view Name;
};
inline constexpr RenderModeName RenderModeNames[] = {{RenderMode::Wireframe, "wireframe"},
                                                     {RenderMode::Solid, "solid"},
                                                     {RenderMode::Textured, "textured"}};

// The mode of a number kept in the settings, or of a name; none for anything else.
constexpr std::optional<RenderMode> RenderModeOfNumber(int number) {
    for (const RenderModeName& known : RenderModeNames) {
        if (static_cast<int>(known.Mode) == number) {
            return known.Mode;
        }
    }
    return std::nullopt;
}

constexpr std::optional<RenderMode> RenderModeOfName(std::string_view name) {
    for (const RenderModeName& known : RenderModeNames) {
        if (known.Name == name) {
            return known.Mode;
        }
    }
    return std::nullopt;
}

} // namespace morvane
