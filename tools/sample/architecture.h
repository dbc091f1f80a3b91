#pragma once
// Room architecture for the sample level: floors, ceilings, walls with doorways, doorway passages
// and room lights. Room faces look into the room (their corners run clockwise for a viewer
// inside). Floors, walls and ceilings are cut into cells of about kLightCell units because the
// game lights per vertex: a pool of light needs vertices to show on.
#include <cstdint>
#include <string>
#include <vector>

#include "level/world.h"
#include "sample/mesh_builder.h"

namespace brontal::sample {

inline constexpr float kLightCell = 40.0f;

// A gap in a wall: from `from` to `to` along the wall (distances from its start), `height` tall.
struct Opening {
    float from, to, height;
};

// A wall standing on the line from `start` to `end` (same y), from y0 to y1, looking towards
// `facing` (horizontal, at right angles to the line), with openings left out.
void Wall(SurfaceBuilder& b, const Vector3& start, const Vector3& end, float y0, float y1, const Vector3& facing,
          const std::vector<Opening>& openings, const TexMapping& map, float cell = kLightCell);

// A floor (looking up) or ceiling (looking down) over x0..x1, z0..z1 at height y.
void Floor(SurfaceBuilder& b, float x0, float z0, float x1, float z1, float y, const TexMapping& map,
           float cell = kLightCell);
void Ceiling(SurfaceBuilder& b, float x0, float z0, float x1, float z1, float y, const TexMapping& map,
             float cell = kLightCell);

// A doorway passage through a wall of some thickness: its floor, its two sides and the underside
// of its lintel, all looking into the passage. `alongX` says the wall runs along x (the passage
// leads along z) or along z. (a0, a1) is the span along the wall, (b0, b1) the wall's thickness.
struct Passage {
    bool alongX;
    float a0, a1, b0, b1;
    float height;  // 0 for a passage open to the sky
};
std::vector<Surface> PassageSurfaces(const Passage& p, std::uint16_t floorTexture, const TexMapping& floorMap,
                                     std::uint16_t wallTexture, const TexMapping& wallMap);

// A vertical card seen from both sides: along x (looking at +-z) or along z (looking at +-x),
// centred on `centre` at its foot, w wide, from y0 to y1, the texture spread `repeats` times.
void DoubleSidedCard(SurfaceBuilder& b, const Vector3& centre, bool alongX, float w, float y0, float y1,
                     float repeats = 1.0f);
// Two such cards crossing at right angles: a plant, a tuft of grass.
void CrossedCards(SurfaceBuilder& b, const Vector3& centre, float w, float y0, float y1);


void AppendSurfaces(Room& room, std::vector<Surface> surfaces);
void AddObject(Room& room, std::uint16_t model, const Vector3& position, const Vector3& axis = {0, 1, 0},
               float angle = 0.0f);
// Sets the room's counts from its arrays.
void FinishRoom(Room& room);

}  // namespace brontal::sample
