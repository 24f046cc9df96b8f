#pragma once

// The game controllers on SDL2's game controller interface, shared by the
// game window and the display-settings dialog: opened as they are plugged
// in, closed as they go, read as one.

#include "input/gamepad.h"

#include <SDL.h>

#include <optional>

// Starts SDL's controller support (after video); controllers already
// plugged in arrive as device events like those plugged in later.
void startGamepads();

// Opens and closes controllers on their device events and notes button
// presses; returns true when the event was a controller's.
bool handleGamepadEvent(const SDL_Event& event);

// The button of ours behind an SDL controller button, if the game uses it.
std::optional<GamepadButton> gamepadButtonOf(Uint8 sdlButton);

// Every open controller merged, with the buttons pressed since the last
// read. Buttons held across ignoreHeldGamepadButtons read as up until they
// are let go.
void readGamepads(GamepadState* pad);

// What was pressed so far belonged to someone else (the dialog): the
// buttons held now read as up until they are let go, and presses not yet
// read are dropped.
void ignoreHeldGamepadButtons();

// How many controllers are open.
int gamepadsOpen();

// Closes every controller.
void stopGamepads();
