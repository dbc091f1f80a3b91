#pragma once
// The eight corners of an axis-aligned box in BoxCorners order: corner k takes x from boxMax
// when bit 0 of k is set, y when bit 1 is set, z when bit 2 is set, and from boxMin otherwise.
#include "level/world.h"

namespace brontal {

BoxCorners MakeBoxCorners(const Vector3& boxMin, const Vector3& boxMax);

}  // namespace brontal
