#pragma once

// The HUD layer of a game frame, drawn under the orthographic projection
// (-400..400, -300..300) before the world: it clears the frame, then draws
// the fuel gauge, one icon per life up to three, the fuel bar and the
// instrument panel.

// Where the gauge and icons stand left of their place (and the fuel bar
// below its place): -270 when a game starts, rising 10 a frame to 0, so the
// HUD slides in during the first 27 frames of every game.
extern float hudSlide;

void hudLayer();

void resetHudLayer();
