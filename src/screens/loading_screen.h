#pragma once

// The loading screen's drawing: the progress bar as the loading steps
// (game/level_loading.h) left it.

void drawLoadingScreen();

// Makes the textures of the level's scenes (and the loading screen's) that
// were read since the last drawing; once all of the level's are made, the
// registry forgets the level's images. The drawing runs it before it draws
// anything.
void uploadLevelTextures();
