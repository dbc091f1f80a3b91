#pragma once
// F5 in preview runs: the level file and the sky images read again in place. The player, the
// cameras and the animation keep where they are; everything made from the old level goes: its
// textures and the sky's on the device, the backend's copies of its geometry, its lights, the
// collision cache and the room tracking. The room of the current room's number in the new level
// becomes the current room with its visible rooms (as after start-up when there is none), and
// the next frame's update finds the room as usual. A level that no longer loads leaves the old
// one as it was.
#include <optional>
#include <string>

#include "math/types.h"

namespace brontal {

// Returns false with the reader's message in error when the file is refused. start replaces
// the level's start point, as at start-up.
bool ReloadLevel(const std::string& levelPath, const std::optional<Vector3>& start, std::string& error);

}  // namespace brontal
