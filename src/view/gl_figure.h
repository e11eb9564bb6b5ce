#pragma once

#include <functional>

namespace morvane {

inline constexpr double BoundsInfinity = 922337203685477.6;

struct Vec3 {
    double X = 0, Y = 0, Z = 0;
};

// Anything the viewport draws: placed by its position, scale and rotation, with a box around it.
class GLFigure {
public:
    virtual ~GLFigure() = default;

    Vec3 Position;
    Vec3 Rotation; // degrees about x, y, z
    Vec3 Scale{1, 1, 1};
    Vec3 BoundsMin{BoundsInfinity, BoundsInfinity, BoundsInfinity};
    Vec3 BoundsMax{-BoundsInfinity, -BoundsInfinity, -BoundsInfinity};
    std::function<void()> OnDraw;

    // Draws the figure in its own coordinates; the base calls OnDraw.
    virtual void Draw();
    // Every field back to its default.
    virtual void Create();
    void Reset() { Create(); }
    // Translates, scales and rotates the model-view matrix, draws, and restores it.
    void Render();
};

} // namespace morvane
