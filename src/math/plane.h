#pragma once
// Planes and point sets.
#include <cstddef>

#include "math/types.h"

namespace brontal {

float PlaneDotCoord(const Plane* p, const Vector3* v);
Plane* PlaneNormalize(Plane* out, const Plane* p);

// Box of count points starting at first, strideBytes apart. Returns kResultInvalidCall (writing
// nothing) when a pointer is missing; the zero box for count 0; kResultOk otherwise.
ResultCode ComputeBoundingBox(const Vector3* first, unsigned count, std::size_t strideBytes,
                        Vector3* minOut, Vector3* maxOut);

}  // namespace brontal
