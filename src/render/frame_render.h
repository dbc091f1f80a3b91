#pragma once
// The frame render: one scene per call with, in order, the sky (in rooms that show it), the
// rooms of the visible-room list, the player's figure part by part (not while the preview's
// flying camera is on), and the HUD text.
//
// The fixed states of every frame: w-buffered depth and an alpha test at 144, greater or
// equal. The sky draws with the far sky projection and lighting off, and switches source-alpha
// blending on for the rest of the run. The figure is the level's first animated model, each
// part blended between key k = (int)animFrame and k + 1 by the last frame's seconds per frame,
// placed 25 units below the player's position (the bottom of the collision sphere).
#include <cstddef>
#include <cstdint>

#include "device/d3d8_types.h"
#include "math/types.h"
#include "render/room_draw.h"  // trianglesDrawn, shown by the HUD

namespace brontal {

inline constexpr std::size_t kHudTextBytes = 100;  // including the terminating zero
inline constexpr const char* kHudFormat = "Current Room:%s\nFrames Per Second:%f\nTriangles Per Frame:%d";
inline constexpr float kHudX = 0.0f;
inline constexpr float kHudY = 18.0f;
inline constexpr D3DCOLOR kHudColour = 0xFFFFFFFF;
inline constexpr float kSkyAngleStep = 0.0001f;  // radians per sky frame, never wrapped
inline constexpr std::uint32_t kSceneAlphaRef = 0x90;
inline constexpr float kFigureDrop = 25.0f;  // the collision sphere's radius

// Preview runs add a line under the HUD text: "Position: x, y, z", the flying camera's position
// when it flies, else the player's. Off unless a preview option turns it on.
inline constexpr std::size_t kPositionLineBytes = 64;  // including the terminating zero
extern bool g_hudShowsPosition;

// Draws one frame on g_device; returns the result of the frame's Present.
HRESULT RenderFrame();
// One part of animated model a at key k. A part without a track or a track without keys draws
// nothing; keys past a track's last key use the last key.
void DrawAnimatedPart(std::uint16_t part, std::uint16_t model, std::uint16_t key);
// The HUD text, cut to fit the buffer; a room name not chosen yet (null) shows empty.
void FormatHudText(char (&out)[kHudTextBytes], const char* roomName, double framesPerSecond,
                   std::int32_t triangles);
// "Position: x, y, z" to one decimal, cut to fit the buffer.
void FormatPositionLine(char (&out)[kPositionLineBytes], const Vector3& position);

extern Matrix4x4 g_savedWorld;
extern Matrix4x4 g_skyWorld;
extern float g_skyAngle;
// Built by the start-up sequence: far planes 7500 and 50000.
extern Matrix4x4 g_mainProjection;
extern Matrix4x4 g_skyProjection;

}  // namespace brontal
