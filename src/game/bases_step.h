#pragma once

// The military bases of the game frame: draws the near bases in their
// intact, damaged or wreck looks with their health bars. Called with the
// camera as the modelview.
void basesStep();
