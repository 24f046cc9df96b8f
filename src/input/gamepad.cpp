#include "input/gamepad.h"

#include "input/keyboard.h"

#include <cstdlib>

namespace {

constexpr int KeyA = 0x41;
constexpr int KeyC = 0x43;
constexpr int KeyD = 0x44;
constexpr int KeyE = 0x45;
constexpr int KeyI = 0x49;
constexpr int KeyP = 0x50;
constexpr int KeyS = 0x53;

void press(uint8_t keys[256], int vk) { keys[vk] = 0x80; }

// Past the dead zone on the negative or the positive side.
bool pushedLow(int16_t value) { return value < -GamepadDeadZone; }
bool pushedHigh(int16_t value) { return value > GamepadDeadZone; }

} // namespace

void mergeGamepad(GamepadState& into, const GamepadState& from)
{
    for (int b = 0; b < GamepadButtonCount; ++b)
        into.buttons[b] = into.buttons[b] || from.buttons[b];
    for (int a = 0; a < GamepadAxisCount; ++a)
        if (std::abs(int(from.axes[a])) > std::abs(int(into.axes[a])))
            into.axes[a] = from.axes[a];
}

GamepadScreen StartButtonLatch::follow(const GamepadState& pad, GamepadScreen now)
{
    if (!pad.button(GamepadButton::Start) || !held)
        screen = now;
    held = pad.button(GamepadButton::Start);
    return screen;
}

void addGamepadKeys(const GamepadState& pad, GamepadScreen screen, uint8_t keys[256])
{
    using B = GamepadButton;
    using A = GamepadAxis;
    if (pad.button(B::DpadLeft) || pushedLow(pad.axis(A::LeftX)))
        press(keys, VK_LEFT);
    if (pad.button(B::DpadRight) || pushedHigh(pad.axis(A::LeftX)))
        press(keys, VK_RIGHT);
    if (pad.button(B::DpadUp) || pushedLow(pad.axis(A::LeftY)))
        press(keys, VK_UP);
    if (pad.button(B::DpadDown) || pushedHigh(pad.axis(A::LeftY)))
        press(keys, VK_DOWN);
    if (pushedLow(pad.axis(A::RightX)))
        press(keys, KeyA);
    if (pushedHigh(pad.axis(A::RightX)))
        press(keys, KeyD);
    if (pad.button(B::South))
        press(keys, VK_CONTROL);
    if (pad.button(B::RightShoulder) || pushedHigh(pad.axis(A::RightTrigger)))
        press(keys, VK_SPACE);
    if (pad.button(B::Back))
        press(keys, VK_ESCAPE);
    if (pad.button(B::West))
        press(keys, KeyI);
    if (pad.button(B::North))
        press(keys, KeyC);
    if (pad.button(B::East))
        press(keys, KeyE);
    if (pad.button(B::Start) && screen == GamepadScreen::Menu)
        press(keys, KeyS);
    if (pad.button(B::Start) && screen == GamepadScreen::Game)
        press(keys, KeyP);
}
