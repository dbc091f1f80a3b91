#pragma once
// Gamepads through SDL's game-controller API, plugged in and out while the game runs. A held
// button or a stick pushed past the dead zone holds the game keys it is bound to, through the
// same key-state source as the keyboard; the quit button arrives as an Escape key press.
#include <string>
#include <vector>

#include "platform/input_bindings.h"

union SDL_Event;
struct _SDL_GameController;

namespace brontal {

class Gamepads {
public:
    explicit Gamepads(const InputBindings& bindings) : bindings_(bindings) {}
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Starts SDL's game-controller subsystem; pads already plugged in then arrive as events.
    bool Start(std::string& error);
    // Opens a pad when it is plugged in and closes it when it goes. True when the event is a
    // press of a button bound to quit.
    bool HandleEvent(const SDL_Event& event);
    // Whether any open pad holds the game key (one of kGameKeys).
    bool Holds(int virtualKey) const;
    int OpenCount() const { return static_cast<int>(pads_.size()); }

private:
    bool InputHeld(_SDL_GameController* pad, const GamepadInput& input) const;
    const InputBindings& bindings_;
    std::vector<_SDL_GameController*> pads_;
    bool started_ = false;
};

}  // namespace brontal
