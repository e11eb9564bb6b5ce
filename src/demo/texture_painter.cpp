#include "demo/texture_painter.h"

#include "demo/demo_palette.h"

#include <algorithm>
#include <cmath>

namespace morvane::demo {

namespace {

constexpr double Pi = 3.14159265358979323846;

uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double Unit(int x, int y, uint32_t seed) {
    return (Hash(x, y, seed) & 0xFFFFFF) / double(0x1000000);
}

int Wrap(int value, int period) {
    return ((value % period) + period) % period;
}

// Value noise over a lattice of cellsX x cellsY that wraps, so the result tiles; u, v in 0..1.
double ValueNoise(double u, double v, int cellsX, int cellsY, uint32_t seed) {
    double fx = u * cellsX, fy = v * cellsY;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    double tx = fx - x0, ty = fy - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int x, int y) { return Unit(Wrap(x, cellsX), Wrap(y, cellsY), seed); };
    double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
    double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
    return a + (b - a) * ty;
}

// Fractal noise in 0..1.
double Fbm(double u, double v, int cellsX, int cellsY, uint32_t seed, int octaves = 4) {
    double sum = 0, amplitude = 0.5, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * ValueNoise(u, v, cellsX << o, cellsY << o, seed + 101u * o);
        total += amplitude;
        amplitude *= 0.5;
    }
    return sum / total;
}

// Distances to the nearest and second-nearest of jittered points on a wrapping grid.
struct CellDistance {
    double nearest, second;
    int cellX, cellY;
};

CellDistance Cells(double px, double py, int width, int height, int cell, uint32_t seed) {
    int cellsX = std::max(1, width / cell), cellsY = std::max(1, height / cell);
    double cw = double(width) / cellsX, ch = double(height) / cellsY;
    int cx = static_cast<int>(px / cw), cy = static_cast<int>(py / ch);
    CellDistance result{1e9, 1e9, 0, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            int gx = cx + dx, gy = cy + dy;
            int wx = Wrap(gx, cellsX), wy = Wrap(gy, cellsY);
            double sx = (gx + 0.2 + 0.6 * Unit(wx, wy, seed)) * cw;
            double sy = (gy + 0.2 + 0.6 * Unit(wx, wy, seed + 7)) * ch;
            double d = std::hypot(px - sx, py - sy);
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
                result.cellX = wx;
                result.cellY = wy;
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

// One painter: the palette index of pixel (x, y) of a width x height material.
class Painter {
public:
    Painter(int width, int height, uint32_t seed) : w(width), h(height), seed(seed) {}

    double U(int x) const { return (x + 0.5) / w; }
    double V(int y) const { return (y + 0.5) / h; }
    double Noise(int x, int y, int cells, uint32_t salt = 0) const {
        return Fbm(U(x), V(y), std::max(1, cells * w / 64), std::max(1, cells * h / 64),
                   seed + salt);
    }
    double Grain(int x, int y) const { return Unit(x, y, seed + 999) - 0.5; }

    uint8_t Bricks(int x, int y, Ramp ramp) const {
        int brickH = h >= 32 ? 16 : std::max(4, h / 2);
        int brickW = 32;
        int row = y / brickH;
        int bx = Wrap(x + (row % 2) * brickW / 2, w) % brickW;
        int by = y % brickH;
        int column = Wrap(x + (row % 2) * brickW / 2, w) / brickW;
        if (bx < 2 || by < 2) {
            return Shade(Grey, 6 + Round(2 * Noise(x, y, 8)));
        }
        double shade = 5 + 5 * Noise(x, y, 8) + 3 * Unit(row, column, seed + 3) + Grain(x, y);
        if (bx == 2 || by == 2) {
            shade += 2;
        }
        if (bx == brickW - 1 || by == brickH - 1) {
            shade -= 2;
        }
        return Shade(ramp, Round(shade));
    }

    uint8_t Blocks(int x, int y, Ramp ramp, int size) const {
        int bw = std::min(size, w), bh = std::min(size, h);
        int bx = x % bw, by = y % bh;
        int block = (x / bw) * 7 + (y / bh);
        if (bx == 0 || by == 0) {
            return Shade(Grey, 2);
        }
        double shade = 6 + 5 * Noise(x, y, 6) + 2 * Unit(block, 0, seed + 5) + Grain(x, y);
        if (bx <= 2 || by <= 2) {
            shade += 3;
        } else if (bx >= bw - 2 || by >= bh - 2) {
            shade -= 3;
        }
        return Shade(ramp, Round(shade));
    }

    uint8_t Cobbles(int x, int y) const {
        CellDistance c = Cells(x + 0.5, y + 0.5, w, h, 16, seed);
        if (c.second - c.nearest < 2.0) {
            return Shade(Earth, 3);
        }
        double shade = 12 - 6 * c.nearest / 12 + 2 * Noise(x, y, 8) + Grain(x, y);
        Ramp ramp = Unit(c.cellX, c.cellY, seed + 11) < 0.3 ? Sandstone : Grey;
        return Shade(ramp, Round(shade));
    }

    uint8_t Planks(int x, int y) const {
        int plankW = 16;
        int plank = x / plankW, px = x % plankW;
        if (px == 0) {
            return Shade(Wood, 1);
        }
        double grain =
            std::sin(V(y) * 2 * Pi * 3 + 6 * Noise(x, y, 4, plank) + plank * 1.7 + px * 0.35);
        double shade = 8 + 2.5 * grain + 2 * Unit(plank, 0, seed) + Grain(x, y);
        if (px == 1) {
            shade += 2;
        } else if (px == plankW - 1) {
            shade -= 2;
        }
        return Shade(Wood, Round(shade));
    }

    uint8_t Turf(int x, int y) const {
        double shade = 4 + 7 * Noise(x, y, 8) + 2 * Grain(x, y);
        if (Unit(x, y, seed + 17) > 0.92) {
            shade += 4;
        }
        return Shade(Unit(x / 8, y / 8, seed + 2) < 0.15 ? Moss : Grass, Round(shade));
    }

    uint8_t Dirt(int x, int y) const {
        if (Unit(x / 3, y / 3, seed + 23) > 0.96) {
            return Shade(Grey, 7 + Round(3 * Grain(x, y)));
        }
        return Shade(Earth, Round(4 + 7 * Noise(x, y, 6) + 2 * Grain(x, y)));
    }

    uint8_t Sand(int x, int y) const {
        double ripple = std::sin(V(y) * 2 * Pi * 6 + 4 * Noise(x, y, 3));
        return Shade(Sandstone, Round(10 + 1.5 * ripple + 2 * Noise(x, y, 12) + 1.5 * Grain(x, y)));
    }

    uint8_t WaterSurface(int x, int y) const {
        double wave = std::sin(U(x) * 2 * Pi * 2 + std::sin(V(y) * 2 * Pi * 3) * 1.5);
        double shade = 7 + 2.5 * wave + 3 * Noise(x, y, 6);
        if (wave > 0.92) {
            shade += 4;
        }
        return Shade(Water, Round(shade));
    }

    uint8_t Metal(int x, int y) const {
        if (x < 2 || y < 2) {
            return Shade(Slate, 13);
        }
        if (x >= w - 2 || y >= h - 2) {
            return Shade(Slate, 3);
        }
        for (int cx : {5, w - 6}) {
            for (int cy : {5, h - 6}) {
                double d = std::hypot(x - cx, y - cy);
                if (d < 2.5) {
                    return Shade(Slate, d < 1.2 ? 15 : 5);
                }
            }
        }
        bool ridge = Wrap(x + y, 8) == 0 || Wrap(x - y, 8) == 0;
        return Shade(Slate, Round(8 + (ridge ? 3 : 0) + 2 * Noise(x, y, 6) + Grain(x, y)));
    }

    uint8_t Tiles(int x, int y) const {
        int size = std::min(16, h);
        if (x % size == 0 || y % size == 0) {
            return Shade(Grey, 4);
        }
        bool light = ((x / size) + (y / size)) % 2 == 0;
        double shade = (light ? 12 : 7) + 2 * Noise(x, y, 8) + Grain(x, y);
        return Shade(light ? Marble : Tile, Round(shade));
    }

    uint8_t MarbleVeins(int x, int y) const {
        double t = std::sin((U(x) + V(y)) * 2 * Pi * 2 + 8 * Noise(x, y, 4));
        double shade = 12 + 3 * Noise(x, y, 8) + Grain(x, y);
        if (std::abs(t) < 0.12) {
            shade -= 6;
        }
        return Shade(Marble, Round(shade));
    }

    uint8_t Mossy(int x, int y) const {
        if (Noise(x, y, 4, 77) > 0.58) {
            return Shade(Moss, Round(5 + 7 * Noise(x, y, 16, 78) + Grain(x, y)));
        }
        return Blocks(x, y, Grey, 32);
    }

    uint8_t LavaCrust(int x, int y) const {
        CellDistance c = Cells(x + 0.5, y + 0.5, w, h, 16, seed);
        double edge = c.second - c.nearest;
        if (edge < 3.0) {
            return Shade(Lava, Round(15 - 2 * edge + Grain(x, y)));
        }
        return Shade(Rust, Round(2 + 3 * Noise(x, y, 8) + Grain(x, y)));
    }

    uint8_t IceSheet(int x, int y) const {
        CellDistance c = Cells(x + 0.5, y + 0.5, w, h, 32, seed);
        if (c.second - c.nearest < 1.0) {
            return Shade(Ice, 15);
        }
        return Shade(Ice, Round(9 + 4 * Noise(x, y, 4) + Grain(x, y)));
    }

    uint8_t Panel(int x, int y) const {
        int border = std::max(2, std::min(w, h) / 12);
        if (x < border || y < border) {
            return Shade(Gold, 14);
        }
        if (x >= w - border || y >= h - border) {
            return Shade(Gold, 5);
        }
        double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
        double diamond = std::abs(x - cx) / w + std::abs(y - cy) / h;
        double shade = 9 + 2 * Noise(x, y, 8);
        if (std::abs(diamond - 0.3) < 0.03) {
            shade += 5;
        } else if (std::abs(diamond - 0.34) < 0.02) {
            shade -= 4;
        }
        return Shade(Gold, Round(shade));
    }

    uint8_t CrateBoards(int x, int y) const {
        int frame = std::max(3, std::min(w, h) / 10);
        bool onFrame = x < frame || y < frame || x >= w - frame || y >= h - frame;
        double diagonal = std::abs(double(x) / w - double(y) / h) * std::min(w, h);
        if (onFrame || diagonal < frame * 0.8) {
            double shade = 10 + 2 * Noise(x, y, 8) + Grain(x, y);
            if (x == 0 || y == 0) {
                shade += 3;
            }
            return Shade(Wood, Round(shade));
        }
        return Shade(Wood,
                     Round(5 + 2 * std::sin(V(y) * 2 * Pi * 8 + 3 * Noise(x, y, 4)) + Grain(x, y)));
    }

    uint8_t Pixel(Material material, int x, int y) const {
        switch (material) {
        case Material::Bricks:
            return Bricks(x, y, Brick);
        case Material::StoneBlocks:
            return Blocks(x, y, Slate, 32);
        case Material::Cobbles:
            return Cobbles(x, y);
        case Material::WoodPlanks:
            return Planks(x, y);
        case Material::Grass:
            return Turf(x, y);
        case Material::Dirt:
            return Dirt(x, y);
        case Material::Sand:
            return Sand(x, y);
        case Material::Water:
            return WaterSurface(x, y);
        case Material::MetalPlate:
            return Metal(x, y);
        case Material::FloorTiles:
            return Tiles(x, y);
        case Material::Marble:
            return MarbleVeins(x, y);
        case Material::MossyStone:
            return Mossy(x, y);
        case Material::Lava:
            return LavaCrust(x, y);
        case Material::Ice:
            return IceSheet(x, y);
        case Material::GoldPanel:
            return Panel(x, y);
        case Material::Crate:
            return CrateBoards(x, y);
        }
        return 0;
    }

private:
    int w, h;
    uint32_t seed;
};

} // namespace

void PaintMaterial(uint8_t* pages, int x, int y, int width, int height, Material material,
                   uint32_t seed) {
    Painter painter(width, height, seed);
    for (int row = 0; row < height; ++row) {
        uint8_t* line = pages + static_cast<std::size_t>(y + row) * 256 + x;
        for (int column = 0; column < width; ++column) {
            uint8_t index = painter.Pixel(material, column, row);
            line[column] = index == 0 ? 1 : index; // keep 0 for transparency
        }
    }
}

} // namespace morvane::demo
