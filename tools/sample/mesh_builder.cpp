#include "sample/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace brontal::sample {

namespace {

Vertex MakeVertex(const Vector3& p, float u, float v) { return Vertex{p.x, p.y, p.z, u, v}; }

Vector3 Position(const Vertex& v) { return {v.x, v.y, v.z}; }

// Where a point lies along an edge direction, in world units from the origin of its space, so
// that neighbouring faces along the same direction continue each other's texture.
float Along(const Vector3& p, const Vector3& edge) {
    const float length = Length(edge);
    return length > 0.0f ? Dot(p, edge) / length : 0.0f;
}

}  // namespace

void FinishSurface(Surface& surface) {
    surface.vertexCount = static_cast<std::uint16_t>(surface.vertices.size());
    surface.indexCount = static_cast<std::uint16_t>(surface.indices.size());
    surface.triangleCount = static_cast<std::uint8_t>(surface.indexCount / 3);
}

SurfaceBuilder::SurfaceBuilder(std::string name, std::uint16_t textureIndex, int maxTriangles)
    : name_(std::move(name)), textureIndex_(textureIndex), maxTriangles_(maxTriangles) {}

Surface& SurfaceBuilder::Current(int newTriangles, int newVertices) {
    const bool full = surfaces_.empty() ||
                      static_cast<int>(surfaces_.back().indices.size() / 3) + newTriangles > maxTriangles_ ||
                      static_cast<int>(surfaces_.back().vertices.size()) + newVertices > 65535;
    if (full) {
        surfaces_.emplace_back();
        surfaces_.back().name = name_;
        surfaces_.back().textureIndex = textureIndex_;
    }
    return surfaces_.back();
}

void SurfaceBuilder::Triangle(const Vertex& a, const Vertex& b, const Vertex& c) {
    Surface& s = Current(1, 3);
    const auto base = static_cast<std::uint16_t>(s.vertices.size());
    s.vertices.push_back(a);
    s.vertices.push_back(b);
    s.vertices.push_back(c);
    for (std::uint16_t i = 0; i < 3; ++i) s.indices.push_back(static_cast<std::uint16_t>(base + i));
}

void SurfaceBuilder::TriangleFacing(const Vertex& a, Vertex b, Vertex c, const Vector3& facing) {
    // The face a, b, c looks towards Cross(b - a, c - a) when it runs clockwise for its viewer.
    const Vector3 front = Cross(Sub(Position(b), Position(a)), Sub(Position(c), Position(a)));
    if (Dot(front, facing) < 0.0f) std::swap(b, c);
    Triangle(a, b, c);
}

void SurfaceBuilder::QuadFacing(Vertex tl, Vertex tr, Vertex br, Vertex bl, const Vector3& facing) {
    const Vector3 front = Cross(Sub(Position(tr), Position(tl)), Sub(Position(br), Position(tl)));
    if (Dot(front, facing) < 0.0f) std::swap(tr, bl);
    Surface& s = Current(2, 4);
    const auto base = static_cast<std::uint16_t>(s.vertices.size());
    s.vertices.push_back(tl);
    s.vertices.push_back(tr);
    s.vertices.push_back(br);
    s.vertices.push_back(bl);
    const std::uint16_t order[6] = {0, 1, 2, 0, 2, 3};
    for (std::uint16_t i : order) s.indices.push_back(static_cast<std::uint16_t>(base + i));
}

void SurfaceBuilder::Quad(const Vector3& origin, const Vector3& right, const Vector3& down, const TexMapping& map) {
    Grid(origin, right, down, 1, 1, map);
}

void SurfaceBuilder::Quad(const Vector3& origin, const Vector3& right, const Vector3& down, const TexRect& rect) {
    const Vector3 facing = Cross(right, down);
    QuadFacing(MakeVertex(origin, rect.u0, rect.v0), MakeVertex(Add(origin, right), rect.u1, rect.v0),
               MakeVertex(Add(Add(origin, right), down), rect.u1, rect.v1), MakeVertex(Add(origin, down), rect.u0, rect.v1),
               facing);
}

void SurfaceBuilder::Grid(const Vector3& origin, const Vector3& right, const Vector3& down, int columns, int rows,
                          const TexMapping& map) {
    const Vector3 facing = Cross(right, down);
    const Vector3 du = Scale(right, 1.0f / static_cast<float>(columns));
    const Vector3 dv = Scale(down, 1.0f / static_cast<float>(rows));
    auto at = [&](int c, int r) {
        const Vector3 p = Add(origin, Add(Scale(du, static_cast<float>(c)), Scale(dv, static_cast<float>(r))));
        const float u = Along(p, right) / map.uWorld + map.uOffset;
        const float v = Along(p, down) / map.vWorld + map.vOffset;
        return MakeVertex(p, u, v);
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) QuadFacing(at(c, r), at(c + 1, r), at(c + 1, r + 1), at(c, r + 1), facing);
}

void SurfaceBuilder::GridBySize(const Vector3& origin, const Vector3& right, const Vector3& down, float cellSize,
                                const TexMapping& map) {
    const int columns = std::max(1, static_cast<int>(std::lround(Length(right) / cellSize)));
    const int rows = std::max(1, static_cast<int>(std::lround(Length(down) / cellSize)));
    Grid(origin, right, down, columns, rows, map);
}

void SurfaceBuilder::Box(const Vector3& mn, const Vector3& mx, const TexMapping& map, unsigned faces) {
    const float w = mx.x - mn.x, h = mx.y - mn.y, d = mx.z - mn.z;
    // Each face: top-left corner as seen from outside, then right and down.
    if (faces & kFaceMinZ) Quad(V3(mn.x, mx.y, mn.z), V3(w, 0, 0), V3(0, -h, 0), map);   // seen from -z
    if (faces & kFaceMaxZ) Quad(V3(mx.x, mx.y, mx.z), V3(-w, 0, 0), V3(0, -h, 0), map);  // seen from +z
    if (faces & kFaceMinX) Quad(V3(mn.x, mx.y, mx.z), V3(0, 0, -d), V3(0, -h, 0), map);  // seen from -x
    if (faces & kFaceMaxX) Quad(V3(mx.x, mx.y, mn.z), V3(0, 0, d), V3(0, -h, 0), map);   // seen from +x
    if (faces & kFaceMaxY) Quad(V3(mn.x, mx.y, mx.z), V3(w, 0, 0), V3(0, 0, -d), map);   // seen from above
    if (faces & kFaceMinY) Quad(V3(mn.x, mn.y, mn.z), V3(w, 0, 0), V3(0, 0, d), map);    // seen from below
}

void SurfaceBuilder::Prism(const Vector3& base, float height, float r0, float r1, int sides, const TexRect& rect,
                           bool caps) {
    const float step = 2.0f * kPi / static_cast<float>(sides);
    auto ring = [&](int i, float y, float r) {
        const float a = step * static_cast<float>(i);
        return V3(base.x + r * std::sin(a), y, base.z + r * std::cos(a));
    };
    const float top = base.y + height;
    for (int i = 0; i < sides; ++i) {
        const float u0 = rect.u0 + (rect.u1 - rect.u0) * static_cast<float>(i) / static_cast<float>(sides);
        const float u1 = rect.u0 + (rect.u1 - rect.u0) * static_cast<float>(i + 1) / static_cast<float>(sides);
        const float mid = step * (static_cast<float>(i) + 0.5f);
        const Vector3 out = V3(std::sin(mid), 0.0f, std::cos(mid));
        QuadFacing(MakeVertex(ring(i + 1, top, r1), u0, rect.v0), MakeVertex(ring(i, top, r1), u1, rect.v0),
                   MakeVertex(ring(i, base.y, r0), u1, rect.v1), MakeVertex(ring(i + 1, base.y, r0), u0, rect.v1), out);
    }
    if (!caps) return;
    const float uc = 0.5f * (rect.u0 + rect.u1), vc = 0.5f * (rect.v0 + rect.v1);
    const float ur = 0.5f * (rect.u1 - rect.u0), vr = 0.5f * (rect.v1 - rect.v0);
    for (int i = 0; i < sides; ++i) {
        const float a0 = step * static_cast<float>(i), a1 = step * static_cast<float>(i + 1);
        const Vertex topCentre = MakeVertex(V3(base.x, top, base.z), uc, vc);
        TriangleFacing(topCentre, MakeVertex(ring(i, top, r1), uc + ur * std::sin(a0), vc + vr * std::cos(a0)),
                       MakeVertex(ring(i + 1, top, r1), uc + ur * std::sin(a1), vc + vr * std::cos(a1)), V3(0, 1, 0));
        const Vertex bottomCentre = MakeVertex(base, uc, vc);
        TriangleFacing(bottomCentre, MakeVertex(ring(i, base.y, r0), uc + ur * std::sin(a0), vc + vr * std::cos(a0)),
                       MakeVertex(ring(i + 1, base.y, r0), uc + ur * std::sin(a1), vc + vr * std::cos(a1)),
                       V3(0, -1, 0));
    }
}

std::vector<Surface> SurfaceBuilder::Take() {
    std::vector<Surface> out = std::move(surfaces_);
    surfaces_.clear();
    for (Surface& s : out) FinishSurface(s);
    return out;
}

}  // namespace brontal::sample
