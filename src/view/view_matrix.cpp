#include "view/view_matrix.h"

#include <cmath>
#include <numbers>

namespace morvane {

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a.At(row, k) * b.At(k, column);
            }
            product.At(row, column) = sum;
        }
    }
    return product;
}

std::array<double, 4> Transform(const Mat4& m, double x, double y, double z) {
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = m.At(row, 0) * x + m.At(row, 1) * y + m.At(row, 2) * z + m.At(row, 3);
    }
    return out;
}

Mat4 TranslationMatrix(double x, double y, double z) {
    Mat4 m;
    m.At(0, 3) = x;
    m.At(1, 3) = y;
    m.At(2, 3) = z;
    return m;
}

Mat4 ScalingMatrix(double x, double y, double z) {
    Mat4 m;
    m.At(0, 0) = x;
    m.At(1, 1) = y;
    m.At(2, 2) = z;
    return m;
}

Mat4 RotationMatrix(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) {
        return {};
    }
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * std::numbers::pi / 180;
    const double s = std::sin(radians), c = std::cos(radians), t = 1 - c;
    Mat4 m;
    m.At(0, 0) = x * x * t + c;
    m.At(0, 1) = x * y * t - z * s;
    m.At(0, 2) = x * z * t + y * s;
    m.At(1, 0) = y * x * t + z * s;
    m.At(1, 1) = y * y * t + c;
    m.At(1, 2) = y * z * t - x * s;
    m.At(2, 0) = x * z * t - y * s;
    m.At(2, 1) = y * z * t + x * s;
    m.At(2, 2) = z * z * t + c;
    return m;
}

Mat4 PerspectiveMatrix(double fieldOfView, double aspect, double nearPlane, double farPlane) {
    const double radians = fieldOfView / 2 * std::numbers::pi / 180;
    const double depth = farPlane - nearPlane;
    const double cotangent = std::cos(radians) / std::sin(radians);
    Mat4 m;
    m.At(0, 0) = cotangent / aspect;
    m.At(1, 1) = cotangent;
    m.At(2, 2) = -(farPlane + nearPlane) / depth;
    m.At(3, 2) = -1;
    m.At(2, 3) = -2 * nearPlane * farPlane / depth;
    m.At(3, 3) = 0;
    return m;
}

Mat4 PickRegionMatrix(double x, double y, double width, double height,
                      const std::array<int, 4>& viewport) {
    // As GLU makes it: a translation and a scale given to GL as 32-bit floats.
    const auto f = [](double value) { return double(static_cast<float>(value)); };
    return TranslationMatrix(f((viewport[2] - 2 * (x - viewport[0])) / width),
                             f((viewport[3] - 2 * (y - viewport[1])) / height), 0) *
           ScalingMatrix(f(viewport[2] / width), f(viewport[3] / height), 1);
}

Mat4 PlacementMatrix(const Vec3& translate, const Vec3& scale, const Vec3& rotate) {
    const auto f = [](double value) { return double(static_cast<float>(value)); };
    return TranslationMatrix(f(translate.X), f(translate.Y), f(translate.Z)) *
           ScalingMatrix(f(scale.X), f(scale.Y), f(scale.Z)) *
           RotationMatrix(f(rotate.X), 1, 0, 0) * RotationMatrix(f(rotate.Y), 0, 1, 0) *
           RotationMatrix(f(rotate.Z), 0, 0, 1);
}

} // namespace morvane
