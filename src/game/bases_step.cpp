#include "game/bases_step.h"

// The bases come with the combat work; until then the game frame passes
// over them.
void basesStep() {}
