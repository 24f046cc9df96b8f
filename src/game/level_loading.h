#pragma once

// The loading screen: ten frames, each loading a few of the level's scenes
// (LevelSceneFiles) and growing the progress bar, so that the screen is
// redrawn between the slow file loads. After the tenth the level is
// populated and the game starts in that same frame.
//
// The step reads and parses the files and decodes their images; the
// drawing makes their textures (screens/loading_screen.h) before it draws.

void loadLevelStep();
