#include "game/control_step.h"

// Not built yet: moves nothing.
void controlStep() {}
