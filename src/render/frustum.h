#pragma once
// The view frustum: six planes taken from the device's view and projection, and the three
// visibility tests of the room draw.
//
// With M = view * projection and cK column K of M as (a, b, c, d), the planes are, in this
// order: right c4 - c1, left c4 + c1, bottom c4 + c2, top c4 - c2, far c4 - c3, near c4 + c3,
// each normalised. A point is in front of a plane when PlaneDotCoord >= 0 (exactly 0 counts as
// in front). Until the first BuildFrustum every plane is zero, so every point is in front of
// all of them and nothing is culled.
#include <cstdint>

#include "level/world.h"
#include "math/types.h"

namespace brontal {

class Device;

enum FrustumPlane : std::uint32_t {
    kPlaneRight = 0,
    kPlaneLeft = 1,
    kPlaneBottom = 2,
    kPlaneTop = 3,
    kPlaneFar = 4,
    kPlaneNear = 5,
};
inline constexpr std::uint32_t kFrustumPlaneCount = 6;

class ViewFrustum {
public:
    void SetDevice(Device* newDevice) { device = newDevice; }
    // Does nothing before SetDevice.
    void BuildFrustum();

    // The room-level test: true when all eight corners of the box lie behind the right-hand
    // plane. Only that one plane takes part.
    bool IsBoxOutside(float minX, float minY, float minZ, float maxX, float maxY, float maxZ) const;
    // False when some plane has every vertex of the surface behind it, and for a surface
    // without vertices.
    bool IsSurfaceVisible(const Surface& surface) const;
    // The same rule over a room object's eight world-space corners.
    bool AreCornersVisible(const BoxCorners& corners) const;

    Device* device = nullptr;
    Plane planes[kFrustumPlaneCount] = {};
};

extern ViewFrustum g_viewFrustum;

}  // namespace brontal
