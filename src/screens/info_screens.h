#pragma once

// The instructions page and the scrolling credits: ASE scenes loaded once
// at start-up, shown from the main menu and left with Escape. Each frame
// clears the picture; the frame in which Escape leaves a screen shows it
// cleared, and the menu shows from the next.

void loadInstructionsScene();
void loadCreditsScenes();

// Escape back to the menu.
void advanceInstructions();
void drawInstructionsScreen();

// Escape back to the menu; otherwise the credits roll on by 0.1 a frame
// until they reach 130.
void advanceCredits();
void drawCreditsScreen();
