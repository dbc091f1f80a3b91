#pragma once
// Building triangle surfaces for the sample level out of quads, grids, boxes and prisms.
//
// Winding: the device culls counter-clockwise triangles, so a face is visible when its corners
// run clockwise as the viewer sees it. Every helper here takes a face as an origin and two edge
// vectors, "right" and "down" as the viewer of the face sees them; the face then looks towards
// Cross(right, down), and texture u follows right, v follows down (v grows down the image).
//
// A room surface holds at most 255 triangles (the count is 8 bits in the file format), so a
// builder starts a new surface of the same name and texture whenever the next quad would not
// fit; large grids therefore become several surfaces, each a compact strip of rows.
#include <cstdint>
#include <string>
#include <vector>

#include "level/world.h"
#include "math/types.h"
#include "math/vector_ops.h"

namespace brontal::sample {

inline constexpr int kMaxSurfaceTriangles = 255;

// Texture coordinates of a face: u = (dot(p, right) / |right|) / uWorld + uOffset, the same for
// v: world-sized tiles keep the texel density even, and faces that continue each other in the
// same directions continue each other's texture.
struct TexMapping {
    float uWorld = 128.0f;  // world units per texture repeat along right
    float vWorld = 128.0f;  // world units per texture repeat along down
    float uOffset = 0.0f;
    float vOffset = 0.0f;
};

// A fixed rectangle of the texture: u0..u1, v0..v1 spread over the whole face.
struct TexRect {
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
};

class SurfaceBuilder {
public:
    SurfaceBuilder(std::string name, std::uint16_t textureIndex, int maxTriangles = kMaxSurfaceTriangles);

    // One flat quad, corners origin, origin + right, origin + right + down, origin + down.
    void Quad(const Vector3& origin, const Vector3& right, const Vector3& down, const TexMapping& map);
    void Quad(const Vector3& origin, const Vector3& right, const Vector3& down, const TexRect& rect);
    // The same quad cut into columns x rows cells, so that per-vertex lighting can show pools.
    void Grid(const Vector3& origin, const Vector3& right, const Vector3& down, int columns, int rows,
              const TexMapping& map);
    // A grid whose cell count follows from a target cell size in world units.
    void GridBySize(const Vector3& origin, const Vector3& right, const Vector3& down, float cellSize,
                    const TexMapping& map);
    // One triangle given clockwise as seen from its front, with its own texture coordinates.
    void Triangle(const Vertex& a, const Vertex& b, const Vertex& c);
    // A planar quad from its corners as the viewer sees them: top left, top right, bottom right,
    // bottom left; turned round when needed so that it looks towards `facing`.
    void QuadFacing(Vertex tl, Vertex tr, Vertex br, Vertex bl, const Vector3& facing);
    // A triangle turned round when needed so that it looks towards `facing`.
    void TriangleFacing(const Vertex& a, Vertex b, Vertex c, const Vector3& facing);

    // An axis-aligned box with its faces looking outwards; `faces` selects them (bits of BoxFace).
    void Box(const Vector3& min, const Vector3& max, const TexMapping& map, unsigned faces = 0x3F);
    // A prism of `sides` sides around the vertical line through centreBottom, from its y up by
    // height, radius r0 at the bottom and r1 at the top, faces looking outwards, optional caps.
    void Prism(const Vector3& centreBottom, float height, float r0, float r1, int sides, const TexRect& rect,
               bool caps);

    // The finished surfaces, each of at most maxTriangles triangles, in the order made.
    std::vector<Surface> Take();

private:
    Surface& Current(int newTriangles, int newVertices);

    std::string name_;
    std::uint16_t textureIndex_;
    int maxTriangles_;
    std::vector<Surface> surfaces_;
};

enum BoxFace : unsigned {
    kFaceMinX = 1u << 0,
    kFaceMaxX = 1u << 1,
    kFaceMinY = 1u << 2,
    kFaceMaxY = 1u << 3,
    kFaceMinZ = 1u << 4,
    kFaceMaxZ = 1u << 5,
};

// Fills the counts of a surface from its arrays (vertex, index and 8-bit triangle counts).
void FinishSurface(Surface& surface);

inline Vector3 V3(float x, float y, float z) { return Vector3{x, y, z}; }

}  // namespace brontal::sample
