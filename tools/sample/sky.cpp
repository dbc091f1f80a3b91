#include "sample/sky.h"

#include <cmath>

#include "render/sky_box.h"
#include "sample/noise.h"
#include "sample/texture_canvas.h"

namespace brontal::sample {

namespace {

// Texture coordinates the sky box gives its corners: e and 1 - e.
constexpr float kInset = kSkyTextureInset;

struct FaceCorners {
    Vector3 topLeft, bottomLeft, topRight, bottomRight;  // vertices 0, 1, 2, 3 of the face's strip
};

// The faces as the sky box draws them, at half size 1. The bottom face is never drawn; it is
// laid out as the floor seen from inside, north (+z) at its top.
FaceCorners CornersOf(SkyFace face) {
    Texture* SkyBox::*texture = nullptr;
    switch (face) {
        case SkyFace::Front: texture = &SkyBox::front; break;
        case SkyFace::Back: texture = &SkyBox::back; break;
        case SkyFace::Top: texture = &SkyBox::top; break;
        case SkyFace::Right: texture = &SkyBox::right; break;
        case SkyFace::Left: texture = &SkyBox::left; break;
        case SkyFace::Bottom: return {{-1, -1, 1}, {-1, -1, -1}, {1, -1, 1}, {1, -1, -1}};
    }
    for (const SkyBoxFace& drawn : kSkyBoxFaces) {
        if (drawn.texture != texture) continue;
        const auto at = [&](int i) { return Vector3{drawn.corner[i][0], drawn.corner[i][1], drawn.corner[i][2]}; };
        return {at(0), at(1), at(2), at(3)};
    }
    return {};
}

Vector3 LerpV(const Vector3& a, const Vector3& b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

Vector3 Normalised(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f ? Vector3{v.x / length, v.y / length, v.z / length} : Vector3{0, 1, 0};
}

const Vector3 kSunDirection = Normalised({-0.35f, 0.42f, 0.84f});

}  // namespace

const char* SkyFaceFileName(SkyFace face) {
    switch (face) {
    case SkyFace::Left: return "Left.bmp";
    case SkyFace::Right: return "Right.bmp";
    case SkyFace::Top: return "Top.bmp";
    case SkyFace::Bottom: return "Bottom.bmp";
    case SkyFace::Front: return "Front.bmp";
    case SkyFace::Back: return "Back.bmp";
    }
    return "";
}

Vector3 SkyFacePoint(SkyFace face, float u, float v) {
    const FaceCorners c = CornersOf(face);
    const float s = (u - kInset) / (1.0f - 2.0f * kInset);
    const float t = (v - kInset) / (1.0f - 2.0f * kInset);
    return LerpV(LerpV(c.topLeft, c.topRight, s), LerpV(c.bottomLeft, c.bottomRight, s), t);
}

Vector3 SkyColour(const Vector3& direction) {
    const Vector3 d = Normalised(direction);
    Colour col;
    if (d.y >= 0.0f) {
        col = Lerp(Colour{0.8f, 0.86f, 0.93f}, Colour{0.2f, 0.4f, 0.78f}, std::pow(d.y, 0.55f));
        // Clouds on a plane above the viewer, thinning out towards the horizon.
        const float px = d.x / (d.y + 0.08f) * 1.2f, pz = d.z / (d.y + 0.08f) * 1.2f;
        const float n = Fractal2(px + 17.0f, pz - 5.0f, 5, 211, 0);
        const float cover = SmoothStep(0.5f, 0.72f, n) * SmoothStep(0.0f, 0.25f, d.y);
        const Colour cloud = Lerp(Colour{0.72f, 0.74f, 0.8f}, Colour{0.98f, 0.98f, 0.98f}, SmoothStep(0.5f, 0.9f, n));
        col = Lerp(col, cloud, cover * 0.92f);
    } else {
        col = Lerp(Colour{0.72f, 0.76f, 0.78f}, Colour{0.3f, 0.34f, 0.3f}, Clamp01(-d.y * 3.0f));
    }
    const float facing = d.x * kSunDirection.x + d.y * kSunDirection.y + d.z * kSunDirection.z;
    if (facing > 0.0f) {
        const float glow = 0.55f * std::pow(facing, 64.0f) + 0.18f * std::pow(facing, 6.0f);
        col = {col.r + glow, col.g + glow * 0.9f, col.b + glow * 0.7f};
        if (facing > 0.9994f) col = Colour{1.0f, 0.98f, 0.9f};
    }
    return {Clamp01(col.r), Clamp01(col.g), Clamp01(col.b)};
}

Image MakeSkyFace(SkyFace face, std::uint32_t size) {
    Canvas canvas(size);
    canvas.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const Vector3 c = SkyColour(SkyFacePoint(face, u, v));
        canvas.Set(x, y, Colour{c.x, c.y, c.z});
    });
    return canvas.Take();
}

}  // namespace brontal::sample
