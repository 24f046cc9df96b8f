#pragma once

// The instructions page and the scrolling credits, loaded once at start-up.
void loadInstructionsScene();
void loadCreditsScenes();
void instructionsScreenStep();
void creditsScreenStep();
