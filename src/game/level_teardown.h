#pragma once

// Leaves a game for the menu (Escape): deletes the level's scenes, restores
// the lives, closes the course file, rewinds the loading (and with it the
// level's fog) and switches to the menu, which runs in the same frame.
void tearDownLevel();

// Hands the memory the process has freed back to the system (glibc keeps it
// for later allocations otherwise).
void handBackFreedMemory();
