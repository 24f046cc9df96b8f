#pragma once

// The game's scene-pass step: the fuel timer, Escape, the steering keys,
// the shots, the course and the camera, which it leaves in Camera for the
// game frame.

#include "math/matrix4.h"

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
// The camera of this frame: set by the control step, which also sets
// CameraComputed; the game frame draws under it and clears the flag.
extern Matrix4 Camera;
extern bool CameraComputed;

// The course waits this long after the first control step; the countdown
// fills the wait.
constexpr uint32_t StartDelayMs = 4000;
constexpr uint32_t FuelDrainIntervalMs = 5000;
constexpr float FuelDrain = 2.0f;

void controlStep();

// Back to the state of the first control step of a game.
void resetControlStep();
