#pragma once
// The world model: the in-memory level. The reader fills it once; from then on it is only read.
// Counts and indices are unsigned 16-bit, as in the file. Every array is owned by its record.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/d3d8_types.h"
#include "math/types.h"

namespace brontal {

class Device;
class Texture;

// The drawn vertex layout: position plus one texture-coordinate pair (RoomVertexFormat).
struct Vertex {
    float x, y, z;
    float u, v;
};
static_assert(sizeof(Vertex) == 20);

struct Surface {
    std::uint16_t vertexCount = 0;
    std::uint16_t indexCount = 0;
    std::vector<Vertex> vertices;
    std::vector<std::uint16_t> indices;  // positions in vertices, three per triangle
    std::uint16_t textureIndex = 0;
    std::uint8_t triangleCount = 0;  // indexCount / 3 kept in 8 bits: room surfaces draw with it
    std::string name;                // a leading '!' keeps the surface out of collision
};

struct RoomLight {
    D3DLIGHT8 light{};  // handed to the device unchanged
};

// The record a light chunk stands for: a point light at `position` that lights only through its
// ambient term, the file's colour (0..1 a channel) times 255, attenuated by 1 / (150 + 0.1 d) up
// to `range`.
RoomLight MakeRoomLight(const Vector3& position, const Vector3& colour, float range);

using BoxCorners = std::array<Vector3, 8>;  // corner k: x from max if bit 0, y if bit 1, z if bit 2

struct RoomObject {
    std::uint16_t modelIndex = 0;
    Vector3 position{};
    Vector3 rotationAxis{};
    float rotationAngle = 0.0f;
    Vector3 boxMin{}, boxMax{};  // copy of the model's box, model space
    Matrix4x4 world{};           // model space to world space
    BoxCorners corners{};        // world space
    bool solid = false;          // copy of the model's flag
};

struct Room {
    std::uint16_t surfaceCount = 0;  // entries of surfaces in use
    std::uint16_t objectCount = 0;
    std::uint16_t lightCount = 0;
    std::uint16_t visibleRoomCount = 0;
    std::vector<std::uint16_t> visibleRooms;
    bool showsSky = false;
    Vector3 boxMin{}, boxMax{};
    std::vector<Surface> surfaces;  // declared surface count + 5 places
    std::vector<RoomLight> lights;
    std::vector<RoomObject> objects;
    std::string name;
};

struct Model {
    std::uint16_t reserved = 0;
    std::uint16_t surfaceCount = 0;
    Vector3 boxMin{}, boxMax{};
    std::vector<Surface> surfaces;
    bool solid = false;
};

struct KeyTrack {
    std::vector<Vector3> positions;
    std::vector<Quaternion> rotations;
    std::uint16_t keyCount = 0;
};

struct AnimatedPart {
    std::uint16_t vertexCount = 0;
    std::uint16_t indexCount = 0;
    std::vector<Vertex> vertices;
    Vector3 secondPoint{};
    Vector3 pivot{};
    std::vector<std::uint16_t> indices;
    std::uint16_t textureIndex = 0;
    std::uint16_t triangleCount = 0;
    std::string name;
};

struct AnimatedModel {
    std::uint32_t unused = 0;
    std::vector<AnimatedPart> parts;
    std::vector<KeyTrack> tracks;
    std::uint16_t partCount = 0;
    std::uint16_t trackCount = 0;
};

// The twelve triangles of a box's eight corners, two per face.
inline constexpr std::array<std::uint16_t, 36> BoxTriangleIndices = {
    1, 2, 3, 2, 1, 0,  // min z
    4, 5, 6, 6, 5, 7,  // max z
    3, 2, 6, 3, 6, 7,  // max y
    0, 1, 4, 4, 1, 5,  // min y
    2, 0, 4, 2, 4, 6,  // min x
    1, 3, 5, 5, 3, 7,  // max x
};

class Level {
public:
    Device* device = nullptr;
    std::uint16_t roomCount = 0;
    std::uint16_t modelCount = 0;
    std::uint16_t animatedModelCount = 0;
    std::uint16_t textureCount = 0;
    std::string levelName;
    std::vector<Room> rooms;
    std::vector<Model> models;
    Vector3 startPosition{};
    std::vector<Texture*> TextureTable;  // owned by the device
    std::vector<AnimatedModel> animatedModels;

    // Reads the level file; see level/reader.h for what it refuses. Returns false (and leaves
    // this level empty) when the file is refused; the message is in LastError().
    bool load(const std::string& path, Device* device);
    const std::string& LastError() const { return lastError_; }

    // Draw one room with its objects, and one model under the current world transform
    // (render/room_draw.cpp).
    void DrawRoom(std::uint16_t roomIndex);
    void DrawModel(std::uint16_t modelIndex);

private:
    std::string lastError_;
};

// Each surface's box as ComputeBoundingBox gives it for the surface's vertices, per room and per
// model in level order. The reader fills them while each surface's vertices are still in the
// cache; deriving from them gives the same boxes as deriving from the vertices again.
struct SurfaceBox {
    Vector3 low{}, high{};
};
// The box of a surface's vertices; the zero box when it has none.
SurfaceBox BoxOf(const Surface& surface);
// The same box for count vertices laid out as in the file, at any alignment, every coordinate a
// finite number (as the reader has made sure): several vertices at a time.
SurfaceBox BoxOfVertexBytes(const std::uint8_t* bytes, std::size_t count);

struct KnownSurfaceBoxes {
    std::vector<std::vector<SurfaceBox>> rooms, models;
};

// Room and model boxes, object boxes and world-space corners, in that order. Surfaces whose box
// `known` holds are not walked again.
void deriveAfterLoad(Level& level, const KnownSurfaceBoxes* known = nullptr);

extern Level g_level;

}  // namespace brontal
