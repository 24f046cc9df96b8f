#pragma once

// The game's control step, first of the game's steps in a frame: the fuel
// timer, Escape, the steering keys, the shots, the course and the camera,
// which it leaves in Camera for the game frame.

#include "math/matrix4.h"

#include <cstdint>

// The course waits this long after the first control step; the countdown
// fills the wait.
constexpr uint32_t StartDelayMs = 4000;
constexpr uint32_t FuelDrainIntervalMs = 5000;
constexpr float FuelDrain = 2.0f;

// `now` is the frame's reading of the millisecond clock.
void controlStep(uint32_t now);
