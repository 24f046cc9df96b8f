#pragma once

// Another program may take the game's window away: a window manager's
// "close" that destroys it, a tool like xdotool, or a client that kills our
// connection to the display. Xlib's default answer to the errors that follow
// is to end the process on the spot with status 1 and no clean-up. Here the
// loss of a window is a quit request instead.

#include <SDL.h>

// Installs the error handlers alone. Called before video starts, they are
// the handlers SDL saves and puts back when video stops, so that an error
// still on its way then (a window already gone) ends nothing.
void installLostWindowHandlers();

// Installs the error handlers and asks SDL for the raw window-system events
// in which a window's destruction shows. Call once video has started, and
// again after steps that may replace the handlers (making a GL context).
void watchForLostWindows();

// True for the event that tells that `window` no longer exists.
bool isLossOf(const SDL_Event& event, SDL_Window* window);

// True once a request on a window failed because the window was gone.
bool windowLostByError();

// SDL_DestroyWindow, with the errors of a window already gone answered
// here: SDL puts Xlib's fatal default handler back as it shuts down, and
// an error still on its way would then end the process.
void destroyWindow(SDL_Window* window);
