#pragma once

// Leaves a game for the menu (Escape): deletes the level's scenes, restores
// the lives, closes the course file, rewinds the loading, brings back the
// menu's fog and switches to the menu, which runs in the same frame.
void tearDownLevel();
