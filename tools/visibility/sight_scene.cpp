#include "visibility/sight_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "math/matrix.h"
#include "math/vector3.h"
#include "math/vector_ops.h"

namespace brontal {
namespace {

// A floor is a face whose normal rises at least this steeply (ramps count, walls do not).
constexpr float kFloorNormalY = 0.5f;
// Standing points are sought at most this many floors deep in one column.
constexpr int kMaxFloorsPerColumn = 16;
constexpr float kMaxColumns = 256.0f;  // along each side of a room
constexpr float kNearPlane = 1.0f;   // the game clips what is nearer than this: it hides nothing

void AddSurface(const Surface& surface, const Matrix4x4* world, std::uint16_t room, bool seeThrough,
                std::vector<SightTriangle>& out) {
    const std::size_t indexCount = std::min<std::size_t>(surface.indexCount, surface.indices.size());
    for (std::size_t i = 0; i + 3 <= indexCount; i += 3) {
        Vector3 corners[3];
        bool inside = true;
        for (int k = 0; k < 3; ++k) {
            const std::uint16_t index = surface.indices[i + k];
            if (index >= surface.vertices.size()) {
                inside = false;
                break;
            }
            const Vertex& v = surface.vertices[index];
            corners[k] = {v.x, v.y, v.z};
            if (world != nullptr) Vec3TransformCoord(&corners[k], &corners[k], world);
        }
        if (!inside) continue;
        out.push_back({corners[0], Sub(corners[1], corners[0]), Sub(corners[2], corners[0]), room, seeThrough});
    }
}

bool SurfaceSeeThrough(const Surface& surface, const std::vector<bool>& cutOutTextures) {
    const bool cutOut = surface.textureIndex < cutOutTextures.size() && cutOutTextures[surface.textureIndex];
    return cutOut || (!surface.name.empty() && surface.name[0] == '!');
}

std::vector<SightTriangle> LevelTriangles(const Level& level, const std::vector<bool>& cutOutTextures) {
    std::vector<SightTriangle> triangles;
    for (std::size_t r = 0; r < level.rooms.size(); ++r) {
        const Room& room = level.rooms[r];
        const auto roomIndex = static_cast<std::uint16_t>(r);
        for (std::size_t s = 0; s < room.surfaceCount && s < room.surfaces.size(); ++s) {
            AddSurface(room.surfaces[s], nullptr, roomIndex, SurfaceSeeThrough(room.surfaces[s], cutOutTextures),
                       triangles);
        }
        for (std::size_t o = 0; o < room.objectCount && o < room.objects.size(); ++o) {
            const RoomObject& object = room.objects[o];
            if (object.modelIndex >= level.models.size()) continue;
            const Model& model = level.models[object.modelIndex];
            // The world matrix as the reader builds it: rotated about the axis, then moved.
            Matrix4x4 world, rotation, translation;
            MatrixIdentity(&world);
            MatrixRotationAxis(&rotation, &object.rotationAxis, object.rotationAngle);
            MatrixMultiply(&world, &world, &rotation);
            MatrixTranslation(&translation, object.position.x, object.position.y, object.position.z);
            MatrixMultiply(&world, &world, &translation);
            for (std::size_t s = 0; s < model.surfaceCount && s < model.surfaces.size(); ++s) {
                const bool seeThrough = !model.solid || SurfaceSeeThrough(model.surfaces[s], cutOutTextures);
                AddSurface(model.surfaces[s], &world, roomIndex, seeThrough, triangles);
            }
        }
    }
    return triangles;
}

}  // namespace

bool HasCutOutTexels(const std::vector<std::uint8_t>& rgba) {
    for (std::size_t i = 3; i < rgba.size(); i += 4) {
        if (rgba[i] < kAlphaReference) return true;
    }
    return false;
}

SightScene::SightScene(const Level& level, const std::vector<bool>& cutOutTextures)
    : bvh(LevelTriangles(level, cutOutTextures)) {
    for (const Room& room : level.rooms) {
        Vector3 low{0, 0, 0}, high{0, 0, 0};
        bool any = false;
        for (std::size_t s = 0; s < room.surfaceCount && s < room.surfaces.size(); ++s) {
            for (const Vertex& v : room.surfaces[s].vertices) {
                const Vector3 p{v.x, v.y, v.z};
                if (!any) low = high = p;
                low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
                high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
                any = true;
            }
        }
        boxMin.push_back(low);
        boxMax.push_back(high);
        showsSky.push_back(room.showsSky);
    }
}

int SightScene::FollowRay(const Vector3& origin, const Vector3& direction, std::vector<float>& nearest,
                          bool& leftThroughSky) const {
    thread_local std::vector<RayHit> passed;
    passed.clear();
    RayHit stop;
    const bool stopped = bvh.Nearest(origin, direction, 0.0f, stop, &passed, kNearPlane);
    const auto meet = [&](std::uint32_t triangle, float distance) {
        const std::uint16_t room = bvh.Triangles()[triangle].room;
        nearest[room] = std::min(nearest[room], distance);
    };
    for (const RayHit& hit : passed) {
        if (!stopped || hit.distance <= stop.distance) meet(hit.triangle, hit.distance);
    }
    leftThroughSky = !stopped && PassesSkyRoom(origin, direction);
    if (!stopped) return -1;
    meet(stop.triangle, stop.distance);
    if (stop.tie != kNoTriangle) meet(stop.tie, stop.distance);
    return bvh.Triangles()[stop.triangle].room;
}

bool SightScene::RayCrossesBox(const Vector3& origin, const Vector3& direction, std::size_t room,
                               float* leaves) const {
    const float o[3] = {origin.x, origin.y, origin.z}, d[3] = {direction.x, direction.y, direction.z};
    const float low[3] = {boxMin[room].x, boxMin[room].y, boxMin[room].z};
    const float high[3] = {boxMax[room].x, boxMax[room].y, boxMax[room].z};
    float near = 0.0f, far = std::numeric_limits<float>::infinity();
    for (int axis = 0; axis < 3; ++axis) {
        if (d[axis] == 0.0f) {
            if (o[axis] < low[axis] || o[axis] > high[axis]) return false;
            continue;
        }
        float t0 = (low[axis] - o[axis]) / d[axis], t1 = (high[axis] - o[axis]) / d[axis];
        if (t0 > t1) std::swap(t0, t1);
        near = std::max(near, t0);
        far = std::min(far, t1);
        if (near > far) return false;
    }
    if (leaves != nullptr) *leaves = far;
    return true;
}

bool SightScene::PassesSkyRoom(const Vector3& origin, const Vector3& direction) const {
    for (std::size_t r = 0; r < showsSky.size(); ++r) {
        if (showsSky[r] && RayCrossesBox(origin, direction, r)) return true;
    }
    return false;
}

int SightScene::LastRoomOnRay(const Vector3& origin, const Vector3& direction) const {
    int last = -1;
    float latest = -1.0f;
    for (std::size_t r = 0; r < boxMin.size(); ++r) {
        float leaves = 0.0f;
        if (RayCrossesBox(origin, direction, r, &leaves) && leaves > latest) {
            latest = leaves;
            last = static_cast<int>(r);
        }
    }
    return last;
}

int SightScene::CurrentRoomAt(const Vector3& p) const {
    for (int r = static_cast<int>(boxMin.size()) - 1; r >= 0; --r) {
        const Vector3& low = boxMin[r];
        const Vector3& high = boxMax[r];
        if (low.x < p.x && p.x < high.x && low.y < p.y && p.y < high.y && low.z < p.z && p.z < high.z) return r;
    }
    return -1;
}

std::vector<Vector3> SightScene::StandingPoints(std::uint16_t room, float spacing) const {
    std::vector<Vector3> points;
    const Vector3& low = boxMin[room];
    const Vector3& high = boxMax[room];
    // Kept in float until bounded: a box may be wider than an int counts.
    const auto columns = [spacing](float extent) {
        const float n = std::ceil(extent / spacing);
        return n >= 1.0f ? static_cast<int>(std::min(n, kMaxColumns)) : 1;
    };
    const int columnsX = columns(high.x - low.x), columnsZ = columns(high.z - low.z);
    const Vector3 down{0.0f, -1.0f, 0.0f};
    for (int i = 0; i < columnsX; ++i) {
        for (int k = 0; k < columnsZ; ++k) {
            // Column centres, so that no column lies on the box's face.
            const float x = low.x + (high.x - low.x) * (static_cast<float>(i) + 0.5f) / static_cast<float>(columnsX);
            const float z = low.z + (high.z - low.z) * (static_cast<float>(k) + 0.5f) / static_cast<float>(columnsZ);
            const Vector3 top{x, high.y, z};
            float from = 0.0f;
            RayHit hit;
            for (int floor = 0; floor < kMaxFloorsPerColumn && bvh.Nearest(top, down, from, hit); ++floor) {
                from = hit.distance;
                const SightTriangle& t = bvh.Triangles()[hit.triangle];
                const Vector3 n = Cross(t.edge1, t.edge2);
                const float length = Length(n);
                if (length <= 0.0f || n.y < kFloorNormalY * length) continue;
                const Vector3 centre{x, high.y - hit.distance + kStandingHeight, z};
                if (CurrentRoomAt(centre) == room) points.push_back(centre);
                if (centre.y - kStandingHeight < low.y) break;
            }
        }
    }
    return points;
}

}  // namespace brontal
