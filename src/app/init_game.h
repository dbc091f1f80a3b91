#pragma once
// The start-up sequence: device and its fixed states, the two projections, the level, the
// player and camera at the start point, the frame timer, the start-up visible rooms, the sky,
// the material and every room light, the text overlay, and one pass of every room through the
// room draw.
#include <optional>
#include <string>

#include "device/device.h"
#include "math/types.h"

namespace brontal {

class CounterSource;
class CallRecorder;

// In the order the sky files are loaded; handed to the sky box as front, back, bottom, top,
// right, left. Relative to the data directory.
inline constexpr const char* kSkyFiles[6] = {"SKY\\Left.bmp", "SKY\\Right.bmp", "SKY\\Top.bmp",
                                             "SKY\\Bottom.bmp", "SKY\\Front.bmp", "SKY\\Back.bmp"};

struct StartupConfig {
    Direct3D8::BackendFactory backendFactory = nullptr;
    D3DDISPLAYMODE displayMode{1024, 768, 60, D3DFMT_X8R8G8B8};
    D3DCAPS8 caps = kDefaultCaps;
    std::string levelPath = "LEVELS\\LEVEL_001.VRM";
    CounterSource* counter = nullptr;      // null: the system's high-resolution counter
    CallRecorder* recorder = nullptr;      // attached as soon as the device exists
    std::optional<Vector3> start;          // the level's start point replaced for this run (--start)
};

// Returns false, with a message in error, when no device can be created or the level is
// refused: the game cannot run without either.
bool InitGame(void* window, const StartupConfig& config, std::string& error);
bool InitDevice(void* window, const StartupConfig& config, std::string& error);
bool InitProjectionAndLevel(const StartupConfig& config, std::string& error);

// A run from the level's start, as the first one: the player and the camera at the start point,
// the start-up visible rooms, and a new frame timer on `counter` (null: the system's
// high-resolution counter). InitGame starts the first run with it.
void StartRun(CounterSource* counter);

// Another run from the level's start in the same process: what the frames of the last run
// changed goes back to how start-up left it (the player, the animation, the camera and its turn,
// the room, the sky's angle, the fill mode), then StartRun.
void RestartRun(CounterSource* counter);

// Steps of the start-up sequence that a reload of the level repeats.
// Rooms 0 and 1 (or as many as the level has) until the player is first found in a room.
void SetStartupVisibleRooms();
// The sky box on g_device with the six sky images, each a new texture.
void BuildSkyBox();
// The material, and every room light set and enabled, numbered in room order.
void SetMaterialAndLights();
// Before the first scene: nothing is drawn, and the backend gets every room's geometry ready.
void PassEveryRoomThroughTheRoomDraw();

// Releases everything InitGame made, so that the game can start again: the text overlay, the
// frame timer, the sky box's and the view frustum's hold on the device, the level and its
// collision triangles, the device and the Direct3D object. Safe after a start that failed.
void ShutdownGame();

}  // namespace brontal
