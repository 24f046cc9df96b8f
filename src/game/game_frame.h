#pragma once

// The game frame, after the control step and the HUD: the won and lost
// captions, the countdown, the world, the bases, enemies and shots, then
// the hero with its health bar and turning rotor.
//
// Its advance step applies the rules and leaves what the frame shows in
// Game.View; its drawing draws that under the camera the control step
// computed (or the one of the current course position when no control step
// ran), and leaves the modelview stack as it found it.

#include <cstdint>

// `now` is the frame's reading of the millisecond clock.
void advanceGameFrame(uint32_t now);
