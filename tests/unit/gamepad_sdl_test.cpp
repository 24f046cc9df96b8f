// The SDL side of the controllers, on SDL's virtual controllers: opened as
// they are plugged in, read as one, let go of as they are unplugged, taps
// between two reads kept, and buttons held when the dialog ends ignored
// until let go. No display is needed.

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
        while (!plugged_.empty())
            unplug(plugged_.back());
        pump();
        stopGamepads();
    }

    // A controller with every button and axis of SDL's layout; returns its
    // device index.
    int plug()
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Kestrava test controller";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        pump();
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        EXPECT_NE(joystick, nullptr) << "the controller was not opened";
        // A virtual trigger's raw axis rests at its middle: released is its
        // lowest value, as a real trigger's spring holds it.
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        pump();
        plugged_.push_back(joystick);
        return index;
    }
    void unplug(SDL_Joystick* joystick)
    {
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
        std::erase(plugged_, joystick);
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
        SDL_JoystickSetVirtualButton(pad, b, down ? 1 : 0);
        pump();
    }
    GamepadState read()
    {
        GamepadState pad;
        readGamepads(&pad);
        return pad;
    }

    std::vector<SDL_Joystick*> plugged_;
};

} // namespace

// Every SDL button the game uses reads as its own; the others as nothing.
TEST_F(VirtualPads, EachButtonReadsAsTheGamesButton)
{
    plug();
    SDL_Joystick* pad = plugged_[0];
    const struct {
        SDL_GameControllerButton sdl;
        std::optional<B> ours;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, B::South},
        {SDL_CONTROLLER_BUTTON_B, B::East},
        {SDL_CONTROLLER_BUTTON_X, B::West},
        {SDL_CONTROLLER_BUTTON_Y, B::North},
        {SDL_CONTROLLER_BUTTON_BACK, B::Back},
        {SDL_CONTROLLER_BUTTON_START, B::Start},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, B::LeftShoulder},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, B::RightShoulder},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, B::DpadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, B::DpadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, B::DpadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, B::DpadRight},
        {SDL_CONTROLLER_BUTTON_GUIDE, std::nullopt},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.sdl));
        button(pad, c.sdl, true);
        GamepadState state = read();
        for (int b = 0; b < GamepadButtonCount; ++b)
            EXPECT_EQ(state.buttons[b], c.ours && int(*c.ours) == b) << b;
        button(pad, c.sdl, false);
        read();
    }
    const struct {
        SDL_GameControllerAxis sdl;
        A ours;
    } axes[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, A::LeftX},
        {SDL_CONTROLLER_AXIS_LEFTY, A::LeftY},
        {SDL_CONTROLLER_AXIS_RIGHTX, A::RightX},
        {SDL_CONTROLLER_AXIS_RIGHTY, A::RightY},
        {SDL_CONTROLLER_AXIS_TRIGGERLEFT, A::LeftTrigger},
        {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, A::RightTrigger},
    };
    for (const auto& a : axes) {
        SCOPED_TRACE(SDL_GameControllerGetStringForAxis(a.sdl));
        const int16_t rest = SDL_JoystickGetAxis(pad, a.sdl);
        SDL_JoystickSetVirtualAxis(pad, a.sdl, 32767);
        pump();
        GamepadState state = read();
        for (int other = 0; other < GamepadAxisCount; ++other)
            EXPECT_EQ(state.axes[other], other == int(a.ours) ? 32767 : 0) << other;
        SDL_JoystickSetVirtualAxis(pad, a.sdl, rest);
        pump();
    }
}

// Plugged in and out at any time: two controllers read as one, and one
// unplugged lets go of what it held.
TEST_F(VirtualPads, ControllersComeAndGo)
{
    EXPECT_FALSE(read().button(B::South));
    EXPECT_EQ(gamepadsOpen(), 0);
    plug();
    button(plugged_[0], SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(read().button(B::South));
    plug();
    SDL_JoystickSetVirtualAxis(plugged_[1], SDL_CONTROLLER_AXIS_LEFTX, -30000);
    button(plugged_[1], SDL_CONTROLLER_BUTTON_START, true);
    GamepadState both = read();
    EXPECT_TRUE(both.button(B::South));
    EXPECT_TRUE(both.button(B::Start));
    EXPECT_EQ(both.axis(A::LeftX), -30000);
    EXPECT_EQ(gamepadsOpen(), 2);
    unplug(plugged_[0]);
    EXPECT_EQ(gamepadsOpen(), 1);
    GamepadState one = read();
    EXPECT_FALSE(one.button(B::South));
    EXPECT_TRUE(one.button(B::Start));
    unplug(plugged_[0]);
    EXPECT_EQ(gamepadsOpen(), 0);
    EXPECT_FALSE(read().button(B::Start));
    EXPECT_EQ(read().axis(A::LeftX), 0);
}

// A press and release between two reads counts once; a button held when
// the dialog ends reads as up until it is let go and pressed again.
TEST_F(VirtualPads, TapsCountAndTheDialogsButtonsAreIgnored)
{
    plug();
    SDL_Joystick* pad = plugged_[0];
    button(pad, SDL_CONTROLLER_BUTTON_A, true);
    button(pad, SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(read().button(B::South));
    EXPECT_FALSE(read().button(B::South));

    button(pad, SDL_CONTROLLER_BUTTON_START, true);
    ignoreHeldGamepadButtons();
    EXPECT_FALSE(read().button(B::Start));
    EXPECT_FALSE(read().button(B::Start));
    button(pad, SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_FALSE(read().button(B::Start));
    button(pad, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(read().button(B::Start));
}
