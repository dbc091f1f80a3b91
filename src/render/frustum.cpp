#include "render/frustum.h"

#include <algorithm>

#include "device/device.h"
#include "math/math.h"

namespace brontal {

constinit ViewFrustum g_viewFrustum;

namespace {

bool InFront(const Plane& plane, const Vector3& point) { return PlaneDotCoord(&plane, &point) >= 0.0f; }

// Column k of M as a plane, scaled by sign, added to column 4.
Plane ColumnPlane(const Matrix4x4& m, int column, float sign) {
    return Plane{m.m[0][3] + sign * m.m[0][column], m.m[1][3] + sign * m.m[1][column],
                 m.m[2][3] + sign * m.m[2][column], m.m[3][3] + sign * m.m[3][column]};
}

}  // namespace

void ViewFrustum::BuildFrustum() {
    if (!device) return;
    Matrix4x4 view{}, projection{}, m{};
    device->GetTransform(D3DTS_VIEW, &view);
    device->GetTransform(D3DTS_PROJECTION, &projection);
    MatrixMultiply(&m, &view, &projection);

    planes[kPlaneRight] = ColumnPlane(m, 0, -1.0f);
    planes[kPlaneLeft] = ColumnPlane(m, 0, 1.0f);
    planes[kPlaneBottom] = ColumnPlane(m, 1, 1.0f);
    planes[kPlaneTop] = ColumnPlane(m, 1, -1.0f);
    planes[kPlaneFar] = ColumnPlane(m, 2, -1.0f);
    planes[kPlaneNear] = ColumnPlane(m, 2, 1.0f);
    for (Plane& plane : planes) PlaneNormalize(&plane, &plane);
}

bool ViewFrustum::IsBoxOutside(float minX, float minY, float minZ, float maxX, float maxY, float maxZ) const {
    const Vector3 corners[8] = {
        {minX, minY, minZ}, {minX, maxY, minZ}, {maxX, maxY, minZ}, {maxX, minY, minZ},
        {minX, minY, maxZ}, {minX, maxY, maxZ}, {maxX, maxY, maxZ}, {maxX, minY, maxZ},
    };
    for (const Vector3& corner : corners)
        if (InFront(planes[kPlaneRight], corner)) return false;
    return true;
}

bool ViewFrustum::IsSurfaceVisible(const Surface& surface) const {
    // The vertex count is the surface's own; it never reaches past the array it counts.
    const std::size_t count = std::min<std::size_t>(surface.vertexCount, surface.vertices.size());
    for (const Plane& plane : planes) {
        bool anyInFront = false;
        for (std::size_t i = 0; i < count && !anyInFront; ++i) {
            const Vertex& v = surface.vertices[i];
            anyInFront = InFront(plane, Vector3{v.x, v.y, v.z});
        }
        if (!anyInFront) return false;
    }
    return true;
}

bool ViewFrustum::AreCornersVisible(const BoxCorners& corners) const {
    for (const Plane& plane : planes) {
        if (std::none_of(corners.begin(), corners.end(), [&](const Vector3& c) { return InFront(plane, c); }))
            return false;
    }
    return true;
}

}  // namespace brontal
