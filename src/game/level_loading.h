#pragma once

// The loading screen: ten frames, each loading a few of the level's scenes
// (LevelSceneFiles) and growing the progress bar, so that the screen is
// redrawn between the slow file loads. After the tenth the level is
// populated and the game starts in that same frame.
//
// The step's files are read and parsed and their images decoded (ahead, on
// a worker thread); the drawing makes their textures
// (screens/loading_screen.h) before it draws.

void loadLevelStep();
// The loading's frames, the last of which starts the game.
constexpr unsigned int LevelLoadSteps = 10;

// The steps' files are read, parsed and their images decoded on a worker
// thread, step after step, while the loading frames draw; each step takes
// its own, with the same reports in the same order as if it read them
// itself. Start Game starts the worker; a step that finds none started (or
// started for another level) starts it from its own files on.
void readLevelAhead();
