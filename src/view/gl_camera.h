#pragma once

namespace morvane {

// A camera that only moves; it is applied to the projection matrix.
class TGLCamera {
public:
    float X = 0, Y = 0, Z = 5;
    float RotX = 0, RotY = 0, RotZ = 0;

    void Create() { *this = TGLCamera{}; }
    void SetX(float x) { X = x; }
    void SetY(float y) { Y = y; }
    void SetZ(float z) { Z = z; }
    // Selects the projection matrix and moves it by the camera.
    void Apply() const;
};

} // namespace morvane
