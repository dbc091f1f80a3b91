#pragma once
// The whole per-frame simulation, called once before every render. Its order is fixed: the
// camera follows the position from before this frame's animation and collision, the view it
// sets is the one built before the player moved, and the walking of a frame uses the
// direction as turned at the end of the previous frame. dt is the frame timer's seconds per
// frame: the duration of the previous frame (1/30 s for the first).
namespace brontal {

// Needs g_frameTimer; the device calls of keys M and W and the view go to g_device when there is one.
void UpdateFrame();

// Player, animation states, chase and flying cameras and current room back to their values before the
// start-up sequence; the visible-room list is emptied (its storage is kept) and the collision
// cache forgotten. For tests.
void ResetSimulation();

}  // namespace brontal
