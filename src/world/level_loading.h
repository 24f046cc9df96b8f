#pragma once

// The loading screen: ten frames, each loading a few of the level's scenes
// (world/level_scenes.h) and growing the progress bar, so that the screen
// is redrawn between the slow file loads. After the tenth the level is
// populated and the game starts in that same frame.

void loadLevelStep();
