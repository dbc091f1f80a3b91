// The painters of the procedural textures. Each paints one Canvas from periodic noise, so the
// textures tile; sizes are powers of two from 64 to 256.
#include "sample/texture_painters.h"

#include <algorithm>
#include <cmath>

#include "math/types.h"

#include "sample/noise.h"

namespace brontal::sample {

namespace {

// Tileable fractal noise at `cells` lattice cells across the texture.
float Tile(float u, float v, int cells, int octaves, std::uint32_t seed) {
    return Fractal2(u * static_cast<float>(cells), v * static_cast<float>(cells), octaves, seed, cells);
}

// Distance to the nearest edge of the unit cell a point lies in, in cell units.
float EdgeDistance(float x, float y) {
    const float fx = x - std::floor(x), fy = y - std::floor(y);
    return std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy));
}

}  // namespace

Image PaintStoneTiles(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float gx = u * 4.0f, gy = v * 4.0f;
        const bool dark = (static_cast<int>(gx) + static_cast<int>(gy)) % 2 == 1;
        const float vein = Tile(u, v, 8, 5, 11);
        Colour base = dark ? Colour{0.42f, 0.36f, 0.32f} : Colour{0.86f, 0.82f, 0.74f};
        base = Scale(base, 0.8f + 0.35f * vein);
        const float grout = SmoothStep(0.015f, 0.04f, EdgeDistance(gx, gy));
        c.Set(x, y, Lerp(Colour{0.25f, 0.23f, 0.2f}, base, grout));
    });
    return c.Take();
}

Image PaintBricks(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float rows = 8.0f, cols = 4.0f;
        const float ry = v * rows;
        const int row = static_cast<int>(ry);
        const float rx = u * cols + (row % 2 == 1 ? 0.5f : 0.0f);
        const int col = static_cast<int>(std::floor(rx));
        const float fx = rx - std::floor(rx), fy = ry - static_cast<float>(row);
        const float mortar = SmoothStep(0.02f, 0.07f, std::min(std::min(fx, 1.0f - fx) * 0.5f, std::min(fy, 1.0f - fy)));
        const float tint = HashUnit(col % 4, row, 0, 23);
        const float grain = Tile(u, v, 16, 3, 29);
        const Colour brick = Scale(Lerp(Colour{0.55f, 0.22f, 0.15f}, Colour{0.72f, 0.36f, 0.22f}, tint), 0.75f + 0.4f * grain);
        c.Set(x, y, Lerp(Colour{0.7f, 0.68f, 0.62f}, brick, mortar));
    });
    return c.Take();
}

Image PaintPlanks(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float boards = 4.0f;
        const int board = static_cast<int>(u * boards);
        const float fx = u * boards - static_cast<float>(board);
        const float tint = HashUnit(board, 0, 0, 31);
        const float grain = Fractal2(u * 64.0f, v * 4.0f, 4, 37, 0);
        const float rings = 0.5f + 0.5f * std::sin((v * 6.0f + grain * 3.0f + tint * 5.0f) * 2.0f * kPi);
        Colour wood = Lerp(Colour{0.45f, 0.28f, 0.14f}, Colour{0.66f, 0.45f, 0.24f}, 0.4f * tint + 0.6f * rings * grain);
        const float gap = SmoothStep(0.0f, 0.05f, std::min(fx, 1.0f - fx));
        c.Set(x, y, Lerp(Colour{0.15f, 0.09f, 0.05f}, wood, gap));
    });
    return c.Take();
}

Image PaintPlaster(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float n = Tile(u, v, 8, 5, 41);
        c.Set(x, y, Scale(Colour{0.86f, 0.78f, 0.64f}, 0.82f + 0.25f * n));
    });
    return c.Take();
}

Image PaintCeiling(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float e = EdgeDistance(u * 2.0f, v * 2.0f);
        const float n = Tile(u, v, 4, 3, 43);
        const Colour panel = Scale(Colour{0.78f, 0.74f, 0.66f}, 0.85f + 0.2f * n);
        const Colour beam = Scale(Colour{0.38f, 0.25f, 0.14f}, 0.85f + 0.2f * n);
        c.Set(x, y, Lerp(beam, panel, SmoothStep(0.08f, 0.12f, e)));
    });
    return c.Take();
}

Image PaintRug(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float cx = std::abs(u - 0.5f) * 2.0f, cy = std::abs(v - 0.5f) * 2.0f;
        const float border = std::max(cx, cy);
        const float diamond = cx + cy;
        const float weave = 0.9f + 0.1f * static_cast<float>((x + y) % 2);
        Colour col{0.55f, 0.08f, 0.1f};
        if (border > 0.86f) col = Colour{0.2f, 0.12f, 0.35f};
        else if (border > 0.8f) col = Colour{0.85f, 0.68f, 0.3f};
        else if (std::fmod(diamond * 4.0f, 1.0f) < 0.18f) col = Colour{0.85f, 0.68f, 0.3f};
        else if (diamond < 0.35f) col = Colour{0.12f, 0.25f, 0.45f};
        c.Set(x, y, Scale(col, weave));
    });
    return c.Take();
}

Image PaintFence(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        // Wrought-iron bars with two rails and a ring between bars; everything else is cut out.
        const float bx = std::abs(std::fmod(u * 4.0f, 1.0f) - 0.5f);
        const bool bar = bx < 0.06f;
        const bool rail = std::abs(v - 0.12f) < 0.025f || std::abs(v - 0.85f) < 0.025f;
        const float rx = std::fmod(u * 4.0f + 0.5f, 1.0f) - 0.5f, ry = (v - 0.5f) * 4.0f;
        const float ring = std::abs(std::sqrt(rx * rx * 16.0f + ry * ry) - 0.8f);
        const bool curl = ring < 0.15f;
        const float sheen = 0.8f + 0.4f * (0.06f - std::min(bx, 0.06f)) / 0.06f;
        if (bar || rail || curl) c.Set(x, y, Scale(Colour{0.14f, 0.14f, 0.16f}, sheen), 1.0f);
        else c.Set(x, y, Colour{0.0f, 0.0f, 0.0f}, 0.0f);
    });
    return c.Take();
}

Image PaintFoliage(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        // Leaves: the cells of a jittered grid, each an ellipse; gaps between them are cut out.
        const float cells = 8.0f;
        float best = 10.0f, shade = 0.0f;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int cx = static_cast<int>(u * cells) + dx, cy = static_cast<int>(v * cells) + dy;
                const int wx = (cx + 8) % 8, wy = (cy + 8) % 8;
                const float px = (static_cast<float>(cx) + HashUnit(wx, wy, 0, 53)) / cells;
                const float py = (static_cast<float>(cy) + HashUnit(wx, wy, 1, 53)) / cells;
                const float ex = (u - px) * cells, ey = (v - py) * cells * 1.6f;
                const float d = ex * ex + ey * ey;
                if (d < best) {
                    best = d;
                    shade = HashUnit(wx, wy, 2, 53);
                }
            }
        const Colour leaf = Lerp(Colour{0.12f, 0.35f, 0.08f}, Colour{0.35f, 0.6f, 0.18f}, shade);
        const float vein = 1.0f - 0.3f * SmoothStep(0.25f, 0.0f, best);
        if (best < 0.55f) c.Set(x, y, Scale(leaf, vein), 1.0f);
        else c.Set(x, y, Colour{0.1f, 0.2f, 0.05f}, 0.0f);
    });
    return c.Take();
}

Image PaintGrass(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float coarse = Tile(u, v, 4, 3, 61);
        const float blades = HashUnit(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), 0, 67);
        const Colour g = Lerp(Colour{0.2f, 0.38f, 0.1f}, Colour{0.38f, 0.55f, 0.18f}, coarse);
        c.Set(x, y, Scale(g, 0.8f + 0.35f * blades));
    });
    return c.Take();
}

Image PaintCobbles(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        // Nearest and second-nearest jittered points give rounded stones with dark joints.
        const int cells = 8;
        float d1 = 10.0f, d2 = 10.0f;
        int id = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int cx = static_cast<int>(u * cells) + dx, cy = static_cast<int>(v * cells) + dy;
                const int wx = (cx + cells) % cells, wy = (cy + cells) % cells;
                const float px = (static_cast<float>(cx) + 0.2f + 0.6f * HashUnit(wx, wy, 0, 71)) / cells;
                const float py = (static_cast<float>(cy) + 0.2f + 0.6f * HashUnit(wx, wy, 1, 71)) / cells;
                const float d = std::hypot(u - px, v - py) * cells;
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                    id = wx + wy * cells;
                } else if (d < d2) {
                    d2 = d;
                }
            }
        const float joint = SmoothStep(0.02f, 0.12f, d2 - d1);
        const float tint = HashUnit(id, 0, 0, 73);
        const float grit = Tile(u, v, 32, 2, 79);
        const Colour stone = Scale(Lerp(Colour{0.45f, 0.43f, 0.4f}, Colour{0.62f, 0.58f, 0.5f}, tint), 0.8f + 0.3f * grit);
        c.Set(x, y, Lerp(Colour{0.18f, 0.17f, 0.15f}, Scale(stone, 1.0f - 0.25f * d1), joint));
    });
    return c.Take();
}

Image PaintBooks(std::uint32_t size) {
    Canvas c(size);
    const Colour covers[5] = {{0.5f, 0.1f, 0.1f}, {0.1f, 0.25f, 0.45f}, {0.15f, 0.35f, 0.15f}, {0.45f, 0.35f, 0.1f},
                              {0.3f, 0.15f, 0.35f}};
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        // Two shelves of books per repeat, the shelf boards in wood.
        const float shelf = v * 2.0f;
        const int row = static_cast<int>(shelf);
        const float fy = shelf - static_cast<float>(row);
        if (fy > 0.88f) {
            c.Set(x, y, Scale(Colour{0.4f, 0.25f, 0.12f}, 0.9f + 0.1f * Tile(u, v, 16, 2, 83)));
            return;
        }
        const float spine = u * 16.0f;
        const int book = static_cast<int>(spine);
        const float fx = spine - static_cast<float>(book);
        const float height = 0.55f + 0.3f * HashUnit(book, row, 0, 89);
        if (1.0f - fy / 0.88f > height) {
            c.Set(x, y, Colour{0.08f, 0.05f, 0.03f});
            return;
        }
        Colour col = covers[Hash(book, row, 0, 97) % 5];
        if (std::abs(fy - 0.6f) < 0.03f || std::abs(fy - 0.7f) < 0.015f) col = Colour{0.8f, 0.65f, 0.25f};
        c.Set(x, y, Scale(col, 0.75f + 0.25f * std::sin(fx * kPi)));
    });
    return c.Take();
}

Image PaintCrate(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
        const bool frame = edge < 0.12f || std::abs(u - v) < 0.07f;
        const float grain = Fractal2(u * 32.0f, v * 3.0f, 3, 101, 0);
        Colour wood = Scale(Colour{0.62f, 0.45f, 0.25f}, 0.75f + 0.35f * grain);
        if (frame) wood = Scale(wood, 0.75f);
        const float board = std::fmod(v * 4.0f, 1.0f);
        if (!frame && board < 0.05f) wood = Scale(wood, 0.4f);
        c.Set(x, y, wood);
    });
    return c.Take();
}

Image PaintCurtain(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float folds = 0.65f + 0.35f * std::sin(u * 6.0f * 2.0f * kPi);
        const float weave = 0.92f + 0.08f * static_cast<float>((x / 2 + y / 2) % 2);
        const float hem = v > 0.9f ? 1.2f : 1.0f;
        c.Set(x, y, Scale(Colour{0.5f, 0.06f, 0.12f}, folds * weave * hem));
    });
    return c.Take();
}

Image PaintBrass(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float n = Tile(u, v, 4, 4, 107);
        const float band = 0.8f + 0.2f * std::sin(v * 8.0f * 2.0f * kPi);
        c.Set(x, y, Scale(Colour{0.8f, 0.62f, 0.25f}, (0.7f + 0.4f * n) * band));
    });
    return c.Take();
}

Image PaintWater(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float n = Tile(u, v, 8, 4, 109);
        const float ripple = 0.5f + 0.5f * std::sin((n * 4.0f + u * 2.0f) * 2.0f * kPi);
        c.Set(x, y, Lerp(Colour{0.1f, 0.3f, 0.45f}, Colour{0.45f, 0.7f, 0.8f}, ripple * 0.6f));
    });
    return c.Take();
}

Image PaintMarble(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float n = Tile(u, v, 4, 6, 113);
        const float vein = std::abs(std::sin((u + v + n * 2.5f) * 3.0f * kPi));
        const Colour base = Lerp(Colour{0.55f, 0.55f, 0.58f}, Colour{0.93f, 0.92f, 0.9f}, SmoothStep(0.0f, 0.35f, vein));
        c.Set(x, y, base);
    });
    return c.Take();
}

Image PaintPainting(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        // A landscape in a gilt frame: sky, hills, a lake, a sun.
        const float frame = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
        if (frame < 0.07f) {
            c.Set(x, y, Scale(Colour{0.75f, 0.58f, 0.2f}, 0.7f + 0.3f * std::sin(frame * 90.0f)));
            return;
        }
        const float hill = 0.55f + 0.08f * std::sin(u * 9.0f) + 0.05f * Fractal2(u * 8.0f, 0.0f, 3, 127, 0);
        Colour col = Lerp(Colour{0.95f, 0.75f, 0.5f}, Colour{0.35f, 0.5f, 0.8f}, SmoothStep(0.5f, 0.1f, v));
        if (std::hypot(u - 0.7f, v - 0.3f) < 0.08f) col = Colour{1.0f, 0.9f, 0.6f};
        if (v > hill) col = Lerp(Colour{0.25f, 0.45f, 0.2f}, Colour{0.15f, 0.3f, 0.12f}, (v - hill) * 3.0f);
        if (v > 0.8f) col = Lerp(Colour{0.2f, 0.35f, 0.55f}, Colour{0.4f, 0.55f, 0.7f}, Fractal2(u * 16.0f, v * 4.0f, 2, 131, 0));
        c.Set(x, y, col);
    });
    return c.Take();
}

Image PaintBark(std::uint32_t size) {
    Canvas c(size);
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const float ridges = Fractal2(u * 8.0f, v * 2.0f, 4, 137, 8);
        const float crack = SmoothStep(0.3f, 0.5f, ridges);
        c.Set(x, y, Scale(Colour{0.36f, 0.25f, 0.16f}, 0.4f + 0.7f * crack));
    });
    return c.Take();
}

}  // namespace brontal::sample
