#pragma once
// Where a draw's vertices and indices live on the GPU. The device hands every draw with its
// data in the caller's memory; re-sending all of it each frame costs about twice the drawing on
// llvmpipe, so geometry that does not change is kept in shared static buffers and drawn with a
// base vertex, while data that changes is streamed.
//
// Indexed draws are the world's meshes (rooms, models, the figure's parts): each is placed in
// the static buffers the first time it is seen, so nothing static is uploaded after the frame
// that first shows it (and nothing at all after the start-up pass, for the level's rooms and
// models). Non-indexed draws are short lists rebuilt as they are drawn (the sky's faces from one
// stack array, the text from the locked vertex buffer) and are always streamed.
//
// What is static is checked by content, not trusted from the pointer: an indexed draw is keyed
// by (vertex pointer, vertex bytes, index pointer, index count, format, stride) and the bytes
// placed under the key are kept. A draw whose bytes equal them is drawn from the static
// buffers; one whose bytes differ is streamed, and the key is placed afresh when the same new
// bytes come again, at most kMaxContentChanges times; memory that is reused for other data
// can so never draw stale geometry. The check is a memcmp of the draw's bytes, far cheaper than
// an upload. The static buffers stop growing at kMaxStaticBytes; later geometry is streamed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "device/backend.h"
#include "device/gl/gl_api.h"

namespace brontal {

GLenum GlPrimitiveMode(D3DPRIMITIVETYPE type);

struct GlGeometryStats {
    std::uint64_t staticHits = 0;      // draws found in the static buffers
    std::uint64_t staticUploads = 0;   // draws placed there
    std::uint64_t streamedDraws = 0;
    std::uint64_t staticBytes = 0;     // bytes uploaded to the static buffers
    std::uint64_t streamedBytes = 0;
};

// Where to draw from: bind `vao`, then draw `first` (non-indexed) or the indices at
// `indexOffset` bytes with `baseVertex`.
struct GlPlacement {
    GLuint vao = 0;
    GLint first = 0;
    GLint baseVertex = 0;
    std::uintptr_t indexOffset = 0;
    Vector3 boxMin{}, boxMax{};  // of the draw's vertices (not measured for pre-transformed ones)
};

class GlGeometry {
public:
    GlGeometry();
    ~GlGeometry();
    GlGeometry(const GlGeometry&) = delete;
    GlGeometry& operator=(const GlGeometry&) = delete;

    // False when the draw cannot be placed (a format without a position, a stride too small).
    bool Place(const DrawCall& call, GlPlacement& out);
    // False when placing the draw might start the stream buffers afresh: a draw placed earlier
    // but not yet sent would then read the new storage.
    bool StreamHasRoomFor(const DrawCall& call) const;
    // Geometry drawn before the first scene (the start-up pass over every room): placed in
    // the static buffers now, so the frames that follow upload nothing.
    void Prime(const DrawCall& call);
    // Lets go of every static placement and the buffers holding them (the level was replaced).
    void ForgetStatic();
    // When off, everything is streamed (for measuring what the cache saves).
    void SetStaticCaching(bool on) { caching_ = on; }
    const GlGeometryStats& Stats() const { return stats_; }

private:
    struct Key {
        const void* vertices;
        std::size_t vertexBytes;
        const void* indices;
        std::uint32_t indexCount;
        std::uint32_t fvf;
        std::uint32_t stride;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    struct Chunk;
    struct Entry {
        std::vector<std::uint8_t> bytes;  // the vertex bytes then the index bytes last seen
        bool placed = false;        // the bytes are in the static buffers at `placement`
        std::uint32_t changes = 0;  // times the bytes differed; changing data stays streamed
        GlPlacement placement;
    };
    struct Arena {
        std::uint32_t fvf = 0, stride = 0;
        std::vector<std::unique_ptr<Chunk>> chunks;
    };
    struct StreamVao {
        std::uint32_t fvf, stride;
        GLuint vao;
    };

    bool PlaceStatic(const DrawCall& call, const std::uint8_t* vertexBytes, std::size_t vertexSize,
                     GlPlacement& out);
    bool PlaceStreamed(const DrawCall& call, const std::uint8_t* vertexBytes, std::size_t vertexSize,
                       GlPlacement& out);
    std::size_t StreamWrite(GLuint buffer, GLenum target, std::size_t& head, std::size_t capacity,
                            const void* data, std::size_t size, std::size_t alignment);
    GLuint StreamVaoFor(std::uint32_t fvf, std::uint32_t stride);

    bool caching_ = true;
    GlGeometryStats stats_;
    std::unordered_map<Key, Entry, KeyHash> entries_;
    std::vector<Arena> arenas_;
    GLuint streamVertices_ = 0, streamIndices_ = 0;
    std::size_t streamVertexHead_ = 0, streamIndexHead_ = 0;
    std::vector<StreamVao> streamVaos_;
};

// Sets the attribute pointers of the bound VAO for a format and stride, reading from the
// buffer bound to GL_ARRAY_BUFFER.
void SetVertexAttributes(std::uint32_t fvf, std::uint32_t stride);

}  // namespace brontal
