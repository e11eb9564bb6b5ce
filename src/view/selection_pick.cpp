#include "view/selection_pick.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morvane {

namespace {

using ClipPoint = std::array<double, 4>;

// The six planes of the clip volume, as the signed distance of a point inside (>= 0).
double PlaneDistance(const ClipPoint& p, int plane) {
    const double w = p[3], v = p[plane / 2];
    return plane % 2 == 0 ? w + v : w - v;
}

// A triangle clipped to the volume has at most 3 + 6 corners.
struct ClipPolygon {
    ClipPoint Points[9];
    int Count = 0;
};

ClipPolygon ClipToVolume(const ClipPolygon& input) {
    ClipPolygon polygon = input;
    for (int plane = 0; plane < 6 && polygon.Count > 0; ++plane) {
        ClipPolygon kept;
        for (int i = 0; i < polygon.Count; ++i) {
            const ClipPoint& a = polygon.Points[i];
            const ClipPoint& b = polygon.Points[(i + 1) % polygon.Count];
            const double da = PlaneDistance(a, plane), db = PlaneDistance(b, plane);
            if (da >= 0) {
                kept.Points[kept.Count++] = a;
            }
            if ((da >= 0) != (db >= 0)) {
                const double t = da / (da - db);
                ClipPoint& cut = kept.Points[kept.Count++];
                for (int k = 0; k < 4; ++k) {
                    cut[k] = a[k] + t * (b[k] - a[k]);
                }
            }
        }
        polygon = kept;
    }
    return polygon;
}

double WindowDepth(const ClipPoint& p) {
    return p[2] / p[3] * 0.5 + 0.5;
}

ClipPoint ToClip(const Mat4& m, const float (&v)[3]) {
    return Transform(m, v[0], v[1], v[2]);
}

} // namespace

uint32_t SelectionDepth(double windowDepth) {
    const float scaled = 4294967296.0f * static_cast<float>(windowDepth);
    if (!(scaled > 0)) {
        return 0;
    }
    if (scaled >= 4294967296.0f) {
        return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(scaled);
}

void SelectionPick::Offer(double windowDepth, int32_t name) {
    const uint32_t depth = SelectionDepth(windowDepth);
    if (!hit_ || depth < depth_) {
        hit_ = true;
        depth_ = depth;
        name_ = name;
    }
}

namespace {

// Whether a triangle has no area in its own coordinates (it then covers nothing).
bool Degenerate(const float (&a)[3], const float (&b)[3], const float (&c)[3]) {
    const double e[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    const double f[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    return e[1] * f[2] - e[2] * f[1] == 0 && e[2] * f[0] - e[0] * f[2] == 0 &&
           e[0] * f[1] - e[1] * f[0] == 0;
}

// Whether every point lies outside one and the same side of the clip volume.
template <std::size_t N> bool OutsideOneSide(const ClipPoint* const (&points)[N]) {
    for (int plane = 0; plane < 6; ++plane) {
        bool outside = true;
        for (const ClipPoint* p : points) {
            outside = outside && PlaneDistance(*p, plane) < 0;
        }
        if (outside) {
            return true;
        }
    }
    return false;
}

} // namespace

void SelectionPick::ClippedTriangle(const ClipPoint& a, const ClipPoint& b, const ClipPoint& c,
                                    int32_t name) {
    if (OutsideOneSide({&a, &b, &c})) {
        return;
    }
    ClipPolygon polygon;
    polygon.Points[0] = a;
    polygon.Points[1] = b;
    polygon.Points[2] = c;
    polygon.Count = 3;
    polygon = ClipToVolume(polygon);
    if (polygon.Count < 3) {
        return;
    }
    // Twice the signed area on the screen (y upward): positive is counter-clockwise, a back face.
    double area = 0;
    for (int i = 0; i < polygon.Count; ++i) {
        const ClipPoint& p = polygon.Points[i];
        const ClipPoint& q = polygon.Points[(i + 1) % polygon.Count];
        area += p[0] / p[3] * (q[1] / q[3]) - q[0] / q[3] * (p[1] / p[3]);
    }
    if (!(area < 0)) {
        return;
    }
    double nearest = WindowDepth(polygon.Points[0]);
    for (int i = 1; i < polygon.Count; ++i) {
        nearest = std::min(nearest, WindowDepth(polygon.Points[i]));
    }
    Offer(nearest, name);
}

void SelectionPick::Triangle(const float (&a)[3], const float (&b)[3], const float (&c)[3],
                             int32_t name) {
    if (!Degenerate(a, b, c)) {
        ClippedTriangle(ToClip(clip_, a), ToClip(clip_, b), ToClip(clip_, c), name);
    }
}

void SelectionPick::Quad(const float (&corners)[4][3], int32_t name) {
    const ClipPoint p[4] = {ToClip(clip_, corners[0]), ToClip(clip_, corners[1]),
                            ToClip(clip_, corners[2]), ToClip(clip_, corners[3])};
    if (OutsideOneSide({&p[0], &p[1], &p[2], &p[3]})) {
        return; // the usual case: the quad lies away from the region
    }
    if (!Degenerate(corners[0], corners[1], corners[3])) {
        ClippedTriangle(p[0], p[1], p[3], name);
    }
    if (!Degenerate(corners[1], corners[2], corners[3])) {
        ClippedTriangle(p[1], p[2], p[3], name);
    }
}

void SelectionPick::Line(const float (&a)[3], const float (&b)[3], int32_t name) {
    const ClipPoint p = ToClip(clip_, a), q = ToClip(clip_, b);
    double from = 0, to = 1;
    for (int plane = 0; plane < 6; ++plane) {
        const double dp = PlaneDistance(p, plane), dq = PlaneDistance(q, plane);
        if (dp < 0 && dq < 0) {
            return;
        }
        if (dp < 0) {
            from = std::max(from, dp / (dp - dq));
        } else if (dq < 0) {
            to = std::min(to, dp / (dp - dq));
        }
    }
    if (from > to) {
        return;
    }
    auto at = [&](double t) {
        ClipPoint point;
        for (int k = 0; k < 4; ++k) {
            point[k] = p[k] + t * (q[k] - p[k]);
        }
        return WindowDepth(point);
    };
    Offer(std::min(at(from), at(to)), name);
}

} // namespace morvane
