#pragma once

// The game's scene-pass step: fuel, steering, shots, the course and the
// camera, which it leaves pushed on the modelview stack for the game frame.
void controlStep();
