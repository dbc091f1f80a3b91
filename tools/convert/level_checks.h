#pragma once
// Mistakes the game accepts without a word, named as build warnings (the level is still written):
// - the start point in no room's box (the player is held up by nothing and falls for ever), or
//   with no floor under it in the rooms that hold it (the player falls out of the level);
// - a scene far smaller or larger than the player figure: a scene in metres without "scale";
// - lights and objects whose position lies outside their room's box (a light above a room that
//   shows the sky, as the sun over a courtyard, is not taken for a mistake);
// - a room that does not show the sky from which the open sky of a sky room can be seen (the
//   game shows black there);
// - a room whose faces look out of it, or a model whose faces look into it (turned inside out).
// A written visible list that leaves out its own room is warned about where the lists are filled.
#include <string>
#include <vector>

#include "convert/manifest.h"
#include "level/world.h"
#include "visibility/room_sight.h"

namespace brontal {

// A level whose every room is lower than the player figure (sample::kFigureHeight), or higher than
// this many figures (a room of a scene made in millimetres), is taken for a scene at the wrong
// scale.
inline constexpr float kLargeSceneFigures = 20.0f;

// level: the built level as the game's reader leaves it (room boxes and object corners derived);
// sights: the visibility computation the build ran for its lists, one per room. Rooms and
// placements are in manifest order.
void WarnAboutSilentMistakes(const Manifest& manifest, const Level& level, const std::vector<RoomSight>& sights,
                             std::vector<std::string>& warnings);

}  // namespace brontal
