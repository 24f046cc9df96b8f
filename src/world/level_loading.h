#pragma once

// One step of the level loading screen, run once a frame while LoadingActive.
void loadLevelStep();
