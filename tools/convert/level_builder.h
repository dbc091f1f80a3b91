#pragma once
// From a manifest and its geometry to a level ready for the writer. Everything the file carries
// is made here, in the game's space (see convert/game_space.h): rooms with their surfaces (one
// texture each, at most 255 triangles), visible lists, sky flags, objects and lights; models in
// their own space; the header; the figure; the texture images. Nothing the reader derives after
// loading (boxes, object corners and world matrices) is computed.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/manifest.h"
#include "convert/scene_set.h"
#include "level/chunk_ids.h"
#include "level/world.h"
#include "visibility/room_sight.h"

namespace brontal {

// A room's or model's surfaces hold at most this many vertices together: the reader gathers
// them into one buffer of this size for the box.
inline constexpr std::size_t kMaxGroupVertices = kMaxRecordCount;

struct BuiltLevel {
    Level level;
    std::vector<std::vector<std::uint8_t>> textureImages;  // per slot, complete image files
    std::vector<std::string> warnings;
    std::vector<RoomSight> sights;  // what each room can see, as the lists were filled from it
};

// On failure returns false with one message naming the file at fault and the problem.
bool BuildLevel(const Manifest& manifest, const SceneSet& scenes, BuiltLevel& out, std::string& error);

}  // namespace brontal
