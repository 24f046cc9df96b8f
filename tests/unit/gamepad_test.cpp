#include "input/gamepad.h"
#include "input/keyboard.h"
#include "shell/display_dialog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using B = GamepadButton;
using A = GamepadAxis;

// The keys down in a snapshot, as their codes in ascending order.
std::string keysOf(const GamepadState& pad, GamepadScreen screen)
{
    uint8_t keys[256];
    std::memset(keys, 0, sizeof keys);
    addGamepadKeys(pad, screen, keys);
    std::string down;
    for (int vk = 0; vk < 256; ++vk)
        if (keys[vk] & 0x80)
            down += (vk >= 'A' && vk <= 'Z') ? std::string(1, char(vk)) : "<" + std::to_string(vk) + ">";
    return down;
}

GamepadState with(const std::function<void(GamepadState&)>& set)
{
    GamepadState pad;
    set(pad);
    return pad;
}

const std::string Left = "<37>", Up = "<38>", Right = "<39>", Down = "<40>";
const std::string Ctrl = "<17>", Escape = "<27>", Space = "<32>";

} // namespace

// Each control of the controller and the key it stands for, in a game and
// on the menu.
TEST(Gamepad, EachControlReadsAsItsKey)
{
    const struct {
        const char* what;
        GamepadState pad;
        std::string inGame;
        std::string onMenu;
    } cases[] = {
        {"at rest", {}, "", ""},
        {"d-pad left", with([](auto& p) { p.setButton(B::DpadLeft, true); }), Left, Left},
        {"d-pad right", with([](auto& p) { p.setButton(B::DpadRight, true); }), Right, Right},
        {"d-pad up", with([](auto& p) { p.setButton(B::DpadUp, true); }), Up, Up},
        {"d-pad down", with([](auto& p) { p.setButton(B::DpadDown, true); }), Down, Down},
        {"left stick left", with([](auto& p) { p.setAxis(A::LeftX, -32768); }), Left, Left},
        {"left stick right", with([](auto& p) { p.setAxis(A::LeftX, 32767); }), Right, Right},
        {"left stick up", with([](auto& p) { p.setAxis(A::LeftY, -20000); }), Up, Up},
        {"left stick down", with([](auto& p) { p.setAxis(A::LeftY, 20000); }), Down, Down},
        {"right stick left", with([](auto& p) { p.setAxis(A::RightX, -20000); }), "A", "A"},
        {"right stick right", with([](auto& p) { p.setAxis(A::RightX, 20000); }), "D", "D"},
        {"right stick up and down", with([](auto& p) { p.setAxis(A::RightY, 32767); }), "", ""},
        {"south", with([](auto& p) { p.setButton(B::South, true); }), Ctrl, Ctrl},
        {"right trigger", with([](auto& p) { p.setAxis(A::RightTrigger, 32767); }), Space, Space},
        {"right shoulder", with([](auto& p) { p.setButton(B::RightShoulder, true); }), Space, Space},
        {"left trigger and shoulder", with([](auto& p) {
             p.setAxis(A::LeftTrigger, 32767);
             p.setButton(B::LeftShoulder, true);
         }),
         "", ""},
        {"Start", with([](auto& p) { p.setButton(B::Start, true); }), "P", "S"},
        {"Back", with([](auto& p) { p.setButton(B::Back, true); }), Escape, Escape},
        {"west", with([](auto& p) { p.setButton(B::West, true); }), "I", "I"},
        {"north", with([](auto& p) { p.setButton(B::North, true); }), "C", "C"},
        {"east", with([](auto& p) { p.setButton(B::East, true); }), "E", "E"},
        {"stick and d-pad together", with([](auto& p) {
             p.setAxis(A::LeftX, -32768);
             p.setButton(B::DpadLeft, true);
             p.setAxis(A::RightX, 32767);
             p.setButton(B::South, true);
         }),
         Ctrl + Left + "D", Ctrl + Left + "D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(keysOf(c.pad, GamepadScreen::Game), c.inGame);
        EXPECT_EQ(keysOf(c.pad, GamepadScreen::Menu), c.onMenu);
    }
    // Start does nothing on the pages, the loading and the like.
    EXPECT_EQ(keysOf(with([](auto& p) { p.setButton(B::Start, true); }), GamepadScreen::Other), "");
}

// A stick resting near the centre, or a trigger resting on its spring,
// presses nothing; past a quarter of the travel it does.
TEST(Gamepad, DeadZoneKeepsARestingStickStill)
{
    const struct {
        A axis;
        int16_t value;
        std::string keys;
    } cases[] = {
        {A::LeftX, -GamepadDeadZone, ""},
        {A::LeftX, -GamepadDeadZone - 1, Left},
        {A::LeftX, GamepadDeadZone, ""},
        {A::LeftX, GamepadDeadZone + 1, Right},
        {A::LeftY, -3000, ""},
        {A::LeftY, 3000, ""},
        {A::RightX, -GamepadDeadZone, ""},
        {A::RightX, GamepadDeadZone + 1, "D"},
        {A::RightTrigger, GamepadDeadZone, ""},
        {A::RightTrigger, GamepadDeadZone + 1, Space},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.axis)) + " at " + std::to_string(c.value));
        GamepadState pad;
        pad.setAxis(c.axis, c.value);
        EXPECT_EQ(keysOf(pad, GamepadScreen::Game), c.keys);
    }
}

// The controller only adds keys: what the keyboard holds stays down.
TEST(Gamepad, AddsToTheKeyboardsKeys)
{
    uint8_t keys[256] = {};
    keys['W'] = 0x80;
    addGamepadKeys(with([](auto& p) { p.setButton(B::South, true); }), GamepadScreen::Game, keys);
    EXPECT_EQ(keys['W'], 0x80);
    EXPECT_EQ(keys[VK_CONTROL], 0x80);
}

// Start held stays the key of the screen it went down on: S held from the
// menu into the game, P held from the game onto the menu (after Escape,
// say); let go and pressed again, it is the new screen's.
TEST(Gamepad, StartKeepsItsScreenWhileHeld)
{
    const struct {
        const char* script; // per frame: m(enu), g(ame), o(ther); capital = Start held
        const char* keys;   // per frame: the key Start reads as, or '.'
    } cases[] = {
        {"MMGGG", "SSSSS"}, {"MMgGG", "SS.PP"}, {"GGMMm", "PPPP."},
        {"OOGg", "...."},   {"ooGg", "..P."},   {"mMOOG", ".SSSS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        StartButtonLatch latch;
        std::string keys;
        for (const char* f = c.script; *f; ++f) {
            const char lower = char(std::tolower(*f));
            const GamepadScreen screen = lower == 'm'   ? GamepadScreen::Menu
                                         : lower == 'g' ? GamepadScreen::Game
                                                        : GamepadScreen::Other;
            GamepadState pad;
            pad.setButton(B::Start, *f != lower);
            const std::string down = keysOf(pad, latch.follow(pad, screen));
            keys += down.empty() ? "." : down;
        }
        EXPECT_EQ(keys, c.keys);
    }
}

// Two controllers play as one: buttons of either, each axis from the one
// pushed further.
TEST(Gamepad, ControllersMergeIntoOne)
{
    GamepadState a, b;
    a.setButton(B::South, true);
    a.setAxis(A::LeftX, -30000);
    a.setAxis(A::RightX, 100);
    b.setButton(B::Start, true);
    b.setAxis(A::LeftX, 20000);
    b.setAxis(A::RightX, -25000);
    GamepadState merged;
    mergeGamepad(merged, a);
    mergeGamepad(merged, b);
    EXPECT_TRUE(merged.button(B::South));
    EXPECT_TRUE(merged.button(B::Start));
    EXPECT_FALSE(merged.button(B::Back));
    EXPECT_EQ(merged.axis(A::LeftX), -30000);
    EXPECT_EQ(merged.axis(A::RightX), -25000);
    EXPECT_EQ(merged.axis(A::LeftY), 0);
}

// In the display-settings dialog Start starts the game and Back leaves, as
// Enter and Escape do; the shoulders move the focus, the d-pad picks the
// mode, and the south button presses the focused control.
TEST(Gamepad, TheControllerAnswersTheDialog)
{
    const struct {
        std::vector<B> buttons;
        DialogOutcome outcome;
    } cases[] = {
        {{B::Start}, DialogOutcome::StartWindowed},
        {{B::LeftShoulder, B::Start}, DialogOutcome::StartWindowed},
        {{B::LeftShoulder, B::DpadUp, B::Start}, DialogOutcome::StartFullScreen},
        {{B::Back}, DialogOutcome::Exit},
        {{B::West, B::North, B::East, B::DpadDown}, DialogOutcome::Open},
        {{B::LeftShoulder, B::DpadUp, B::RightShoulder, B::South}, DialogOutcome::StartFullScreen},
        {{B::RightShoulder, B::South}, DialogOutcome::Exit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buttons.size());
        DisplayDialog dialog;
        for (B b : c.buttons)
            if (std::optional<DialogKey> key = dialogKeyOfButton(b)) {
                dialog.keyDown(*key);
                dialog.keyUp(*key);
            }
        EXPECT_EQ(dialog.outcome(), c.outcome);
    }
}
