#include "game/game_frame.h"

// Not built yet: draws nothing.
void gameFrame() {}
