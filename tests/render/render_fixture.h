#pragma once
// Hand-made geometry and transforms for the render tests.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "level/world.h"
#include "math/types.h"

namespace brontal::testing {

inline Matrix4x4 Identity() {
    Matrix4x4 m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

inline Matrix4x4 Translation(float x, float y, float z) {
    Matrix4x4 m = Identity();
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

// A left-handed perspective with a 90-degree field of view, aspect 1, near 1 and far 100:
// with the identity view the frustum is |x| <= z, |y| <= z, z <= 100.
inline Matrix4x4 SquareProjection() {
    Matrix4x4 m{};
    m.m[0][0] = 1.0f;
    m.m[1][1] = 1.0f;
    m.m[2][2] = 100.0f / 99.0f;
    m.m[2][3] = 1.0f;
    m.m[3][2] = -100.0f / 99.0f;
    return m;
}

inline Vector3 TransformPoint(const Vector3& p, const Matrix4x4& m) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

// A surface of the given corners with every index drawn from them, the counts set as the
// level reader sets them.
inline Surface MakeSurface(std::initializer_list<Vector3> corners, std::vector<std::uint16_t> indices,
                           std::uint16_t textureIndex) {
    Surface s;
    for (const Vector3& c : corners) s.vertices.push_back(Vertex{c.x, c.y, c.z, 0.0f, 0.0f});
    s.vertexCount = static_cast<std::uint16_t>(s.vertices.size());
    s.indices = std::move(indices);
    s.indexCount = static_cast<std::uint16_t>(s.indices.size());
    s.triangleCount = static_cast<std::uint8_t>(s.indexCount / 3);
    s.textureIndex = textureIndex;
    return s;
}

// One triangle around (x, y, z), all of it within 1 unit of that point.
inline Surface TriangleAt(float x, float y, float z, std::uint16_t textureIndex, int repeats = 1) {
    std::vector<std::uint16_t> indices;
    for (int i = 0; i < repeats; ++i) indices.insert(indices.end(), {0, 1, 2});
    return MakeSurface({{x - 1, y, z}, {x, y + 1, z}, {x + 1, y, z}}, indices, textureIndex);
}

inline BoxCorners CornersOf(const Vector3& min, const Vector3& max) {
    BoxCorners corners{};
    for (int k = 0; k < 8; ++k)
        corners[k] = {k & 1 ? max.x : min.x, k & 2 ? max.y : min.y, k & 4 ? max.z : min.z};
    return corners;
}

inline Room MakeRoom(const Vector3& min, const Vector3& max) {
    Room room;
    room.boxMin = min;
    room.boxMax = max;
    return room;
}

inline void AddSurface(Room& room, Surface surface) {
    room.surfaces.push_back(std::move(surface));
    room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
}

inline void AddObject(Room& room, std::uint16_t model, const Matrix4x4& world, const BoxCorners& corners) {
    RoomObject object;
    object.modelIndex = model;
    object.world = world;
    object.corners = corners;
    room.objects.push_back(object);
    room.objectCount = static_cast<std::uint16_t>(room.objects.size());
}

}  // namespace brontal::testing
