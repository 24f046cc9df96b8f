// The controllers' SDL side on SDL's virtual controllers, without a
// display: each button and axis read as the game's, controllers plugged in
// and out at any time and read as one, taps between two reads kept, and
// buttons held when the dialog ends ignored until let go.

#include "platform/gamepad_sdl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using B = GamepadButton;
using A = GamepadAxis;

class VirtualPads : public ::testing::Test {
  protected:
    void SetUp() override
    {
        startGamepads();
        ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
    }
    void TearDown() override
    {
        while (!pads_.empty())
            unplug(0);
        stopGamepads();
    }

    // A controller of SDL's layout, its triggers released.
    SDL_Joystick* plug()
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        pump();
        SDL_Joystick* pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        EXPECT_NE(pad, nullptr) << "not opened: " << SDL_GetError();
        // A virtual trigger's raw axis rests at its middle.
        axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        pads_.push_back(pad);
        return pad;
    }
    void unplug(size_t which)
    {
        const SDL_JoystickID id = SDL_JoystickInstanceID(pads_[which]);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
        pads_.erase(pads_.begin() + long(which));
        pump();
    }
    // The events so far, as the game's drain hands them over.
    void pump()
    {
        SDL_GameControllerUpdate();
        SDL_Event event;
        while (SDL_PollEvent(&event))
            handleGamepadEvent(event);
    }
    void button(SDL_Joystick* pad, SDL_GameControllerButton b, bool down)
    {
        SDL_JoystickSetVirtualButton(pad, b, down);
        pump();
    }
    void axis(SDL_Joystick* pad, SDL_GameControllerAxis a, int16_t value)
    {
        SDL_JoystickSetVirtualAxis(pad, a, value);
        pump();
    }
    GamepadState read()
    {
        GamepadState pad;
        readGamepads(&pad);
        return pad;
    }

    std::vector<SDL_Joystick*> pads_;
};

} // namespace

TEST_F(VirtualPads, EachButtonAndAxisReadsAsTheGames)
{
    SDL_Joystick* pad = plug();
    const std::vector<std::pair<SDL_GameControllerButton, int>> buttons = {
        {SDL_CONTROLLER_BUTTON_A, int(B::South)},
        {SDL_CONTROLLER_BUTTON_B, int(B::East)},
        {SDL_CONTROLLER_BUTTON_X, int(B::West)},
        {SDL_CONTROLLER_BUTTON_Y, int(B::North)},
        {SDL_CONTROLLER_BUTTON_BACK, int(B::Back)},
        {SDL_CONTROLLER_BUTTON_START, int(B::Start)},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, int(B::LeftShoulder)},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, int(B::RightShoulder)},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, int(B::DpadUp)},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, int(B::DpadDown)},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, int(B::DpadLeft)},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, int(B::DpadRight)},
        {SDL_CONTROLLER_BUTTON_GUIDE, -1},
    };
    for (const auto& [sdl, ours] : buttons) {
        button(pad, sdl, true);
        const GamepadState state = read();
        for (int b = 0; b < GamepadButtonCount; ++b)
            EXPECT_EQ(state.buttons[b], b == ours) << SDL_GameControllerGetStringForButton(sdl) << " " << b;
        button(pad, sdl, false);
        read();
    }
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) {
        const auto sdl = SDL_GameControllerAxis(a);
        const int16_t rest = SDL_JoystickGetAxis(pad, sdl);
        axis(pad, sdl, 32767);
        const GamepadState state = read();
        for (int other = 0; other < GamepadAxisCount; ++other)
            EXPECT_EQ(state.axes[other], other == a ? 32767 : 0) << SDL_GameControllerGetStringForAxis(sdl);
        axis(pad, sdl, rest);
    }
}

TEST_F(VirtualPads, ControllersComeAndGoTapsCountHeldButtonsWait)
{
    EXPECT_EQ(gamepadsOpen(), 0);
    SDL_Joystick* first = plug();
    button(first, SDL_CONTROLLER_BUTTON_A, true);
    SDL_Joystick* second = plug();
    axis(second, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    GamepadState both = read();
    EXPECT_TRUE(both.button(B::South));
    EXPECT_EQ(both.axis(A::LeftX), -30000);
    EXPECT_EQ(gamepadsOpen(), 2);
    unplug(0);
    EXPECT_EQ(gamepadsOpen(), 1);
    EXPECT_FALSE(read().button(B::South)) << "unplugged, it holds nothing";

    // Down and up between two reads: pressed once.
    button(second, SDL_CONTROLLER_BUTTON_A, true);
    button(second, SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(read().button(B::South));
    EXPECT_FALSE(read().button(B::South));

    // Start still held as the dialog closes: up until let go.
    button(second, SDL_CONTROLLER_BUTTON_START, true);
    ignoreHeldGamepadButtons();
    EXPECT_FALSE(read().button(B::Start));
    button(second, SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_FALSE(read().button(B::Start));
    button(second, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(read().button(B::Start));
    unplug(0);
    EXPECT_EQ(gamepadsOpen(), 0);
}
