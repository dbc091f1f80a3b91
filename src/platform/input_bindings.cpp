#include "platform/input_bindings.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "platform/sdl_keyboard.h"

namespace brontal {

const std::array<GameKey, kGameKeyCount> kGameKeys{{
    {"up", VK_UP},
    {"down", VK_DOWN},
    {"left", VK_LEFT},
    {"right", VK_RIGHT},
    {"free-look", VK_NUMPAD0},
    {"front-camera", VK_1},
    {"mip-filter", VK_M},
    {"wireframe", VK_W},
    {"frame-step", VK_X},
    {"start-position", VK_P},
    {"quit", VK_ESCAPE},
}};

namespace {

using Kind = GamepadInput::Kind;

GamepadInput Button(SDL_GameControllerButton b) { return {Kind::Button, b}; }
GamepadInput Axis(SDL_GameControllerAxis a, Kind kind) { return {kind, a}; }

bool IsTrigger(int axis) { return axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT; }

}  // namespace

std::optional<int> GameKeySlot(int virtualKey) {
    for (int i = 0; i < kGameKeyCount; ++i)
        if (kGameKeys[i].virtualKey == virtualKey) return i;
    return std::nullopt;
}

std::optional<int> GameKeySlotByName(const std::string& name) {
    for (int i = 0; i < kGameKeyCount; ++i)
        if (name == kGameKeys[i].name) return i;
    return std::nullopt;
}

InputBindings DefaultInputBindings() {
    InputBindings b;
    for (int i = 0; i < kGameKeyCount; ++i) b.keys[i] = {ScancodeForVirtualKey(kGameKeys[i].virtualKey)};
    auto pad = [&](int vk, std::vector<GamepadInput> inputs) { b.gamepad[*GameKeySlot(vk)] = std::move(inputs); };
    pad(VK_UP, {Button(SDL_CONTROLLER_BUTTON_DPAD_UP), Axis(SDL_CONTROLLER_AXIS_LEFTY, Kind::AxisNegative)});
    pad(VK_DOWN, {Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), Axis(SDL_CONTROLLER_AXIS_LEFTY, Kind::AxisPositive)});
    pad(VK_LEFT, {Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), Axis(SDL_CONTROLLER_AXIS_LEFTX, Kind::AxisNegative)});
    pad(VK_RIGHT, {Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), Axis(SDL_CONTROLLER_AXIS_LEFTX, Kind::AxisPositive)});
    pad(VK_NUMPAD0, {Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER)});
    pad(VK_1, {Button(SDL_CONTROLLER_BUTTON_Y)});
    pad(VK_M, {Button(SDL_CONTROLLER_BUTTON_B)});
    pad(VK_W, {Button(SDL_CONTROLLER_BUTTON_X)});
    pad(VK_X, {Button(SDL_CONTROLLER_BUTTON_A)});
    pad(VK_P, {Button(SDL_CONTROLLER_BUTTON_START)});
    pad(VK_ESCAPE, {Button(SDL_CONTROLLER_BUTTON_BACK)});
    return b;
}

std::optional<int> ScancodeForKeyName(const std::string& name) {
    const SDL_Scancode s = SDL_GetScancodeFromName(name.c_str());
    if (s == SDL_SCANCODE_UNKNOWN) return std::nullopt;
    return static_cast<int>(s);
}

std::string KeyNameOf(int scancode) { return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode)); }

std::optional<GamepadInput> GamepadInputForName(const std::string& name) {
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button != SDL_CONTROLLER_BUTTON_INVALID) return Button(button);
    if (name.empty()) return std::nullopt;
    const char sign = name.back();
    const std::string axisName = sign == '-' || sign == '+' ? name.substr(0, name.size() - 1) : name;
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(axisName.c_str());
    if (axis == SDL_CONTROLLER_AXIS_INVALID) return std::nullopt;
    // A trigger goes one way only and is named without a sign; a stick axis needs one.
    if (IsTrigger(axis) != (axisName == name)) return std::nullopt;
    return Axis(axis, sign == '-' ? Kind::AxisNegative : Kind::AxisPositive);
}

std::string GamepadInputName(const GamepadInput& input) {
    if (input.kind == Kind::Button)
        return SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(input.index));
    std::string name = SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(input.index));
    if (!IsTrigger(input.index)) name += input.kind == Kind::AxisNegative ? "-" : "+";
    return name;
}

int MessageVirtualKey(const InputBindings& bindings, int scancode) {
    for (int i = 0; i < kGameKeyCount; ++i) {
        const std::vector<int>& keys = bindings.keys[i];
        if (std::find(keys.begin(), keys.end(), scancode) != keys.end()) return kGameKeys[i].virtualKey;
    }
    const int own = VirtualKeyForScancode(scancode);
    return GameKeySlot(own) ? 0 : own;
}

}  // namespace brontal
