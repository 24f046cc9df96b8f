#pragma once

// The instructions page and the scrolling credits: ASE scenes loaded once
// at start-up, shown from the main menu and left with Escape.

class Scene;

extern Scene* InstructionsScene;
extern Scene* Credits0Scene;
extern Scene* Credits1Scene;
extern Scene* Credits2Scene;
extern Scene* Credits3Scene;

// How far the credits have rolled: from -130 up to 130 by 0.1 a frame, then
// still. Kept across visits, so a second visit carries on where the first
// stopped.
extern float creditsScroll;

void loadInstructionsScene();
void loadCreditsScenes();
void instructionsScreenStep();
void creditsScreenStep();
