#pragma once

// Every game starts fresh, however the last one ended: a new GameState (the
// camera, the control step, the course, the game frame, the HUD slide and
// the four empty lists) and the animation key cursors back at 0. Run by the
// level population before it appends the level's enemies and bases.
void startFreshGame();
