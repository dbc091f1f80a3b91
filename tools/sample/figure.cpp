#include "sample/figure.h"

#include <string>

#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"
#include "sample/mesh_builder.h"
#include "sample/textures.h"

namespace brontal::sample {

namespace {

struct PartShape {
    const char* name;
    int parent;
    Vector3 pivot;
};

constexpr PartShape kParts[kFigurePartCount] = {
    {"pelvis", -1, {0.0f, 36.0f, 0.0f}},
    {"torso", kPelvis, {0.0f, 40.0f, 0.0f}},
    {"head", kTorso, {0.0f, 58.0f, 0.0f}},
    {"upper arm left", kTorso, {-10.0f, 56.0f, 0.0f}},
    {"lower arm left", kUpperArmLeft, {-10.0f, 45.0f, 0.0f}},
    {"upper arm right", kTorso, {10.0f, 56.0f, 0.0f}},
    {"lower arm right", kUpperArmRight, {10.0f, 45.0f, 0.0f}},
    {"upper leg left", kPelvis, {-3.8f, 36.0f, 0.0f}},
    {"lower leg left", kUpperLegLeft, {-3.8f, 19.0f, 0.0f}},
    {"upper leg right", kPelvis, {3.8f, 36.0f, 0.0f}},
    {"lower leg right", kUpperLegRight, {3.8f, 19.0f, 0.0f}},
};

// A box around the vertical line through (cx, cz) whose top and bottom faces may differ in size
// (a tapered torso), faces outwards; the front (+z) face has its own atlas cell.
void TaperedBox(SurfaceBuilder& b, float cx, float cz, float y0, float y1, float w0, float d0, float w1, float d1,
                const TexRect& front, const TexRect& rest) {
    auto vtx = [&](float x, float y, float z, float u, float v) { return Vertex{cx + x, y, cz + z, u, v}; };
    // Each face from its top left as seen from outside (seen from +z, the right is -x).
    b.QuadFacing(vtx(w1, y1, d1, front.u0, front.v0), vtx(-w1, y1, d1, front.u1, front.v0),
                 vtx(-w0, y0, d0, front.u1, front.v1), vtx(w0, y0, d0, front.u0, front.v1), V3(0, 0, 1));
    b.QuadFacing(vtx(-w1, y1, -d1, rest.u0, rest.v0), vtx(w1, y1, -d1, rest.u1, rest.v0),
                 vtx(w0, y0, -d0, rest.u1, rest.v1), vtx(-w0, y0, -d0, rest.u0, rest.v1), V3(0, 0, -1));
    b.QuadFacing(vtx(-w1, y1, d1, rest.u0, rest.v0), vtx(-w1, y1, -d1, rest.u1, rest.v0),
                 vtx(-w0, y0, -d0, rest.u1, rest.v1), vtx(-w0, y0, d0, rest.u0, rest.v1), V3(-1, 0, 0));
    b.QuadFacing(vtx(w1, y1, -d1, rest.u0, rest.v0), vtx(w1, y1, d1, rest.u1, rest.v0),
                 vtx(w0, y0, d0, rest.u1, rest.v1), vtx(w0, y0, -d0, rest.u0, rest.v1), V3(1, 0, 0));
    b.QuadFacing(vtx(-w1, y1, d1, rest.u0, rest.v0), vtx(w1, y1, d1, rest.u1, rest.v0),
                 vtx(w1, y1, -d1, rest.u1, rest.v1), vtx(-w1, y1, -d1, rest.u0, rest.v1), V3(0, 1, 0));
    b.QuadFacing(vtx(-w0, y0, -d0, rest.u0, rest.v0), vtx(w0, y0, -d0, rest.u1, rest.v0),
                 vtx(w0, y0, d0, rest.u1, rest.v1), vtx(-w0, y0, d0, rest.u0, rest.v1), V3(0, -1, 0));
}

// A straight box between two corners.
void PlacedBox(SurfaceBuilder& b, const Vector3& mn, const Vector3& mx, const TexRect& front, const TexRect& rest) {
    const float hw = 0.5f * (mx.x - mn.x), hd = 0.5f * (mx.z - mn.z);
    TaperedBox(b, 0.5f * (mn.x + mx.x), 0.5f * (mn.z + mx.z), mn.y, mx.y, hw, hd, hw, hd, front, rest);
}

std::vector<Surface> PartGeometry(int part) {
    SurfaceBuilder b(kParts[part].name, 0, 65535);
    const Vector3 p = kParts[part].pivot;
    switch (part) {
    case kPelvis:
        TaperedBox(b, 0.0f, 0.0f, 31.0f, 37.5f, 6.8f, 4.2f, 6.6f, 4.0f, FigureRect(FigureCell::Trousers), FigureRect(FigureCell::Trousers));
        PlacedBox(b, V3(-6.9f, 37.5f, -4.3f), V3(6.9f, 40.0f, 4.3f), FigureRect(FigureCell::Belt), FigureRect(FigureCell::Belt));
        break;
    case kTorso:
        TaperedBox(b, 0.0f, 0.0f, 40.0f, 57.0f, 6.4f, 3.9f, 8.6f, 4.6f, FigureRect(FigureCell::ShirtFront), FigureRect(FigureCell::Shirt));
        break;
    case kHead:
        b.Prism(V3(0.0f, 56.5f, 0.3f), 3.0f, 2.0f, 2.0f, 6, FigureRect(FigureCell::Skin), false);
        TaperedBox(b, 0.0f, 0.0f, 59.0f, 68.0f, 3.8f, 4.2f, 4.1f, 4.4f, FigureRect(FigureCell::Face), FigureRect(FigureCell::Hair));
        break;
    case kUpperArmLeft:
    case kUpperArmRight:
        b.Prism(V3(p.x, 44.5f, p.z), 12.5f, 1.8f, 2.3f, 8, FigureRect(FigureCell::Shirt), true);
        break;
    case kLowerArmLeft:
    case kLowerArmRight:
        b.Prism(V3(p.x, 35.0f, p.z), 10.5f, 1.4f, 1.8f, 8, FigureRect(FigureCell::Skin), true);
        PlacedBox(b, V3(p.x - 1.1f, 31.0f, p.z - 1.8f), V3(p.x + 1.1f, 35.2f, p.z + 1.8f), FigureRect(FigureCell::Skin),
                  FigureRect(FigureCell::Skin));
        break;
    case kUpperLegLeft:
    case kUpperLegRight:
        b.Prism(V3(p.x, 18.5f, p.z), 18.0f, 2.5f, 3.2f, 8, FigureRect(FigureCell::Trousers), true);
        break;
    case kLowerLegLeft:
    case kLowerLegRight:
        b.Prism(V3(p.x, 3.0f, p.z), 16.5f, 1.9f, 2.5f, 8, FigureRect(FigureCell::Trousers), true);
        PlacedBox(b, V3(p.x - 2.3f, 0.0f, p.z - 2.6f), V3(p.x + 2.3f, 4.0f, p.z + 7.0f), FigureRect(FigureCell::Boots),
                  FigureRect(FigureCell::Boots));
        break;
    default: break;
    }
    return b.Take();
}

Vector3 Rotate(const Vector3& v, const Quaternion& q) {
    Matrix4x4 m;
    MatrixRotationQuaternion(&m, &q);
    Vector3 out;
    Vec3TransformCoord(&out, &v, &m);
    return out;
}

}  // namespace

int FigureParent(int part) { return kParts[part].parent; }
Vector3 FigureRestPivot(int part) { return kParts[part].pivot; }

Quaternion ComposeRotations(const Quaternion& a, const Quaternion& b) {
    // Points turn as p' = q p q^-1 under the row-vector matrices, so "a then b" is the product b a.
    return Quaternion{b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y, b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
                      b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w, b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z};
}

void SolveFigurePose(const FigurePose& pose, std::array<Quaternion, kFigurePartCount>& rotations,
                     std::array<Vector3, kFigurePartCount>& pivots) {
    // Parents come before their children in the part order.
    for (int p = 0; p < kFigurePartCount; ++p) {
        Quaternion local;
        const Vector3& a = pose.angles[static_cast<std::size_t>(p)];
        QuaternionRotationYawPitchRoll(&local, a.y, a.x, a.z);
        const int parent = kParts[p].parent;
        if (parent < 0) {
            rotations[static_cast<std::size_t>(p)] = local;
            pivots[static_cast<std::size_t>(p)] = Add(kParts[p].pivot, pose.rootOffset);
            continue;
        }
        const Quaternion& parentRotation = rotations[static_cast<std::size_t>(parent)];
        rotations[static_cast<std::size_t>(p)] = ComposeRotations(local, parentRotation);
        const Vector3 bone = Sub(kParts[p].pivot, kParts[parent].pivot);
        pivots[static_cast<std::size_t>(p)] = Add(pivots[static_cast<std::size_t>(parent)], Rotate(bone, parentRotation));
    }
}

AnimatedModel BuildFigure(std::uint16_t textureIndex) {
    AnimatedModel model;
    model.parts.resize(kFigurePartCount);
    model.tracks.resize(kFigurePartCount);
    for (int p = 0; p < kFigurePartCount; ++p) {
        AnimatedPart& part = model.parts[static_cast<std::size_t>(p)];
        part.name = kParts[p].name;
        part.pivot = kParts[p].pivot;
        part.secondPoint = kParts[p].pivot;
        part.textureIndex = textureIndex;
        for (const Surface& s : PartGeometry(p)) {
            const auto base = static_cast<std::uint16_t>(part.vertices.size());
            part.vertices.insert(part.vertices.end(), s.vertices.begin(), s.vertices.end());
            for (std::uint16_t i : s.indices) part.indices.push_back(static_cast<std::uint16_t>(base + i));
        }
        part.vertexCount = static_cast<std::uint16_t>(part.vertices.size());
        part.indexCount = static_cast<std::uint16_t>(part.indices.size());
        part.triangleCount = static_cast<std::uint16_t>(part.indexCount / 3);
    }
    std::array<Quaternion, kFigurePartCount> rotations{};
    std::array<Vector3, kFigurePartCount> pivots{};
    for (KeyTrack& track : model.tracks) {
        track.positions.reserve(kFigureKeyCount);
        track.rotations.reserve(kFigureKeyCount);
        track.keyCount = kFigureKeyCount;
    }
    for (int key = 0; key < kFigureKeyCount; ++key) {
        SolveFigurePose(FigurePoseAt(key), rotations, pivots);
        for (int p = 0; p < kFigurePartCount; ++p) {
            model.tracks[static_cast<std::size_t>(p)].positions.push_back(pivots[static_cast<std::size_t>(p)]);
            model.tracks[static_cast<std::size_t>(p)].rotations.push_back(rotations[static_cast<std::size_t>(p)]);
        }
    }
    model.partCount = kFigurePartCount;
    model.trackCount = kFigurePartCount;
    return model;
}

}  // namespace brontal::sample
