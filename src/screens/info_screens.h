#pragma once

// The instructions page and the scrolling credits: ASE scenes loaded once
// at start-up, shown from the main menu and left with Escape.

void loadInstructionsScene();
void loadCreditsScenes();
void instructionsScreenStep();
void creditsScreenStep();
