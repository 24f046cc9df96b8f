#pragma once

// A game controller as the game sees it: its buttons and axes in SDL's
// layout and ranges, and how they read as keys. The controller feeds the
// same keyboard snapshot the keys do, so every rule of the game applies to
// it unchanged.

#include <cstdint>

enum class GamepadButton {
    South, // A on an Xbox pad, cross on a PlayStation pad
    East,
    West,
    North,
    Back,
    Start,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    Count
};

enum class GamepadAxis {
    LeftX, // -32768 (left) to 32767 (right)
    LeftY, // -32768 (up) to 32767 (down)
    RightX,
    RightY,
    LeftTrigger, // 0 (released) to 32767 (pulled)
    RightTrigger,
    Count
};

constexpr int GamepadButtonCount = static_cast<int>(GamepadButton::Count);
constexpr int GamepadAxisCount = static_cast<int>(GamepadAxis::Count);

struct GamepadState {
    bool buttons[GamepadButtonCount] = {};
    int16_t axes[GamepadAxisCount] = {};

    bool button(GamepadButton b) const { return buttons[static_cast<int>(b)]; }
    int16_t axis(GamepadAxis a) const { return axes[static_cast<int>(a)]; }
    void setButton(GamepadButton b, bool down) { buttons[static_cast<int>(b)] = down; }
    void setAxis(GamepadAxis a, int16_t value) { axes[static_cast<int>(a)] = value; }
};

// A stick resting off centre, or a trigger resting on its spring, reads
// as released until it passes a quarter of its travel.
constexpr int GamepadDeadZone = 8192;

// Several controllers play as one: a button is down when it is down on any,
// and each axis follows the controller that pushes it furthest.
void mergeGamepad(GamepadState& into, const GamepadState& from);

// Where Start acts: it starts a game on the menu (S), pauses and resumes
// one (P), and does nothing elsewhere. The display-settings dialog reads
// the controller on its own (Start as Enter, Back as Escape).
enum class GamepadScreen { Menu, Game, Other };

// Start keeps the meaning of the screen it went down on for as long as it
// is held, as a held key stays that key: held from the menu into the game
// it stays S (which lowers the view at the start), not a press of P.
struct StartButtonLatch {
    bool held = false;
    GamepadScreen screen = GamepadScreen::Other;

    // The screen whose meaning Start has in this frame.
    GamepadScreen follow(const GamepadState& pad, GamepadScreen now);
};

// Sets the keys the controller holds down in a 256-byte snapshot indexed by
// virtual-key code (bit 7 = down), leaving the others as they are:
//   left stick or d-pad       the arrow keys
//   right stick left / right  A / D
//   south button              Ctrl (the game fires one rocket per press)
//   right trigger or shoulder Space (held)
//   Start                     S on the menu, P in a game
//   Back                      Escape
//   west, north, east         I, C, E (the menu's items)
void addGamepadKeys(const GamepadState& pad, GamepadScreen screen, uint8_t keys[256]);
