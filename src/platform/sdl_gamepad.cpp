#include "platform/sdl_gamepad.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "shell/keys.h"

namespace brontal {

namespace {

constexpr float kAxisFullTravel = 32767.0f;

}  // namespace

Gamepads::~Gamepads() {
    for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepads::Start(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        error = std::string("SDL: no gamepads: ") + SDL_GetError();
        return false;
    }
    started_ = true;
    return true;
}

bool Gamepads::HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) {
                // A pad opened twice (added events can repeat) is one pad with two references.
                if (std::find(pads_.begin(), pads_.end(), pad) == pads_.end())
                    pads_.push_back(pad);
                else
                    SDL_GameControllerClose(pad);
            }
            return false;
        case SDL_CONTROLLERDEVICEREMOVED:
            for (auto it = pads_.begin(); it != pads_.end(); ++it) {
                if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) == e.cdevice.which) {
                    SDL_GameControllerClose(*it);
                    pads_.erase(it);
                    break;
                }
            }
            return false;
        case SDL_CONTROLLERBUTTONDOWN: {
            const auto& quit = bindings_.gamepad[*GameKeySlot(VK_ESCAPE)];
            const GamepadInput pressed{GamepadInput::Kind::Button, e.cbutton.button};
            return std::find(quit.begin(), quit.end(), pressed) != quit.end();
        }
        default: return false;
    }
}

bool Gamepads::InputHeld(SDL_GameController* pad, const GamepadInput& input) const {
    if (input.kind == GamepadInput::Kind::Button)
        return SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(input.index)) != 0;
    const float value = SDL_GameControllerGetAxis(pad, static_cast<SDL_GameControllerAxis>(input.index)) / kAxisFullTravel;
    const float pushed = input.kind == GamepadInput::Kind::AxisNegative ? -value : value;
    return pushed > bindings_.deadZone;
}

bool Gamepads::Holds(int virtualKey) const {
    const std::optional<int> slot = GameKeySlot(virtualKey);
    if (!slot) return false;
    for (SDL_GameController* pad : pads_)
        for (const GamepadInput& input : bindings_.gamepad[*slot])
            if (InputHeld(pad, input)) return true;
    return false;
}

}  // namespace brontal
