#include "screens/hud.h"

// Not built yet: draws nothing.
void hudLayer() {}
