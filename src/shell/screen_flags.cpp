#include "shell/screen_flags.h"

bool MenuActive = true;
bool LoadingActive = false;
bool GameActive = false;
bool InstructionsActive = false;
bool CreditsActive = false;

float FieldOfView = 60.0f;
