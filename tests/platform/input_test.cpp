// The player's settings file, key bindings, and gamepads through SDL's virtual joystick (no
// display needed).
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "platform/sdl_gamepad.h"
#include "platform/sdl_keyboard.h"
#include "platform/user_settings.h"

namespace brontal {
namespace {

int Slot(int vk) { return *GameKeySlot(vk); }

TEST(UserSettings, WithoutAFileTheGameKeysAreTheirOwnKeysAndTheWrittenDefaultsSayTheSame) {
    const UserSettings d;
    EXPECT_EQ(d.bindings.keys[Slot(VK_UP)], std::vector<int>{SDL_SCANCODE_UP});
    EXPECT_EQ(d.bindings.keys[Slot(VK_NUMPAD0)], std::vector<int>{SDL_SCANCODE_KP_0});
    EXPECT_EQ(d.bindings.keys[Slot(VK_1)], std::vector<int>{SDL_SCANCODE_1});
    EXPECT_EQ(d.bindings.keys[Slot(VK_ESCAPE)], std::vector<int>{SDL_SCANCODE_ESCAPE});
    EXPECT_FALSE(d.vsync);
    EXPECT_EQ(d.maxFps, 0);

    std::vector<std::string> warnings;
    const UserSettings read = ParseUserSettings(DefaultUserSettingsText(), "settings.ini", warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(read.bindings.keys, d.bindings.keys);
    EXPECT_EQ(read.bindings.gamepad, d.bindings.gamepad);
    EXPECT_EQ(read.bindings.deadZone, d.bindings.deadZone);
}

TEST(UserSettings, BindingsVsyncAndTheCapComeFromTheFile) {
    std::vector<std::string> warnings;
    const UserSettings s = ParseUserSettings(
        "; mine\n[keys]\nup = W, Up\n  free-look =Left Shift\nquit = Q\n"
        "[gamepad]\nleft = rightx-, lefttrigger\ndead-zone = 0.4\n[display]\nvsync = on\nmax-fps = 60\n",
        "s.ini", warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(s.bindings.keys[Slot(VK_UP)], (std::vector<int>{SDL_SCANCODE_W, SDL_SCANCODE_UP}));
    EXPECT_EQ(s.bindings.keys[Slot(VK_NUMPAD0)], std::vector<int>{SDL_SCANCODE_LSHIFT});
    const std::vector<GamepadInput> left{{GamepadInput::Kind::AxisNegative, SDL_CONTROLLER_AXIS_RIGHTX},
                                         {GamepadInput::Kind::AxisPositive, SDL_CONTROLLER_AXIS_TRIGGERLEFT}};
    EXPECT_EQ(s.bindings.gamepad[Slot(VK_LEFT)], left);
    EXPECT_FLOAT_EQ(s.bindings.deadZone, 0.4f);
    EXPECT_TRUE(s.vsync);
    EXPECT_EQ(s.maxFps, 60);

    // Key messages follow the bindings: Q quits, Escape no longer does, other keys keep their code.
    EXPECT_EQ(MessageVirtualKey(s.bindings, SDL_SCANCODE_Q), VK_ESCAPE);
    EXPECT_EQ(MessageVirtualKey(s.bindings, SDL_SCANCODE_ESCAPE), 0);
    EXPECT_EQ(MessageVirtualKey(s.bindings, SDL_SCANCODE_F12), 0x7B);
}

TEST(UserSettings, EachUnreadableLineIsNamedAndKeepsItsDefault) {
    std::vector<std::string> warnings;
    const UserSettings s = ParseUserSettings(
        "up = W\n[keys]\nup = Nokey\ndown\njump = J\nleft = A,\n[gamepad]\nright = leftx\n"
        "dead-zone = 1\n[sound]\nvolume = 3\n[display]\nvsync = maybe\nmax-fps = -5\nright = D\n",
        "/home/p/settings.ini", warnings);
    const std::vector<int> expectedLines{1, 3, 4, 5, 6, 8, 9, 10, 13, 14, 15};
    ASSERT_EQ(warnings.size(), expectedLines.size());
    for (std::size_t i = 0; i < warnings.size(); ++i)
        EXPECT_EQ(warnings[i].rfind("/home/p/settings.ini:" + std::to_string(expectedLines[i]) + ": ", 0), 0u)
            << warnings[i];
    EXPECT_NE(warnings[1].find("'Nokey'"), std::string::npos) << warnings[1];
    const UserSettings d;
    EXPECT_EQ(s.bindings.keys, d.bindings.keys);
    EXPECT_EQ(s.bindings.gamepad, d.bindings.gamepad);
    EXPECT_EQ(s.bindings.deadZone, d.bindings.deadZone);
    EXPECT_EQ(s.vsync, d.vsync);
    EXPECT_EQ(s.maxFps, d.maxFps);
}

TEST(UserSettings, ConfigHomeFollowsTheXdgRules) {
    EXPECT_EQ(XdgConfigHome("/x/conf", "/home/p"), "/x/conf");
    for (const char* unusable : {(const char*)nullptr, "", "rel/conf"})
        EXPECT_EQ(XdgConfigHome(unusable, "/home/p/"), "/home/p/.config");
    EXPECT_EQ(XdgConfigHome(nullptr, "/"), "/.config");
    EXPECT_FALSE(XdgConfigHome("rel", "rel"));
}

// A virtual pad with SDL's standard layout: buttons a b x y back guide start ... dpup dpdown
// dpleft dpright, axes leftx lefty rightx righty and the triggers.
class VirtualPad : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(pads_.Start(error)) << error;
        index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1, 0);
        ASSERT_GE(index_, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index_);
        ASSERT_NE(joystick_, nullptr);
        Pump();
    }
    void TearDown() override {
        if (joystick_) SDL_JoystickClose(joystick_);
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    }
    // Hands every waiting event to the pads; true when one of them was a quit press.
    bool Pump() {
        bool quit = false;
        SDL_Event e;
        while (SDL_PollEvent(&e)) quit = pads_.HandleEvent(e) || quit;
        return quit;
    }
    InputBindings bindings_ = DefaultInputBindings();
    Gamepads pads_{bindings_};
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

TEST_F(VirtualPad, StickAndButtonsHoldTheGameKeysThroughTheKeyStateSource) {
    ASSERT_EQ(pads_.OpenCount(), 1) << "plugged in before the game looked: opened from its event";
    SdlKeyboard keys(&bindings_, &pads_);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_UP), 0);

    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, -6000);  // inside the dead zone
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1);
    EXPECT_FALSE(Pump());
    EXPECT_EQ(keys.GetAsyncKeyState(VK_UP), kKeyHeldBit);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_NUMPAD0), kKeyHeldBit);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_LEFT), 0);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_DOWN), 0);

    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, 20000);
    Pump();
    EXPECT_EQ(keys.GetAsyncKeyState(VK_LEFT), kKeyHeldBit);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_DOWN), kKeyHeldBit);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_RIGHT), 0);

    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_BACK, 1);
    EXPECT_TRUE(Pump()) << "the quit button";
}

TEST_F(VirtualPad, UnpluggingLetsEveryKeyGo) {
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_Y, 1);
    Pump();
    EXPECT_TRUE(pads_.Holds(VK_1));
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(index_), 0);
    index_ = -1;
    Pump();
    EXPECT_EQ(pads_.OpenCount(), 0);
    EXPECT_FALSE(pads_.Holds(VK_1));
}

}  // namespace
}  // namespace brontal
