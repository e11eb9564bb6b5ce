#pragma once

#include "view/view_matrix.h"

#include <cstdint>

namespace morvane {

// Finds what lies under a pick region the way GL's selection mode does, from the primitives
// themselves: each triangle (a quad is the triangles 0-1-3 and 1-2-3, as GL splits it) and
// each line is clipped to the region's volume; filled triangles whose clipped part faces away
// (front faces are clockwise on the screen) or has no area are dropped; a primitive that keeps
// a part is a hit at the smallest window depth of that part, stored as GL stores it (the 0..1
// depth times 2^32 as a 32-bit float, then as an unsigned integer). The smallest depth wins and
// the earliest primitive wins a tie, as the earliest hit record does.
class SelectionPick {
public:
    // clipFromObject: the whole transform from the primitives' coordinates to clip space, the
    // pick region's matrix included (it maps the region onto -1..1).
    explicit SelectionPick(const Mat4& clipFromObject) : clip_(clipFromObject) {}

    void Triangle(const float (&a)[3], const float (&b)[3], const float (&c)[3], int32_t name);
    void Quad(const float (&corners)[4][3], int32_t name);
    void Line(const float (&a)[3], const float (&b)[3], int32_t name);

    bool Hit() const { return hit_; }
    // The name of the nearest hit, 0 when nothing was hit.
    int32_t Name() const { return hit_ ? name_ : 0; }
    uint32_t Depth() const { return depth_; }

private:
    using ClipPoint = std::array<double, 4>;
    void ClippedTriangle(const ClipPoint& a, const ClipPoint& b, const ClipPoint& c, int32_t name);
    void Offer(double windowDepth, int32_t name);

    Mat4 clip_;
    bool hit_ = false;
    int32_t name_ = 0;
    uint32_t depth_ = 0;
};

// GL's stored form of a window depth (0..1) in a hit record.
uint32_t SelectionDepth(double windowDepth);

} // namespace morvane
