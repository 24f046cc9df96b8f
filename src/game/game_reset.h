#pragma once

// Every game starts fresh, however the last one ended: the per-game state of
// the game, the control step, the course, the game frame, the HUD slide and
// the animation key cursors go back to their first-game values, and the
// four lists are emptied. Run by the level population before it appends the
// level's enemies and bases.
void startFreshGame();
