// The process-wide level and what is derived from it once it is read.
#include "level/world.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

#include "level/box_corners.h"
#include "math/plane.h"
#include "math/vector3.h"

namespace brontal {

Level g_level;

namespace {

// The box of every vertex of the surfaces in use; the zero box when there are none. Each
// surface's box comes straight from its vertices (or from `known`, when the reader has it), and
// the boxes are joined in surface order.
void JoinSurfaceBoxes(const std::vector<Surface>& surfaces, std::size_t inUse, const std::vector<SurfaceBox>* known,
                      Vector3& boxMin, Vector3& boxMax) {
    boxMin = boxMax = Vector3{0.0f, 0.0f, 0.0f};
    bool any = false;
    for (std::size_t s = 0; s < inUse && s < surfaces.size(); ++s) {
        // The reader's count stands for vertices it may have left in the file.
        const bool isKnown = known != nullptr && s < known->size();
        if (isKnown ? surfaces[s].vertexCount == 0 : surfaces[s].vertices.empty()) continue;
        const SurfaceBox box = isKnown ? (*known)[s] : BoxOf(surfaces[s]);
        const Vector3 &low = box.low, &high = box.high;
        if (!any) {
            boxMin = low;
            boxMax = high;
            any = true;
            continue;
        }
        if (low.x < boxMin.x) boxMin.x = low.x;
        if (low.y < boxMin.y) boxMin.y = low.y;
        if (low.z < boxMin.z) boxMin.z = low.z;
        if (high.x > boxMax.x) boxMax.x = high.x;
        if (high.y > boxMax.y) boxMax.y = high.y;
        if (high.z > boxMax.z) boxMax.z = high.z;
    }
}

}  // namespace

SurfaceBox BoxOfVertexBytes(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return {};
    // Four vertices are twenty floats, and each float's place in such a block is one component of
    // one of the four: twenty running minima and maxima, which the compiler keeps in vector
    // registers, take a block at a time. A place is walked in vertex order, so it keeps the first
    // of equal values as the one-at-a-time walk does.
    constexpr std::size_t kFloats = sizeof(Vertex) / sizeof(float), kBlock = 4 * kFloats;
    constexpr float kHuge = std::numeric_limits<float>::infinity();
    float low[kBlock], high[kBlock];
    std::fill(std::begin(low), std::end(low), kHuge);
    std::fill(std::begin(high), std::end(high), -kHuge);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        float block[kBlock];
        std::memcpy(block, bytes + i * sizeof(Vertex), sizeof block);
        for (std::size_t j = 0; j < kBlock; ++j) {
            low[j] = block[j] < low[j] ? block[j] : low[j];
            high[j] = block[j] > high[j] ? block[j] : high[j];
        }
    }
    for (; i < count; ++i) {
        float vertex[kFloats];
        std::memcpy(vertex, bytes + i * sizeof(Vertex), sizeof vertex);
        for (std::size_t c = 0; c < 3; ++c) {
            float &l = low[(i % 4) * kFloats + c], &h = high[(i % 4) * kFloats + c];
            l = vertex[c] < l ? vertex[c] : l;
            h = vertex[c] > h ? vertex[c] : h;
        }
    }
    // The four places of a component joined. Equal values have the same bits except for the two
    // zeros: when the end is zero, the first vertex at zero decides its sign, as it would walking
    // one at a time.
    const auto join = [&](const float* places, std::size_t c, bool lowest) {
        float end = places[c];
        for (std::size_t r = 1; r < 4; ++r) {
            const float v = places[r * kFloats + c];
            end = lowest ? (v < end ? v : end) : (v > end ? v : end);
        }
        for (std::size_t k = 0; end == 0.0f && k < count; ++k) {
            float v;
            std::memcpy(&v, bytes + k * sizeof(Vertex) + c * sizeof(float), sizeof v);
            if (v == 0.0f) return v;
        }
        return end;
    };
    SurfaceBox box;
    box.low = {join(low, 0, true), join(low, 1, true), join(low, 2, true)};
    box.high = {join(high, 0, false), join(high, 1, false), join(high, 2, false)};
    return box;
}

SurfaceBox BoxOf(const Surface& surface) {
    SurfaceBox box;
    if (!surface.vertices.empty())
        ComputeBoundingBox(reinterpret_cast<const Vector3*>(surface.vertices.data()),
                           static_cast<unsigned>(surface.vertices.size()), sizeof(Vertex), &box.low, &box.high);
    return box;
}

RoomLight MakeRoomLight(const Vector3& position, const Vector3& colour, float range) {
    RoomLight light;
    light.light.Type = D3DLIGHT_POINT;
    light.light.Ambient = {colour.x * 255.0f, colour.y * 255.0f, colour.z * 255.0f, 0.0f};
    light.light.Position = {position.x, position.y, position.z};
    light.light.Range = range;
    light.light.Attenuation0 = 150.0f;
    light.light.Attenuation1 = 0.1f;
    return light;
}

BoxCorners MakeBoxCorners(const Vector3& boxMin, const Vector3& boxMax) {
    BoxCorners corners{};
    for (unsigned k = 0; k < corners.size(); ++k) {
        corners[k] = {(k & 1u) ? boxMax.x : boxMin.x, (k & 2u) ? boxMax.y : boxMin.y, (k & 4u) ? boxMax.z : boxMin.z};
    }
    return corners;
}

void deriveAfterLoad(Level& level, const KnownSurfaceBoxes* known) {
    for (std::size_t r = 0; r < level.rooms.size(); ++r) {
        Room& room = level.rooms[r];
        const auto* boxes = known != nullptr && r < known->rooms.size() ? &known->rooms[r] : nullptr;
        JoinSurfaceBoxes(room.surfaces, room.surfaceCount, boxes, room.boxMin, room.boxMax);
    }
    for (std::size_t m = 0; m < level.models.size(); ++m) {
        Model& model = level.models[m];
        const auto* boxes = known != nullptr && m < known->models.size() ? &known->models[m] : nullptr;
        JoinSurfaceBoxes(model.surfaces, model.surfaceCount, boxes, model.boxMin, model.boxMax);
    }
    for (Room& room : level.rooms) {
        for (std::size_t o = 0; o < room.objectCount && o < room.objects.size(); ++o) {
            RoomObject& object = room.objects[o];
            if (object.modelIndex >= level.models.size()) continue;  // the reader refuses such levels
            const Model& model = level.models[object.modelIndex];
            object.boxMin = model.boxMin;
            object.boxMax = model.boxMax;
            object.solid = model.solid;
            object.corners = MakeBoxCorners(object.boxMin, object.boxMax);
            for (Vector3& corner : object.corners) Vec3TransformCoord(&corner, &corner, &object.world);
        }
    }
}

}  // namespace brontal
