#pragma once

// The enemy helicopters of the game frame: sinking, swaying, turning to the
// hero, firing and crashing. Called with the camera as the modelview.
void enemiesStep();
