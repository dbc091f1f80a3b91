#include "device/gl/gl_geometry.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "device/vertex_format.h"
#include "math/plane.h"

namespace brontal {

namespace {

constexpr std::size_t kChunkVertexBytes = 4u << 20;
constexpr std::size_t kChunkIndexBytes = 1u << 20;
constexpr std::size_t kStreamVertexBytes = 4u << 20;
constexpr std::size_t kStreamIndexBytes = 1u << 20;
constexpr std::uint32_t kMaxContentChanges = 2;  // then a key's data counts as changing
constexpr std::uint64_t kMaxStaticBytes = 512ull << 20;

}  // namespace

GLenum GlPrimitiveMode(D3DPRIMITIVETYPE type) {
    switch (type) {
        case D3DPT_POINTLIST: return GL_POINTS;
        case D3DPT_LINELIST: return GL_LINES;
        case D3DPT_LINESTRIP: return GL_LINE_STRIP;
        case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

namespace {

std::size_t RoundUp(std::size_t value, std::size_t alignment) { return (value + alignment - 1) / alignment * alignment; }

}  // namespace

void SetVertexAttributes(std::uint32_t fvf, std::uint32_t stride) {
    const VertexLayout l = DecodeVertexFormat(fvf);
    const auto s = static_cast<GLsizei>(stride);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, l.preTransformed ? 4 : 3, GL_FLOAT, GL_FALSE, s, nullptr);
    if (l.diffuseOffset >= 0) {
        glEnableVertexAttribArray(1);
        // D3DCOLOR is 0xAARRGGBB: in memory B, G, R, A, which is what GL_BGRA reads.
        glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, s,
                              reinterpret_cast<const void*>(static_cast<std::uintptr_t>(l.diffuseOffset)));
    } else {
        glDisableVertexAttribArray(1);
    }
    if (l.texCoordOffset >= 0) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, s,
                              reinterpret_cast<const void*>(static_cast<std::uintptr_t>(l.texCoordOffset)));
    } else {
        glDisableVertexAttribArray(2);
    }
}

struct GlGeometry::Chunk {
    GLuint vertexBuffer = 0, indexBuffer = 0, vao = 0;
    std::size_t vertexCapacity = 0, indexCapacity = 0;  // bytes
    std::size_t vertexHead = 0, indexHead = 0;
    ~Chunk() {
        glDeleteVertexArrays(1, &vao);
        glDeleteBuffers(1, &vertexBuffer);
        glDeleteBuffers(1, &indexBuffer);
    }
};

std::size_t GlGeometry::KeyHash::operator()(const Key& k) const {
    std::size_t h = std::hash<const void*>{}(k.vertices);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(k.vertexBytes);
    mix(std::hash<const void*>{}(k.indices));
    mix(k.indexCount);
    mix((std::size_t{k.fvf} << 32) | k.stride);
    return h;
}

GlGeometry::GlGeometry() {
    glGenBuffers(1, &streamVertices_);
    glBindBuffer(GL_ARRAY_BUFFER, streamVertices_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kStreamVertexBytes), nullptr, GL_STREAM_DRAW);
    glGenBuffers(1, &streamIndices_);
    glBindBuffer(GL_COPY_WRITE_BUFFER, streamIndices_);
    glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(kStreamIndexBytes), nullptr, GL_STREAM_DRAW);
}

GlGeometry::~GlGeometry() {
    for (auto& v : streamVaos_) glDeleteVertexArrays(1, &v.vao);
    arenas_.clear();
    glDeleteBuffers(1, &streamVertices_);
    glDeleteBuffers(1, &streamIndices_);
}

bool GlGeometry::Place(const DrawCall& call, GlPlacement& out) {
    const VertexLayout layout = DecodeVertexFormat(call.fvf);
    if (!layout.valid || call.stride < layout.size || call.vertexCount <= call.minVertexIndex) return false;
    // Only vertices [minVertexIndex, vertexCount) are the caller's to read.
    const auto* vertexBytes = static_cast<const std::uint8_t*>(call.vertices) +
                              std::size_t{call.minVertexIndex} * call.stride;
    const std::size_t vertexSize = std::size_t{call.vertexCount - call.minVertexIndex} * call.stride;
    const std::size_t indexSize = std::size_t{call.indexCount} * sizeof(std::uint16_t);
    auto measured = [&](bool placed) {
        if (placed && !layout.preTransformed)
            ComputeBoundingBox(reinterpret_cast<const Vector3*>(vertexBytes), call.vertexCount - call.minVertexIndex,
                               call.stride, &out.boxMin, &out.boxMax);
        return placed;
    };

    if (!caching_ || !call.indices) return measured(PlaceStreamed(call, vertexBytes, vertexSize, out));

    const Key key{call.vertices, vertexSize, call.indices, call.indexCount, call.fvf, call.stride};
    auto [it, fresh] = entries_.try_emplace(key);
    Entry& e = it->second;
    auto remember = [&] {
        const auto* indexBytes = reinterpret_cast<const std::uint8_t*>(call.indices);
        e.bytes.assign(vertexBytes, vertexBytes + vertexSize);
        e.bytes.insert(e.bytes.end(), indexBytes, indexBytes + indexSize);
    };
    const bool same = !fresh && e.bytes.size() == vertexSize + indexSize &&
                      std::memcmp(e.bytes.data(), vertexBytes, vertexSize) == 0 &&
                      std::memcmp(e.bytes.data() + vertexSize, call.indices, indexSize) == 0;
    if (same && e.placed) {
        ++stats_.staticHits;
        out = e.placement;
        return true;
    }
    if (!fresh && !same) {
        // Other bytes under a known key: remember them, and draw them streamed this time.
        ++e.changes;
        e.placed = false;
        remember();
        return measured(PlaceStreamed(call, vertexBytes, vertexSize, out));
    }
    // New, or the same bytes seen again after a change: static while the key has not changed
    // too often and there is room.
    if (e.changes >= kMaxContentChanges || stats_.staticBytes + vertexSize + indexSize > kMaxStaticBytes)
        return measured(PlaceStreamed(call, vertexBytes, vertexSize, out));
    if (!measured(PlaceStatic(call, vertexBytes, vertexSize, out))) {
        if (fresh) entries_.erase(it);
        return false;
    }
    if (fresh) remember();
    e.placed = true;
    e.placement = out;
    return true;
}

bool GlGeometry::StreamHasRoomFor(const DrawCall& call) const {
    // As much as the draw could stream, with the alignment StreamWrite may add.
    const std::size_t vertexSize = std::size_t{call.vertexCount} * call.stride + call.stride;
    const std::size_t indexSize = std::size_t{call.indexCount} * sizeof(std::uint16_t) + sizeof(std::uint16_t);
    return streamVertexHead_ + vertexSize <= kStreamVertexBytes && streamIndexHead_ + indexSize <= kStreamIndexBytes;
}

void GlGeometry::ForgetStatic() {
    entries_.clear();
    arenas_.clear();
    stats_.staticBytes = 0;  // the cap counts what the buffers hold now
}

void GlGeometry::Prime(const DrawCall& call) {
    if (!caching_ || !call.indices) return;
    GlPlacement ignored;
    Place(call, ignored);
}

bool GlGeometry::PlaceStatic(const DrawCall& call, const std::uint8_t* vertexBytes, std::size_t vertexSize,
                             GlPlacement& out) {
    const std::size_t indexSize = std::size_t{call.indexCount} * sizeof(std::uint16_t);
    auto arena = std::find_if(arenas_.begin(), arenas_.end(),
                              [&](const Arena& a) { return a.fvf == call.fvf && a.stride == call.stride; });
    if (arena == arenas_.end()) {
        arenas_.push_back(Arena{call.fvf, call.stride, {}});
        arena = arenas_.end() - 1;
    }
    Chunk* chunk = arena->chunks.empty() ? nullptr : arena->chunks.back().get();
    if (!chunk || chunk->vertexHead + vertexSize > chunk->vertexCapacity ||
        chunk->indexHead + indexSize > chunk->indexCapacity) {
        auto made = std::make_unique<Chunk>();
        made->vertexCapacity = std::max(kChunkVertexBytes / call.stride * call.stride, vertexSize);
        made->indexCapacity = std::max(kChunkIndexBytes, indexSize);
        glGenVertexArrays(1, &made->vao);
        glBindVertexArray(made->vao);
        glGenBuffers(1, &made->vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, made->vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(made->vertexCapacity), nullptr, GL_STATIC_DRAW);
        glGenBuffers(1, &made->indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, made->indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(made->indexCapacity), nullptr, GL_STATIC_DRAW);
        SetVertexAttributes(call.fvf, call.stride);
        arena->chunks.push_back(std::move(made));
        chunk = arena->chunks.back().get();
    }
    glBindVertexArray(chunk->vao);
    glBindBuffer(GL_ARRAY_BUFFER, chunk->vertexBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(chunk->vertexHead), static_cast<GLsizeiptr>(vertexSize),
                    vertexBytes);
    if (indexSize)
        glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLintptr>(chunk->indexHead),
                        static_cast<GLsizeiptr>(indexSize), call.indices);
    const auto firstSlot = static_cast<GLint>(chunk->vertexHead / call.stride);
    out.vao = chunk->vao;
    out.first = firstSlot;
    out.baseVertex = firstSlot - static_cast<GLint>(call.minVertexIndex);
    out.indexOffset = chunk->indexHead;
    chunk->vertexHead += vertexSize;
    chunk->indexHead += indexSize;
    ++stats_.staticUploads;
    stats_.staticBytes += vertexSize + indexSize;
    return true;
}

std::size_t GlGeometry::StreamWrite(GLuint buffer, GLenum target, std::size_t& head, std::size_t capacity,
                                    const void* data, std::size_t size, std::size_t alignment) {
    glBindBuffer(target, buffer);
    std::size_t at = RoundUp(head, alignment);
    GLbitfield access = GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT;
    if (at + size > capacity) {
        // Wrap: fresh storage for the whole buffer, so draws still queued keep their data.
        glBufferData(target, static_cast<GLsizeiptr>(std::max(capacity, size)), nullptr, GL_STREAM_DRAW);
        at = 0;
        access = GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT;
    }
    void* mapped = glMapBufferRange(target, static_cast<GLintptr>(at), static_cast<GLsizeiptr>(size), access);
    if (mapped) {
        std::memcpy(mapped, data, size);
        glUnmapBuffer(target);
    }
    head = at + size;
    return at;
}

GLuint GlGeometry::StreamVaoFor(std::uint32_t fvf, std::uint32_t stride) {
    for (const auto& v : streamVaos_)
        if (v.fvf == fvf && v.stride == stride) return v.vao;
    GLuint vao = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, streamVertices_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIndices_);
    SetVertexAttributes(fvf, stride);
    streamVaos_.push_back({fvf, stride, vao});
    return vao;
}

bool GlGeometry::PlaceStreamed(const DrawCall& call, const std::uint8_t* vertexBytes, std::size_t vertexSize,
                               GlPlacement& out) {
    out.vao = StreamVaoFor(call.fvf, call.stride);
    glBindVertexArray(out.vao);
    const std::size_t capacityV = kStreamVertexBytes > vertexSize ? kStreamVertexBytes : vertexSize;
    const std::size_t at = StreamWrite(streamVertices_, GL_ARRAY_BUFFER, streamVertexHead_, capacityV, vertexBytes,
                                       vertexSize, call.stride);
    const auto firstSlot = static_cast<GLint>(at / call.stride);
    out.first = firstSlot;
    out.baseVertex = firstSlot - static_cast<GLint>(call.minVertexIndex);
    out.indexOffset = 0;
    std::size_t streamed = vertexSize;
    if (call.indices) {
        const std::size_t indexSize = std::size_t{call.indexCount} * sizeof(std::uint16_t);
        const std::size_t capacityI = kStreamIndexBytes > indexSize ? kStreamIndexBytes : indexSize;
        out.indexOffset = StreamWrite(streamIndices_, GL_ELEMENT_ARRAY_BUFFER, streamIndexHead_, capacityI,
                                      call.indices, indexSize, sizeof(std::uint16_t));
        streamed += indexSize;
    }
    ++stats_.streamedDraws;
    stats_.streamedBytes += streamed;
    return true;
}

}  // namespace brontal
