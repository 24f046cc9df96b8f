#include "game/enemies_step.h"

// The enemies come with the combat work; until then they wait unseen.
void enemiesStep() {}
