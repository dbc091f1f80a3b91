#include "render/room_draw.h"

#include <algorithm>

#include "device/device.h"
#include "level/world.h"
#include "render/frustum.h"

namespace brontal {

std::int32_t trianglesDrawn = 0;

namespace {

// Indices come from the loaded world model; one that would reach past the texture table binds
// no texture rather than read beyond it.
Texture* SurfaceTexture(const Level& level, std::uint16_t textureIndex) {
    return textureIndex < level.TextureTable.size() ? level.TextureTable[textureIndex] : nullptr;
}

// The counts handed to the device never promise more vertices or indices than the surface's
// arrays hold; for a loaded level they are the surface's own counts.
void DrawSurface(Device& device, const Surface& surface, std::uint32_t primitiveCount) {
    const auto vertexCount =
        static_cast<std::uint32_t>(std::min<std::size_t>(surface.vertexCount, surface.vertices.size()));
    const auto drawable =
        static_cast<std::uint32_t>(std::min<std::size_t>(primitiveCount, surface.indices.size() / 3));
    device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, vertexCount, drawable, surface.indices.data(), D3DFMT_INDEX16,
                                  surface.vertices.data(), kWorldVertexStride);
}

}  // namespace

void Level::DrawRoom(std::uint16_t roomIndex) {
    if (!device || roomIndex >= rooms.size()) return;
    const Room& room = rooms[roomIndex];
    if (g_viewFrustum.IsBoxOutside(room.boxMin.x, room.boxMin.y, room.boxMin.z, room.boxMax.x, room.boxMax.y,
                                   room.boxMax.z))
        return;

    const std::size_t surfaceCount = std::min<std::size_t>(room.surfaceCount, room.surfaces.size());
    for (std::size_t s = 0; s < surfaceCount; ++s) {
        const Surface& surface = room.surfaces[s];
        if (!g_viewFrustum.IsSurfaceVisible(surface)) continue;
        device->SetTexture(0, SurfaceTexture(*this, surface.textureIndex));
        device->SetVertexShader(RoomVertexFormat);
        trianglesDrawn += surface.indexCount / 3;
        DrawSurface(*device, surface, surface.triangleCount);
    }

    const std::size_t objectCount = std::min<std::size_t>(room.objectCount, room.objects.size());
    for (std::size_t o = 0; o < objectCount; ++o) {
        const RoomObject& object = room.objects[o];
        if (!g_viewFrustum.AreCornersVisible(object.corners)) continue;
        Matrix4x4 saved{};
        device->GetTransform(D3DTS_WORLD, &saved);
        device->SetTransform(D3DTS_WORLD, &object.world);
        DrawModel(object.modelIndex);
        device->SetTransform(D3DTS_WORLD, &saved);
        device->SetTexture(0, nullptr);
    }
}

void Level::DrawModel(std::uint16_t modelIndex) {
    if (!device || modelIndex >= models.size()) return;
    const Model& model = models[modelIndex];
    const std::size_t surfaceCount = std::min<std::size_t>(model.surfaceCount, model.surfaces.size());
    for (std::size_t s = 0; s < surfaceCount; ++s) {
        const Surface& surface = model.surfaces[s];
        trianglesDrawn += surface.indexCount / 3;
        device->SetTexture(0, SurfaceTexture(*this, surface.textureIndex));
        device->SetVertexShader(RoomVertexFormat);
        // Model surfaces are not held to the 8-bit count of room surfaces.
        DrawSurface(*device, surface, static_cast<std::uint16_t>(surface.indexCount / 3));
    }
}

}  // namespace brontal
