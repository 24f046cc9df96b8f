#pragma once

// The game's scene-pass step: the fuel timer, Escape, the steering keys,
// the shots, the course and the camera, which it leaves pushed on the
// modelview stack for the game frame.

#include <cstdint>

// The first control step of a game starts the clock of the start delay and
// the fuel timer.
extern bool controlStarted;
extern uint32_t controlStart;
// The fuel timer runs from the end of the start delay.
extern bool fuelTimerStarted;
extern uint32_t fuelTimer;
// Frames Space has been held.
extern int fireCounter;
// Direction of the idle sway of HeliTilt.
extern bool tiltFalling;
// The model moved sideways in the last frame its arrow was held.
extern bool movedLeft;
extern bool movedRight;
// Set when this frame's control step left the camera pushed for the game
// frame, which pops it and clears the flag.
extern bool CameraPushed;

// The course waits this long after the first control step; the countdown
// fills the wait.
constexpr uint32_t StartDelayMs = 4000;
constexpr uint32_t FuelDrainIntervalMs = 5000;
constexpr float FuelDrain = 2.0f;

void controlStep();

// Pushes the camera of the current course position on the modelview stack.
void pushCamera();

// Back to the state of the first control step of a game.
void resetControlStep();
