#include "sample/architecture.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace brontal::sample {

namespace {

// One rectangle of a wall between two distances along it and two heights.
void WallPiece(SurfaceBuilder& b, const Vector3& start, const Vector3& direction, float s0, float s1, float y0,
               float y1, const Vector3& facing, const TexMapping& map, float cell) {
    if (s1 - s0 <= 0.0f || y1 - y0 <= 0.0f) return;
    Vector3 left = Add(start, Scale(direction, s0));
    Vector3 right = Scale(direction, s1 - s0);
    // The viewer looks along -facing; its right runs so that Cross(right, down) is facing.
    if (Dot(Cross(right, V3(0, -1, 0)), facing) < 0.0f) {
        left = Add(start, Scale(direction, s1));
        right = Scale(right, -1.0f);
    }
    b.GridBySize(V3(left.x, y1, left.z), right, V3(0, y0 - y1, 0), cell, map);
}

}  // namespace

void Wall(SurfaceBuilder& b, const Vector3& start, const Vector3& end, float y0, float y1, const Vector3& facing,
          const std::vector<Opening>& openings, const TexMapping& map, float cell) {
    const Vector3 span = Sub(end, start);
    const float length = Length(span);
    const Vector3 direction = Scale(span, 1.0f / length);
    std::vector<Opening> gaps = openings;
    std::sort(gaps.begin(), gaps.end(), [](const Opening& a, const Opening& c) { return a.from < c.from; });
    float at = 0.0f;
    for (const Opening& gap : gaps) {
        WallPiece(b, start, direction, at, gap.from, y0, y1, facing, map, cell);
        WallPiece(b, start, direction, gap.from, gap.to, y0 + gap.height, y1, facing, map, cell);
        at = gap.to;
    }
    WallPiece(b, start, direction, at, length, y0, y1, facing, map, cell);
}

void Floor(SurfaceBuilder& b, float x0, float z0, float x1, float z1, float y, const TexMapping& map, float cell) {
    // Seen from above with +z at the top: right is +x, down is -z.
    b.GridBySize(V3(x0, y, z1), V3(x1 - x0, 0, 0), V3(0, 0, z0 - z1), cell, map);
}

void Ceiling(SurfaceBuilder& b, float x0, float z0, float x1, float z1, float y, const TexMapping& map, float cell) {
    // Seen from below with +z at the top: right is -x.
    b.GridBySize(V3(x1, y, z1), V3(x0 - x1, 0, 0), V3(0, 0, z0 - z1), cell, map);
}

std::vector<Surface> PassageSurfaces(const Passage& p, std::uint16_t floorTexture, const TexMapping& floorMap,
                                     std::uint16_t wallTexture, const TexMapping& wallMap) {
    SurfaceBuilder ground("doorway floor", floorTexture);
    SurfaceBuilder sides("doorway", wallTexture);
    const float cell = kLightCell;
    if (p.alongX) {
        Floor(ground, p.a0, p.b0, p.a1, p.b1, 0.0f, floorMap, cell);
        const float top = p.height > 0.0f ? p.height : 300.0f;
        Wall(sides, V3(p.a0, 0, p.b0), V3(p.a0, 0, p.b1), 0.0f, top, V3(1, 0, 0), {}, wallMap, cell);
        Wall(sides, V3(p.a1, 0, p.b0), V3(p.a1, 0, p.b1), 0.0f, top, V3(-1, 0, 0), {}, wallMap, cell);
        if (p.height > 0.0f) Ceiling(sides, p.a0, p.b0, p.a1, p.b1, p.height, wallMap, cell);
    } else {
        Floor(ground, p.b0, p.a0, p.b1, p.a1, 0.0f, floorMap, cell);
        const float top = p.height > 0.0f ? p.height : 300.0f;
        Wall(sides, V3(p.b0, 0, p.a0), V3(p.b1, 0, p.a0), 0.0f, top, V3(0, 0, 1), {}, wallMap, cell);
        Wall(sides, V3(p.b0, 0, p.a1), V3(p.b1, 0, p.a1), 0.0f, top, V3(0, 0, -1), {}, wallMap, cell);
        if (p.height > 0.0f) Ceiling(sides, p.b0, p.a0, p.b1, p.a1, p.height, wallMap, cell);
    }
    std::vector<Surface> out = ground.Take();
    for (Surface& s : sides.Take()) out.push_back(std::move(s));
    return out;
}

void DoubleSidedCard(SurfaceBuilder& b, const Vector3& centre, bool alongX, float w, float y0, float y1,
                     float repeats) {
    const Vector3 half = alongX ? V3(0.5f * w, 0, 0) : V3(0, 0, 0.5f * w);
    const Vector3 left = Sub(V3(centre.x, y1, centre.z), half);
    const Vector3 right = Scale(half, 2.0f);
    const Vector3 down = V3(0, y0 - y1, 0);
    const TexRect rect{0.0f, 0.0f, repeats, 1.0f};
    b.Quad(left, right, down, rect);
    b.Quad(Add(left, right), Scale(right, -1.0f), down, rect);
}

void CrossedCards(SurfaceBuilder& b, const Vector3& centre, float w, float y0, float y1) {
    DoubleSidedCard(b, centre, true, w, y0, y1);
    DoubleSidedCard(b, centre, false, w, y0, y1);
}


void AppendSurfaces(Room& room, std::vector<Surface> surfaces) {
    for (Surface& s : surfaces) room.surfaces.push_back(std::move(s));
}

void AddObject(Room& room, std::uint16_t model, const Vector3& position, const Vector3& axis, float angle) {
    RoomObject object;
    object.modelIndex = model;
    object.position = position;
    object.rotationAxis = axis;
    object.rotationAngle = angle;
    room.objects.push_back(object);
}

void FinishRoom(Room& room) {
    room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
    room.objectCount = static_cast<std::uint16_t>(room.objects.size());
    room.lightCount = static_cast<std::uint16_t>(room.lights.size());
    room.visibleRoomCount = static_cast<std::uint16_t>(room.visibleRooms.size());
}

}  // namespace brontal::sample
