#pragma once

// ScreenFlags: which screens take part in a frame. Exactly one of the five
// is true at a time; the screens switch them themselves, clearing one and
// setting another in the same step.
extern bool MenuActive;
extern bool LoadingActive;
extern bool GameActive;
extern bool InstructionsActive;
extern bool CreditsActive;

// Vertical field of view of the perspective projection, in degrees.
extern float FieldOfView;
