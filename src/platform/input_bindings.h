#pragma once
// Which keys and gamepad inputs stand for the game's keys. The game polls eleven virtual keys
// (the ten of the frame update and Escape, which quits); each may be bound to one or more
// keyboard keys (SDL scancodes) and one or more gamepad inputs. The defaults are the game's own
// keys, so a run without a settings file plays exactly as the keyboard always did.
//
// Names are SDL's: key names as SDL_GetScancodeName gives them ("Up", "Keypad 0", "Escape"),
// gamepad buttons as SDL's controller mapping strings ("a", "dpup", "leftshoulder"), stick
// directions as an axis name with a sign ("leftx-" is the left stick pushed left, "lefty-"
// pushed up) and the triggers by name ("lefttrigger").
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace brontal {

struct GameKey {
    const char* name;  // the name in the settings file
    int virtualKey;
};

inline constexpr int kGameKeyCount = 11;
extern const std::array<GameKey, kGameKeyCount> kGameKeys;

// The slot of a game key in kGameKeys, by its virtual-key code or its settings name; nullopt
// when it is not one of the game's keys.
std::optional<int> GameKeySlot(int virtualKey);
std::optional<int> GameKeySlotByName(const std::string& name);

struct GamepadInput {
    enum class Kind { Button, AxisNegative, AxisPositive };
    Kind kind = Kind::Button;
    int index = 0;  // SDL_GameControllerButton or SDL_GameControllerAxis
    bool operator==(const GamepadInput&) const = default;
};

inline constexpr float kDefaultDeadZone = 0.25f;  // of the stick's full travel

struct InputBindings {
    std::array<std::vector<int>, kGameKeyCount> keys;               // SDL scancodes per game key
    std::array<std::vector<GamepadInput>, kGameKeyCount> gamepad;  // gamepad inputs per game key
    float deadZone = kDefaultDeadZone;  // an axis counts as pushed beyond this fraction, 0 to < 1
};

InputBindings DefaultInputBindings();

// One name each; nullopt for a name SDL does not know.
std::optional<int> ScancodeForKeyName(const std::string& name);
std::optional<GamepadInput> GamepadInputForName(const std::string& name);
std::string KeyNameOf(int scancode);
std::string GamepadInputName(const GamepadInput& input);

// The virtual-key code a key message carries under these bindings: the game key the scancode is
// bound to; else the key's own code, unless that code is a game key bound elsewhere (then 0, so
// a key moved off Escape no longer quits).
int MessageVirtualKey(const InputBindings& bindings, int scancode);

}  // namespace brontal
