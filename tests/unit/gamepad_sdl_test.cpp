// The controllers' SDL side on SDL's virtual controllers, without a
// display: each button and axis read as the game's, controllers plugged in
// and out at any time and read as one, taps between two reads kept, and
// buttons held when the dialog ends ignored until let go.

#include "platform/gamepad_sdl.h"

#include <gtest/gtest.h>

namespace {

using B = GamepadButton;

// The events so far, as the game's drain hands them over.
void pump()
{
    SDL_GameControllerUpdate();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleGamepadEvent(event);
}
void button(SDL_Joystick* pad, int b, bool down) { SDL_JoystickSetVirtualButton(pad, b, down), pump(); }
void axis(SDL_Joystick* pad, int a, int16_t value) { SDL_JoystickSetVirtualAxis(pad, a, value), pump(); }
GamepadState read()
{
    GamepadState pad;
    readGamepads(&pad);
    return pad;
}

// A controller of SDL's layout, its triggers released (a virtual trigger's
// raw axis rests at its middle).
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
    axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    return pad;
}
void unplug(SDL_Joystick* pad)
{
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id)
            SDL_JoystickDetachVirtual(i);
    pump();
}

} // namespace

TEST(VirtualPads, ReadAsTheGamesPluggedAnyTimeTapsKeptHeldButtonsWait)
{
    startGamepads();
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
    EXPECT_EQ(gamepadsOpen(), 0);
    SDL_Joystick* first = plug();

    // SDL's buttons in its order, as ours (-1: none, as Guide and the stick clicks).
    const int ours[] = {0, 1, 2, 3, int(B::Back), -1, int(B::Start), -1, -1, 6, 7, 8, 9, 10, 11};
    for (int sdl = 0; sdl < int(std::size(ours)); ++sdl) {
        button(first, sdl, true);
        const GamepadState state = read();
        for (int b = 0; b < GamepadButtonCount; ++b)
            EXPECT_EQ(state.buttons[b], b == ours[sdl]) << "SDL button " << sdl << ", ours " << b;
        button(first, sdl, false);
        read();
    }
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) {
        const int16_t rest = SDL_JoystickGetAxis(first, a);
        axis(first, a, 32767);
        const GamepadState state = read();
        for (int other = 0; other < GamepadAxisCount; ++other)
            EXPECT_EQ(state.axes[other], other == a ? 32767 : 0) << "SDL axis " << a;
        axis(first, a, rest);
    }

    // Two read as one; the one unplugged holds nothing.
    button(first, SDL_CONTROLLER_BUTTON_A, true);
    SDL_Joystick* second = plug();
    axis(second, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    const GamepadState both = read();
    EXPECT_TRUE(both.button(B::South));
    EXPECT_EQ(both.axis(GamepadAxis::LeftX), -30000);
    EXPECT_EQ(gamepadsOpen(), 2);
    unplug(first);
    EXPECT_EQ(gamepadsOpen(), 1);
    EXPECT_FALSE(read().button(B::South));

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
    unplug(second);
    EXPECT_EQ(gamepadsOpen(), 0);
    stopGamepads();
}
