#include "view/gl_camera.h"
#include "view/gl_viewport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace morvane {
namespace {

struct Pixel {
    double X, Y;
};

// Where a world point shows with the camera, by the projection's own formula (a camera that
// only moves, looking down -z).
Pixel Project(const TGLCamera& camera, double x, double y, double z, int width, int height) {
    const double f = 1 / std::tan(FieldOfView / 2 * std::numbers::pi / 180);
    const double aspect = double(width) / height;
    const double ex = x - camera.X, ey = y - camera.Y, ez = z - camera.Z;
    const double nx = f / aspect * ex / -ez, ny = f * ey / -ez;
    return {(nx + 1) / 2 * width, (1 - ny) / 2 * height};
}

TEST(WheelZoom, ThePointUnderThePointerStaysUnderItAndComesNearer) {
    const int width = 800, height = 600;
    for (const Pixel pointer : {Pixel{400, 300}, Pixel{100, 500}, Pixel{790, 20}}) {
        SCOPED_TRACE(std::to_string(pointer.X) + ", " + std::to_string(pointer.Y));
        TGLCamera camera;
        camera.SetX(1.5f);
        camera.SetY(-0.5f);
        camera.SetZ(12);
        // The point of the plane z = 0 under the pointer.
        const double f = std::tan(FieldOfView / 2 * std::numbers::pi / 180);
        const double px = camera.X + (2 * pointer.X / width - 1) * f * width / height * camera.Z;
        const double py = camera.Y + (1 - 2 * pointer.Y / height) * f * camera.Z;
        const Pixel before = Project(camera, px, py, 0, width, height);
        ASSERT_NEAR(before.X, pointer.X, 1e-3);
        ASSERT_NEAR(before.Y, pointer.Y, 1e-3);

        ZoomCameraTowards(camera, pointer.X, pointer.Y, width, height, 0.25);
        EXPECT_NEAR(camera.Z, 9, 1e-5) << "a quarter of the way to the plane";
        const Pixel in = Project(camera, px, py, 0, width, height);
        EXPECT_NEAR(in.X, pointer.X, 1e-2);
        EXPECT_NEAR(in.Y, pointer.Y, 1e-2);
        // A point off the plane, on the same line of sight, stays too.
        const Pixel deeper =
            Project(camera, camera.X + (px - camera.X) * 1.5, camera.Y + (py - camera.Y) * 1.5,
                    camera.Z - camera.Z * 1.5, width, height);
        EXPECT_NEAR(deeper.X, pointer.X, 1e-2);

        ZoomCameraTowards(camera, pointer.X, pointer.Y, width, height, -1.0 / 3);
        EXPECT_NEAR(camera.Z, 12, 1e-5) << "back out by a third of 9";
        const Pixel out = Project(camera, px, py, 0, width, height);
        EXPECT_NEAR(out.X, pointer.X, 1e-2);
        EXPECT_NEAR(out.Y, pointer.Y, 1e-2);
    }
}

TEST(WheelZoom, TheCameraStaysBetweenItsNearestAndFarthestPlace) {
    TGLCamera camera;
    camera.SetZ(1);
    ZoomCameraTowards(camera, 10, 10, 800, 600, 0.9);
    EXPECT_FLOAT_EQ(camera.Z, NearestCameraZ);
    const float x = camera.X;
    ZoomCameraTowards(camera, 10, 10, 800, 600, 0.5);
    EXPECT_FLOAT_EQ(camera.Z, NearestCameraZ) << "no nearer";
    EXPECT_FLOAT_EQ(camera.X, x) << "and no sideways move either";
    camera.SetZ(70);
    ZoomCameraTowards(camera, 400, 300, 800, 600, -1);
    EXPECT_FLOAT_EQ(camera.Z, FarthestCameraZ);
    ZoomCameraTowards(camera, 400, 300, 0, 600, 0.5);
    EXPECT_FLOAT_EQ(camera.Z, FarthestCameraZ) << "a view of no size moves nothing";
}

} // namespace
} // namespace morvane
