#pragma once
// From a geometry file's space into the game's. OBJ and glTF are right-handed with y up and wind
// front faces counter-clockwise; the game is left-handed with y up and draws a face whose corners
// run clockwise as the viewer sees it (the device culls counter-clockwise ones). Negating z turns
// the one space into the other with the same picture on screen, which keeps the on-screen turn
// of every face: so z is negated and each triangle's corners are taken in reverse order.
// A room's faces therefore look into the room and a model's faces out of it in the modelling
// tool, exactly as they must be seen.
//
// A rotation seen in the mirror turns the other way: axis (x, y, z) by angle a becomes axis
// (x, y, -z) by angle -a. Positions and distances are multiplied by the manifest's scale.
#include <array>

#include "math/types.h"

namespace brontal {

inline Vector3 GamePoint(const Vector3& source, float scale) {
    return {source.x * scale, source.y * scale, -source.z * scale};
}

inline Vector3 GameAxis(const Vector3& source) { return {source.x, source.y, -source.z}; }

inline float GameAngle(float sourceAngle) { return -sourceAngle; }

// The corner order of a triangle in the game, given its order in the source: 0, 2, 1.
inline constexpr std::array<int, 3> kGameCornerOrder = {0, 2, 1};

}  // namespace brontal
