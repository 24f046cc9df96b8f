#include "game/shots_step.h"

// The shots' flight comes with the combat work; until then the records the
// control step appends stay fresh.
void rocketsStep() {}
void bulletsStep() {}
