#include "player/player.h"

#include "shell/keys.h"

namespace brontal {

Player g_player;
std::uint16_t g_currentRoom = 0;
const char* g_currentRoomName = nullptr;
std::uint16_t g_visibleRoomCount = 0;
std::vector<std::uint16_t> g_visibleRoomList;

void InitPlayer(const Vector3& startPosition, float heading) {
    g_player = Player{};
    g_player.position = startPosition;
    g_player.heading = heading;
}

bool IsKeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & kKeyHeldBit) != 0; }

}  // namespace brontal
