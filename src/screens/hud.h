#pragma once

// The HUD layer of a game frame, drawn under the orthographic projection
// (-400..400, -300..300) before the world: it clears the frame, then draws
// the fuel gauge, one icon per life up to three, the fuel bar and the
// instrument panel. It slides in over the first 27 frames of a game.

// Slides the HUD on by 10 a frame until it is in place, and counts the
// lives it shows.
void advanceHud();
void drawHudLayer();
