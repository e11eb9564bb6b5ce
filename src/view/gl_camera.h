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

// The camera's nearest and farthest place from the view's centre plane (z = 0) that a zoom
// leaves it at: in front of the scene and well inside the far plane.
inline constexpr float NearestCameraZ = 0.5f;
inline constexpr float FarthestCameraZ = 80.0f;

// Moves the camera along the line of sight through pixel (x, y) (y downward) of a view of
// width x height pixels seen with the view's projection, by `fraction` of its distance to the
// plane z = 0 (toward it when positive, away when negative), held between NearestCameraZ and
// FarthestCameraZ. The camera turns no way, so every point on that line stays under the pixel.
void ZoomCameraTowards(TGLCamera& camera, double x, double y, int width, int height,
                       double fraction);

} // namespace morvane
