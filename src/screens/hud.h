#pragma once

// The HUD layer of a game frame, drawn under the orthographic projection
// (-400..400, -300..300) before the world.
void hudLayer();
