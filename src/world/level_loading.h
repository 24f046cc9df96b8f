#pragma once

// The loading screen: ten frames, each loading a few of the level's scenes
// (world/level_scenes.h) and growing the progress bar, so that the screen
// is redrawn between the slow file loads. After the tenth the level is
// populated and the game starts in that same frame.

// The step the next call runs, 0 to 9; 10 once loading has ended.
extern unsigned int LoadStep;
// Length factor of the bar: the sum of the increments so far, 2.1 in all
// (the bar model is made for that range).
extern float LoadProgress;

void loadLevelStep();
