#pragma once

// The HUD layer of a game frame, drawn under the orthographic projection
// (-400..400, -300..300) before the world: it clears the frame, then draws
// the fuel gauge, one icon per life up to three, the fuel bar and the
// instrument panel.

void hudLayer();
