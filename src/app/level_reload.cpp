#include "app/level_reload.h"

#include <utility>

#include "app/init_game.h"
#include "device/device.h"
#include "level/level_textures.h"
#include "level/world.h"
#include "player/collision_cache.h"
#include "player/player.h"
#include "player/room_tracking.h"
#include "render/frustum.h"
#include "render/sky_box.h"

namespace brontal {

namespace {

// A face whose image did not load has no texture.
void ReleaseSkyTextures(SkyBox& sky) {
    for (Texture* SkyBox::*face : {&SkyBox::front, &SkyBox::back, &SkyBox::bottom, &SkyBox::top, &SkyBox::right,
                                   &SkyBox::left}) {
        if (sky.*face) g_device->ReleaseTexture(sky.*face);
        sky.*face = nullptr;
    }
}

std::uint32_t LightCount(const Level& level) {
    std::uint32_t count = 0;
    for (std::uint16_t r = 0; r < level.roomCount && r < level.rooms.size(); ++r) count += level.rooms[r].lightCount;
    return count;
}

}  // namespace

bool ReloadLevel(const std::string& levelPath, const std::optional<Vector3>& start, std::string& error) {
    Level fresh;
    if (!fresh.load(levelPath, g_device)) {
        error = fresh.LastError();
        return false;
    }
    if (start) fresh.startPosition = *start;

    const std::uint32_t oldLights = LightCount(g_level);
    const bool inARoom = g_currentRoomName != nullptr;
    const std::uint16_t room = g_currentRoom;
    ClearCollisionCache();
    ReleaseLevelTextures(g_level);
    ReleaseSkyTextures(g_skyBox);
    g_device->ForgetStaticGeometry();
    for (std::uint32_t i = 0; i < oldLights; ++i) g_device->LightEnable(i, false);
    // The room name pointed into the old level.
    g_currentRoom = 0;
    g_currentRoomName = nullptr;
    g_level = std::move(fresh);

    BuildCollisionCache(g_level);
    SetStartupVisibleRooms();
    // Outside every room nothing changes, so the room of that number stays the current room.
    if (inARoom && room < g_level.roomCount && room < g_level.rooms.size()) EnterRoom(g_level, room);
    BuildSkyBox();
    SetMaterialAndLights();
    // Nothing culled while the new rooms are made ready; the next frame builds the frustum anew.
    g_viewFrustum = ViewFrustum{};
    g_viewFrustum.SetDevice(g_device);
    PassEveryRoomThroughTheRoomDraw();
    return true;
}

}  // namespace brontal
