#include "screens/info_screens.h"

// Not built yet: no scenes are loaded and the steps draw nothing.
void loadInstructionsScene() {}
void loadCreditsScenes() {}
void instructionsScreenStep() {}
void creditsScreenStep() {}
