#pragma once

// The pause: P (the controller's Start reads as P in a game) stops the game
// and P again resumes it; a window that loses the focus pauses it too.
// While paused nothing of the game advances and its clock stands still;
// the frame shows the game as it stood, with the "Paused" caption.

#include <cstdint>

// Notes the window's focus at the start of every frame, whatever screen
// runs: a focus lost, even during the loading, pauses the game at its next
// frame, unless the focus has come back by then.
void followFocus(bool focused);

// The first thing of every frame in which a game runs. Pauses on P or a
// lost focus, resumes on P, and resumes on Escape too so that the control
// step can leave the game as ever. A game won or lost has nothing left to
// pause. Returns true while the game is paused: the frame advances nothing.
bool pauseStep(uint32_t now);

// The game's clock for the frame's reading `now`: it stopped while the
// game was paused.
uint32_t gameMilliseconds(uint32_t now);
