#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// What the games' own engines hold, as far as public reports of them say. The level record's
// capacities (level_data.h) stay the hard limits that refuse a build; a level within them but
// past its engine's limit is written, and warned about: the game may crash on it.
enum class EngineMeasure {
    RoomVertices,   // vertices of one room
    Items,          // items of the level, Lara's included
    ObjectTextures, // object textures of the level
    SpriteTextures, // sprite textures of the level
    TexturePages,   // 256 x 256 texture pages of the level
};
inline constexpr EngineMeasure EngineMeasures[] = {
    EngineMeasure::RoomVertices, EngineMeasure::Items, EngineMeasure::ObjectTextures,
    EngineMeasure::SpriteTextures, EngineMeasure::TexturePages};

struct EngineLimit {
    long Value = 0;
    const char* Source = ""; // where the number is reported: a web address
};

// The limit the engine of the layout (FormatTR1 ... FormatTR3) puts on the measure; none when
// no public report gives one (then only the record's capacity holds).
std::optional<EngineLimit> FindEngineLimit(int32_t formatKind, EngineMeasure measure);

// "the first game's engine"; the add-on runs on the first game's engine.
std::string EngineName(int32_t formatKind);

// "the 1500 the first game's engine holds (source: https://...)".
std::string EngineLimitText(int32_t formatKind, const EngineLimit& limit);

} // namespace morvane
