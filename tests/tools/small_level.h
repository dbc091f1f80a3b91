#pragma once
// A small level for the level tool's tests: two rooms ("Hall" shows the sky and sees both), a
// solid model and a one-part figure whose track has the given number of keys.
#include <cstdint>

#include "level/world.h"

namespace brontal::test {

inline Surface Triangle() {
    Surface s;
    s.vertices = {{-5, 0, 2, 0, 0}, {5, 3, 8, 1, 0}, {0, 1, 4, 0, 1}};
    s.indices = {0, 1, 2};
    s.vertexCount = 3;
    s.indexCount = 3;
    s.triangleCount = 1;
    return s;
}

inline Level SmallToolLevel(std::uint16_t keys) {
    Level level;
    level.roomCount = 2;
    level.rooms.resize(2);
    level.rooms[0].name = "Hall";
    level.rooms[0].showsSky = true;
    level.rooms[0].visibleRooms = {0, 1};
    level.rooms[0].visibleRoomCount = 2;
    level.rooms[0].surfaces = {Triangle()};
    level.rooms[0].surfaceCount = 1;
    level.modelCount = 1;
    level.models.resize(1);
    level.models[0].surfaces = {Triangle()};
    level.models[0].surfaceCount = 1;
    level.models[0].solid = true;
    level.animatedModelCount = 1;
    level.animatedModels.resize(1);
    AnimatedPart part;
    part.vertices = Triangle().vertices;
    part.indices = {0, 1, 2};
    part.vertexCount = 3;
    part.indexCount = 3;
    KeyTrack track;
    track.positions.resize(keys);
    track.rotations.assign(keys, Quaternion{0, 0, 0, 1});
    track.keyCount = keys;
    level.animatedModels[0].parts = {part};
    level.animatedModels[0].tracks = {track};
    level.animatedModels[0].partCount = 1;
    level.animatedModels[0].trackCount = 1;
    return level;
}

}  // namespace brontal::test
