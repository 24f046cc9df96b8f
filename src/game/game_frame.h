#pragma once

// The game's screen-pass step: the won and lost captions, the countdown,
// the world, the bases, enemies and shots, then the hero with its health
// bar and turning rotor. The world is drawn under the camera the control
// step computed (or the one of the current course position when no control
// step ran), and every frame leaves the modelview stack as it found it.

#include <cstdint>

void gameFrame();

// The world under the camera: the sky turned on by 0.01 degrees a frame
// (SkyAngle) and drawn without fog, then the map halves and the road.
void drawWorld();
