#pragma once

// The player's rockets and bullets in the game frame: launch, flight, hits
// and explosions. Called with the camera as the modelview.
void rocketsStep();
void bulletsStep();
