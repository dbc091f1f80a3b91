#include "render/frame_render.h"

#include <algorithm>
#include <cstdio>

#include "device/device.h"
#include "level/world.h"
#include "math/math.h"
#include "player/fly_camera.h"
#include "player/player.h"
#include "render/frustum.h"
#include "render/room_draw.h"
#include "render/sky_box.h"
#include "shell/frame_timer.h"
#include "shell/settings.h"
#include "text/text_overlay.h"

namespace brontal {

Matrix4x4 g_savedWorld{};
Matrix4x4 g_skyWorld{};
float g_skyAngle = 0.0f;
Matrix4x4 g_mainProjection{};
Matrix4x4 g_skyProjection{};
bool g_hudShowsPosition = false;

namespace {

float SecondsPerFrame() { return g_frameTimer ? g_frameTimer->GetSecondsPerFrame() : 0.0f; }
float FramesPerSecond() { return g_frameTimer ? g_frameTimer->GetFramesPerSecond() : 0.0f; }

bool CurrentRoomShowsSky() { return g_currentRoom < g_level.rooms.size() && g_level.rooms[g_currentRoom].showsSky; }

void SetSceneStates(Device& device) {
    device.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    device.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    device.SetRenderState(D3DRS_ALPHAREF, kSceneAlphaRef);
    device.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}

void DrawSky(Device& device) {
    g_skyAngle += kSkyAngleStep;
    MatrixRotationY(&g_skyWorld, g_skyAngle);
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device.SetTransform(D3DTS_WORLD, &g_skyWorld);
    device.SetTransform(D3DTS_PROJECTION, &g_skyProjection);
    device.SetRenderState(D3DRS_LIGHTING, 0);
    g_skyBox.Draw();
    device.SetTransform(D3DTS_PROJECTION, &g_mainProjection);
    device.SetRenderState(D3DRS_LIGHTING, 1);
    device.SetTransform(D3DTS_WORLD, &g_savedWorld);
}

void DrawVisibleRooms() {
    const std::size_t count = std::min<std::size_t>(g_visibleRoomCount, g_visibleRoomList.size());
    for (std::size_t i = 0; i < count; ++i) g_level.DrawRoom(g_visibleRoomList[i]);
}

// The key of an animation frame, truncated toward zero. A frame outside the 16-bit key range
// (or not a number) is held at its nearest end rather than converted out of range.
std::uint16_t KeyOfFrame(float frame) {
    if (!(frame > 0.0f)) return 0;
    if (frame >= 65535.0f) return 0xFFFF;
    return static_cast<std::uint16_t>(frame);
}

// Every part of the level's first animated model, whatever its count; no figure without one.
void DrawFigure() {
    if (g_level.animatedModels.empty() || g_flyCamera.on) return;
    const AnimatedModel& figure = g_level.animatedModels[0];
    const std::uint16_t key = KeyOfFrame(g_player.animFrame);
    const std::size_t parts = std::min<std::size_t>(figure.partCount, figure.parts.size());
    for (std::size_t p = 0; p < parts; ++p) DrawAnimatedPart(static_cast<std::uint16_t>(p), 0, key);
}

void DrawHud() {
    if (!showOverlay || !g_textOverlay) return;
    char hudText[kHudTextBytes];
    FormatHudText(hudText, g_currentRoomName, static_cast<double>(FramesPerSecond()), trianglesDrawn);
    if (!g_hudShowsPosition) {
        g_textOverlay->DrawString(kHudX, kHudY, kHudColour, hudText, 0);
        return;
    }
    char positionLine[kPositionLineBytes];
    FormatPositionLine(positionLine, g_flyCamera.on ? g_flyCamera.position : g_player.position);
    char text[kHudTextBytes + kPositionLineBytes];
    std::snprintf(text, sizeof text, "%s\n%s", hudText, positionLine);
    g_textOverlay->DrawString(kHudX, kHudY, kHudColour, text, 0);
}

}  // namespace

void FormatHudText(char (&out)[kHudTextBytes], const char* roomName, double framesPerSecond,
                   std::int32_t triangles) {
    std::snprintf(out, sizeof out, kHudFormat, roomName ? roomName : "", framesPerSecond, triangles);
}

void FormatPositionLine(char (&out)[kPositionLineBytes], const Vector3& position) {
    std::snprintf(out, sizeof out, "Position: %.1f, %.1f, %.1f", static_cast<double>(position.x),
                  static_cast<double>(position.y), static_cast<double>(position.z));
}

HRESULT RenderFrame() {
    if (!g_device) return D3DERR_INVALIDCALL;
    Device& device = *g_device;
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
    device.BeginScene();
    g_viewFrustum.BuildFrustum();
    device.GetTransform(D3DTS_WORLD, &g_savedWorld);
    SetSceneStates(device);
    if (CurrentRoomShowsSky()) DrawSky(device);

    trianglesDrawn = 0;
    DrawVisibleRooms();

    device.GetTransform(D3DTS_WORLD, &g_savedWorld);
    DrawFigure();
    device.SetTransform(D3DTS_WORLD, &g_savedWorld);

    DrawHud();
    device.EndScene();
    return device.Present(nullptr, nullptr, nullptr, nullptr);
}

void DrawAnimatedPart(std::uint16_t partIndex, std::uint16_t modelIndex, std::uint16_t key) {
    if (!g_device || modelIndex >= g_level.animatedModels.size()) return;
    const AnimatedModel& model = g_level.animatedModels[modelIndex];
    if (partIndex >= model.parts.size() || partIndex >= model.tracks.size()) return;
    const AnimatedPart& part = model.parts[partIndex];
    const KeyTrack& track = model.tracks[partIndex];
    const std::size_t keys = std::min({std::size_t{track.keyCount}, track.positions.size(), track.rotations.size()});
    if (keys == 0) return;
    const std::size_t k0 = std::min<std::size_t>(key, keys - 1);
    const std::size_t k1 = std::min<std::size_t>(std::size_t{key} + 1, keys - 1);

    // The last frame's seconds per frame is how far the pose lies from key k towards k + 1.
    const float t = SecondsPerFrame();
    Quaternion rotation{};
    QuaternionSlerp(&rotation, &track.rotations[k0], &track.rotations[k1], t);
    Vector3 position{};
    Vec3Lerp(&position, &track.positions[k0], &track.positions[k1], SecondsPerFrame());
    Vector3 offset{};
    Vec3Subtract(&offset, &position, &part.pivot);

    const Vector3 origin{0.0f, 0.0f, 0.0f};
    const Vector3 unitScale{1.0f, 1.0f, 1.0f};
    Matrix4x4 world{}, step{};
    MatrixTransformation(&world, &origin, &rotation, &unitScale, &part.pivot, &rotation, &offset);
    MatrixMultiply(&world, &world, MatrixRotationZ(&step, g_player.lean));
    MatrixMultiply(&world, &world, MatrixRotationY(&step, g_player.heading));
    MatrixMultiply(&world, &world,
                   MatrixTranslation(&step, g_player.position.x, g_player.position.y - kFigureDrop,
                                     g_player.position.z));

    Device& device = *g_device;
    device.SetTransform(D3DTS_WORLD, &world);
    device.SetTexture(0, part.textureIndex < g_level.TextureTable.size() ? g_level.TextureTable[part.textureIndex]
                                                                          : nullptr);
    device.SetVertexShader(RoomVertexFormat);
    trianglesDrawn += part.indexCount / 3;
    const auto vertexCount =
        static_cast<std::uint32_t>(std::min<std::size_t>(part.vertexCount, part.vertices.size()));
    const auto primitives =
        static_cast<std::uint32_t>(std::min<std::size_t>(part.triangleCount, part.indices.size() / 3));
    device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, vertexCount, primitives, part.indices.data(), D3DFMT_INDEX16,
                                  part.vertices.data(), kWorldVertexStride);
}

}  // namespace brontal
