#pragma once

// The 3D main menu. The placement step runs in the scene pass: it reads the
// keys, advances the item spins, fires actions and leaves the menu's
// modelview in place. The drawing step runs in the screen pass.
void menuPlacementStep();
void menuDrawingStep();
