#include "app/init_game.h"

#include <cstdio>

#include "geometry/camera.h"
#include "level/world.h"
#include "math/math.h"
#include "platform/texture_loader.h"
#include "player/collision_cache.h"
#include "player/frame_update.h"
#include "player/player.h"
#include "render/frame_render.h"
#include "render/frustum.h"
#include "render/sky_box.h"
#include "shell/frame_timer.h"
#include "shell/settings.h"
#include "text/text_overlay.h"

namespace brontal {

namespace {

constexpr float kFieldOfView = kPi / 4.0f;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 7500.0f;
constexpr float kSkyFarPlane = 50000.0f;
constexpr float kSkySize = 50000.0f;
constexpr D3DCOLOR kAmbientGrey = 0xFF141414;

enum SkyFile { kLeft, kRight, kTop, kBottom, kFront, kBack };

void SetFixedStates() {
    g_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    g_device->SetRenderState(D3DRS_LIGHTING, 1);
    g_device->SetRenderState(D3DRS_AMBIENT, kAmbientGrey);
    g_device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    g_device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
    g_device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_ANISOTROPIC);
    g_device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    g_device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_MIRROR);
}

void PlacePlayerAndCamera() {
    InitPlayer(g_level.startPosition, 0.0f);
    g_chaseCamera.followPoint = g_level.startPosition;
}

void CreateTextOverlay() {
    auto* overlay = new TextOverlay("Arial", 14, 1);
    // Without an atlas there is nothing to draw with: the HUD then stays off.
    if (overlay->CreateGlyphAtlas(g_device) != D3D_OK || overlay->CreateDrawResources() != D3D_OK) {
        std::fprintf(stderr, "warning: the HUD font could not be made; no HUD text will be drawn\n");
        delete overlay;
        return;
    }
    g_textOverlay = overlay;
}

}  // namespace

void SetStartupVisibleRooms() {
    const std::uint16_t count = g_level.roomCount < 2 ? g_level.roomCount : 2;
    g_visibleRoomList.assign(count, 0);
    for (std::uint16_t i = 0; i < count; ++i) g_visibleRoomList[i] = i;
    g_visibleRoomCount = count;
}

void BuildSkyBox() {
    g_skyBox.SetDevice(g_device);
    g_skyBox.SetSize(kSkySize);
    Texture* textures[6] = {};
    for (int i = 0; i < 6; ++i) CreateTextureFromFile(g_device, kSkyFiles[i], &textures[i]);
    g_skyBox.SetTextures(textures[kFront], textures[kBack], textures[kBottom], textures[kTop], textures[kRight],
                         textures[kLeft]);
}

void SetMaterialAndLights() {
    D3DMATERIAL8 material{};
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {1, 1, 1, 1};
    material.Specular = {1, 1, 1, 0};
    g_device->SetMaterial(&material);

    std::uint32_t index = 0;
    for (std::uint16_t r = 0; r < g_level.roomCount; ++r) {
        const Room& room = g_level.rooms[r];
        for (std::uint16_t l = 0; l < room.lightCount; ++l) {
            g_device->SetLight(index, &room.lights[l].light);
            g_device->LightEnable(index, true);
            ++index;
        }
    }
}

void PassEveryRoomThroughTheRoomDraw() {
    g_device->BeginWarmUp();
    for (std::uint16_t r = 0; r < g_level.roomCount; ++r) g_level.DrawRoom(r);
    g_device->EndWarmUp();
}

bool InitDevice(void* window, const StartupConfig& config, std::string& error) {
    D3DPRESENT_PARAMETERS parameters{};
    g_direct3d = new Direct3D8(config.backendFactory, config.displayMode, config.caps);
    D3DDISPLAYMODE mode{};
    g_direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);

    parameters.BackBufferWidth = screenWidth;
    parameters.BackBufferHeight = screenHeight;
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferCount = 0;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.SwapEffect = D3DSWAPEFFECT_FLIP;
    parameters.hDeviceWindow = nullptr;
    parameters.Windowed = windowed;
    parameters.EnableAutoDepthStencil = 1;
    parameters.AutoDepthStencilFormat = depthBits == 32 ? D3DFMT_D32 : D3DFMT_D16;

    if (g_direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &parameters, &g_device) != D3D_OK ||
        !g_device) {
        error = "cannot create the graphics device (an OpenGL 3.3 core context is needed)";
        return false;
    }
    g_device->SetRecorder(config.recorder);
    SetFixedStates();
    return true;
}

bool InitProjectionAndLevel(const StartupConfig& config, std::string& error) {
    D3DVIEWPORT8 viewport{};
    g_device->GetViewport(&viewport);
    const float aspect = static_cast<float>(viewport.Width) / static_cast<float>(viewport.Height);
    MatrixPerspectiveFovLH(&g_mainProjection, kFieldOfView, aspect, kNearPlane, kFarPlane);
    MatrixPerspectiveFovLH(&g_skyProjection, kFieldOfView, aspect, kNearPlane, kSkyFarPlane);
    g_device->SetTransform(D3DTS_PROJECTION, &g_mainProjection);

    if (!g_level.load(config.levelPath, g_device)) {
        error = g_level.LastError();
        return false;
    }
    if (config.start) g_level.startPosition = *config.start;
    // The collision triangles are prepared once per load of the level.
    BuildCollisionCache(g_level);
    QuaternionIdentity(&g_chaseCamera.orientation);
    return true;
}

bool InitGame(void* window, const StartupConfig& config, std::string& error) {
    if (!InitDevice(window, config, error)) return false;
    if (!InitProjectionAndLevel(config, error)) return false;

    g_viewFrustum.SetDevice(g_device);
    StartRun(config.counter);
    BuildSkyBox();
    SetMaterialAndLights();
    CreateTextOverlay();
    PassEveryRoomThroughTheRoomDraw();
    return true;
}

void StartRun(CounterSource* counter) {
    PlacePlayerAndCamera();
    delete g_frameTimer;
    g_frameTimer = counter ? new FrameTimer(*counter) : new FrameTimer();
    g_frameTimer->Start(30.0f);
    SetStartupVisibleRooms();
}

void RestartRun(CounterSource* counter) {
    ResetSimulation();
    g_skyAngle = 0.0f;
    g_device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    StartRun(counter);
}

// Last made, first released. What pointed into the device (the overlay's atlas and buffer, the
// sky's and the level's textures) goes before the device does.
void ShutdownGame() {
    delete g_textOverlay;
    g_textOverlay = nullptr;
    delete g_frameTimer;
    g_frameTimer = nullptr;
    g_skyBox = SkyBox{};
    g_viewFrustum = ViewFrustum{};
    ClearCollisionCache();
    g_level = Level{};
    if (g_device) {
        delete g_device;
        g_device = nullptr;
    }
    if (g_direct3d) {
        delete g_direct3d;
        g_direct3d = nullptr;
    }
}

}  // namespace brontal
