#pragma once

#include "view/gl_figure.h"

#include <array>

namespace morvane {

// A 4 x 4 matrix in GL's layout (column after column), so that the view's transforms can be
// computed without a GL context: the same products the paint cycle makes on GL's matrix stacks.
struct Mat4 {
    std::array<double, 16> M = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    double& At(int row, int column) { return M[column * 4 + row]; }
    double At(int row, int column) const { return M[column * 4 + row]; }
};

// a * b: b is applied first, as GL multiplies onto the top of a stack.
Mat4 operator*(const Mat4& a, const Mat4& b);
// The matrix of a point (x, y, z, 1): out = (x, y, z, w) in clip space.
std::array<double, 4> Transform(const Mat4& m, double x, double y, double z);

// The matrices of glTranslate, glScale, glRotate (degrees about an axis), gluPerspective and
// gluPickMatrix (a region of width x height pixels around window point x, y of the viewport).
Mat4 TranslationMatrix(double x, double y, double z);
Mat4 ScalingMatrix(double x, double y, double z);
Mat4 RotationMatrix(double degrees, double x, double y, double z);
Mat4 PerspectiveMatrix(double fieldOfView, double aspect, double nearPlane, double farPlane);
Mat4 PickRegionMatrix(double x, double y, double width, double height,
                      const std::array<int, 4>& viewport);

// Translate, then scale, then rotate about x, y and z: the placement of a figure and of the
// view's own moves, with every value rounded to the 32-bit float that GL is given.
Mat4 PlacementMatrix(const Vec3& translate, const Vec3& scale, const Vec3& rotate);

} // namespace morvane
