#include "visibility/triangle_bvh.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "math/vector_ops.h"

namespace brontal {
namespace {

constexpr std::uint32_t kLeafSize = 4;
constexpr float kParallel = 1e-12f;
constexpr float kTieTolerance = 1e-4f;  // of the distance: faces this close count as coplanar

float Axis(const Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

void Grow(Vector3& boxMin, Vector3& boxMax, const Vector3& p) {
    boxMin = {std::min(boxMin.x, p.x), std::min(boxMin.y, p.y), std::min(boxMin.z, p.z)};
    boxMax = {std::max(boxMax.x, p.x), std::max(boxMax.y, p.y), std::max(boxMax.z, p.z)};
}

Vector3 Centroid(const SightTriangle& t) {
    return {t.corner0.x + (t.edge1.x + t.edge2.x) / 3.0f, t.corner0.y + (t.edge1.y + t.edge2.y) / 3.0f,
            t.corner0.z + (t.edge1.z + t.edge2.z) / 3.0f};
}

// Entry distance of the ray into the box, or infinity when it misses it within [0, limit].
float BoxEntry(const Vector3& boxMin, const Vector3& boxMax, const Vector3& origin, const Vector3& inverse,
               float limit) {
    float near = 0.0f, far = limit;
    for (int axis = 0; axis < 3; ++axis) {
        const float o = Axis(origin, axis), inv = Axis(inverse, axis);
        float t0 = (Axis(boxMin, axis) - o) * inv, t1 = (Axis(boxMax, axis) - o) * inv;
        if (t0 > t1) std::swap(t0, t1);
        // NaN (a zero direction component on the slab's face) leaves the interval as it is.
        if (t0 > near) near = t0;
        if (t1 < far) far = t1;
        if (near > far) return std::numeric_limits<float>::infinity();
    }
    return near;
}

}  // namespace

TriangleBvh::TriangleBvh(std::vector<SightTriangle> triangles) : triangles_(std::move(triangles)) {
    nodes_.reserve(2 * triangles_.size() / kLeafSize + 2);
    Build(0, static_cast<std::uint32_t>(triangles_.size()));
}

std::uint32_t TriangleBvh::Build(std::uint32_t first, std::uint32_t count) {
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    const float inf = std::numeric_limits<float>::infinity();
    Vector3 boxMin{inf, inf, inf}, boxMax{-inf, -inf, -inf}, centreMin = boxMin, centreMax = boxMax;
    for (std::uint32_t i = first; i < first + count; ++i) {
        const SightTriangle& t = triangles_[i];
        Grow(boxMin, boxMax, t.corner0);
        Grow(boxMin, boxMax, {t.corner0.x + t.edge1.x, t.corner0.y + t.edge1.y, t.corner0.z + t.edge1.z});
        Grow(boxMin, boxMax, {t.corner0.x + t.edge2.x, t.corner0.y + t.edge2.y, t.corner0.z + t.edge2.z});
        Grow(centreMin, centreMax, Centroid(t));
    }
    nodes_.push_back({boxMin, boxMax, first, count, 0, 0});
    if (count <= kLeafSize) return index;

    const Vector3 extent = Sub(centreMax, centreMin);
    const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : extent.y >= extent.z ? 1 : 2;
    const std::uint32_t half = count / 2;
    std::nth_element(triangles_.begin() + first, triangles_.begin() + first + half, triangles_.begin() + first + count,
                     [axis](const SightTriangle& a, const SightTriangle& b) {
                         return Axis(Centroid(a), axis) < Axis(Centroid(b), axis);
                     });
    const std::uint32_t left = Build(first, half);
    const std::uint32_t right = Build(first + half, count - half);
    nodes_[index].count = 0;
    nodes_[index].left = left;
    nodes_[index].right = right;
    return index;
}

bool TriangleBvh::Nearest(const Vector3& origin, const Vector3& direction, float minDistance, RayHit& hit,
                          std::vector<RayHit>* passed, float nearPlane) const {
    if (nodes_.empty() || triangles_.empty()) return false;
    const Vector3 inverse{1.0f / direction.x, 1.0f / direction.y, 1.0f / direction.z};
    float best = std::numeric_limits<float>::infinity();
    bool found = false;
    std::uint32_t stack[64];
    int top = 0;
    if (BoxEntry(nodes_[0].boxMin, nodes_[0].boxMax, origin, inverse, best) == best) return false;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = nodes_[stack[--top]];
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
                const SightTriangle& t = triangles_[i];
                // Moller-Trumbore; det > 0 exactly when the face turns towards the ray's origin.
                const Vector3 p = Cross(direction, t.edge2);
                const float det = Dot(t.edge1, p);
                if (det <= kParallel) continue;
                const Vector3 s = Sub(origin, t.corner0);
                const float u = Dot(s, p);
                if (u < 0.0f || u > det) continue;
                const Vector3 q = Cross(s, t.edge1);
                const float v = Dot(direction, q);
                if (v < 0.0f || u + v > det) continue;
                const float distance = Dot(t.edge2, q) / det;
                if (distance <= minDistance) continue;
                const float tolerance = kTieTolerance * std::max(1.0f, distance);
                if (passed != nullptr && (t.seeThrough || distance < nearPlane)) {
                    if (distance <= best + tolerance) passed->push_back({distance, i, kNoTriangle});
                    continue;
                }
                if (distance < best - tolerance) {
                    hit = {distance, i, kNoTriangle};
                    best = distance;
                    found = true;
                } else if (distance <= best + tolerance && found && i != hit.triangle) {
                    if (distance < best) hit = {distance, i, hit.triangle};
                    else hit.tie = i;
                    best = std::min(best, distance);
                }
            }
            continue;
        }
        const float limit = best + kTieTolerance * std::max(1.0f, best);
        const float l = BoxEntry(nodes_[node.left].boxMin, nodes_[node.left].boxMax, origin, inverse, limit);
        const float r = BoxEntry(nodes_[node.right].boxMin, nodes_[node.right].boxMax, origin, inverse, limit);
        const float inf = std::numeric_limits<float>::infinity();
        // The nearer child goes on the stack last so that it is searched first.
        if (l <= r) {
            if (r != inf) stack[top++] = node.right;
            if (l != inf) stack[top++] = node.left;
        } else {
            if (l != inf) stack[top++] = node.left;
            if (r != inf) stack[top++] = node.right;
        }
    }
    return found;
}

}  // namespace brontal
