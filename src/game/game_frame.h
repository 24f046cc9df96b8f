#pragma once

// The game's screen-pass step: the won and lost captions, the countdown,
// the world, the bases, enemies and shots, then the hero with its health
// bar and turning rotor. The world is drawn under the camera the control
// step computed (or the one of the current course position when no control
// step ran), and every frame leaves the modelview stack as it found it.

#include <cstdint>

extern float RotorAngle;
extern float SkyAngle;

// The countdown runs from the first game frame of a game.
extern bool countdownStarted;
extern uint32_t countdownStart;
// Which countdown caption is due.
extern bool showReady;
extern bool showThree;
extern bool showTwo;
extern bool showOne;

void gameFrame();

// The world under the camera: the sky turned on by 0.01 degrees a frame
// (SkyAngle) and drawn without fog, then the map halves and the road.
void drawWorld();

// Back to the state of the first game frame of a game.
void resetGameFrame();
