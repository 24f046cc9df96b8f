// The controller's mapping where the whole-game tests (frames/
// gamepad_play_test.cpp) do not reach: the dead zone's edges, Start held
// across screens, and the dialog answered by buttons.

#include "input/gamepad.h"
#include "shell/display_dialog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using B = GamepadButton;
using A = GamepadAxis;

// The keys down, as their codes.
std::string keysOf(const GamepadState& pad, GamepadScreen screen)
{
    uint8_t keys[256] = {};
    addGamepadKeys(pad, screen, keys);
    std::string down;
    for (int vk = 0; vk < 256; ++vk)
        if (keys[vk])
            down += std::isupper(vk) ? std::string(1, char(vk)) : "<" + std::to_string(vk) + ">";
    return down;
}

} // namespace

// A stick or trigger resting within a quarter of its travel presses
// nothing; just past it, it does.
TEST(Gamepad, DeadZoneKeepsARestingStickStill)
{
    const struct {
        A axis;
        int value;
        std::string keys;
    } cases[] = {
        {A::LeftX, -GamepadDeadZone, ""},         {A::LeftX, -GamepadDeadZone - 1, "<37>"},
        {A::LeftX, GamepadDeadZone, ""},          {A::LeftX, GamepadDeadZone + 1, "<39>"},
        {A::LeftY, -GamepadDeadZone - 1, "<38>"}, {A::LeftY, GamepadDeadZone, ""},
        {A::RightX, -GamepadDeadZone, ""},        {A::RightX, GamepadDeadZone + 1, "D"},
        {A::RightTrigger, GamepadDeadZone, ""},   {A::RightTrigger, GamepadDeadZone + 1, "<32>"},
    };
    for (const auto& c : cases) {
        GamepadState pad;
        pad.setAxis(c.axis, int16_t(c.value));
        EXPECT_EQ(keysOf(pad, GamepadScreen::Game), c.keys) << int(c.axis) << " at " << c.value;
    }
}

// Start held is the key of the screen it went down on (S on the menu, P in
// a game, nothing elsewhere); let go and pressed again, the new screen's.
TEST(Gamepad, StartKeepsItsScreenWhileHeld)
{
    const struct {
        const char* frames; // m(enu), g(ame), o(ther); capital: Start held
        const char* keys;   // Start's key in each frame, or '.'
    } cases[] = {
        {"MMGGG", "SSSSS"}, {"MMgGG", "SS.PP"}, {"GGMMm", "PPPP."},
        {"OOGg", "...."},   {"ooGg", "..P."},   {"mMOOG", ".SSSS"},
    };
    for (const auto& c : cases) {
        StartButtonLatch latch;
        std::string keys;
        for (const char* f = c.frames; *f; ++f) {
            const char screen = char(std::tolower(*f));
            GamepadState pad;
            pad.setButton(B::Start, *f != screen);
            const std::string down = keysOf(pad, latch.follow(pad, screen == 'm'   ? GamepadScreen::Menu
                                                                   : screen == 'g' ? GamepadScreen::Game
                                                                                   : GamepadScreen::Other));
            keys += down.empty() ? "." : down;
        }
        EXPECT_EQ(keys, c.keys) << c.frames;
    }
}

// Start and Back answer the dialog as Enter and Escape; the shoulders move
// the focus, the d-pad picks the mode, the south button presses.
TEST(Gamepad, TheControllerAnswersTheDialog)
{
    const struct {
        std::vector<B> buttons;
        DialogOutcome outcome;
    } cases[] = {
        {{B::Start}, DialogOutcome::StartWindowed},
        {{B::Back}, DialogOutcome::Exit},
        {{B::West, B::North, B::East, B::DpadDown}, DialogOutcome::Open},
        {{B::LeftShoulder, B::DpadUp, B::RightShoulder, B::South}, DialogOutcome::StartFullScreen},
        {{B::RightShoulder, B::South}, DialogOutcome::Exit},
    };
    for (const auto& c : cases) {
        DisplayDialog dialog;
        for (B b : c.buttons)
            if (std::optional<DialogKey> key = dialogKeyOfButton(b)) {
                dialog.keyDown(*key);
                dialog.keyUp(*key);
            }
        EXPECT_EQ(dialog.outcome(), c.outcome) << c.buttons.size() << " buttons";
    }
}
