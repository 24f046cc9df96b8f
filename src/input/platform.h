#pragma once

// What the game asks of the desktop system. Two implementations exist: the
// SDL2 one the game ships with (platform_sdl.cpp, dialog_sdl.cpp) and the
// headless one the tests run on (tests/headless). Game code includes this
// header and nothing of SDL; it never asks which implementation it runs on.

#include "input/gamepad.h"
#include "input/sounds.h"

#include <cstdint>
#include <string>
#include <vector>

struct DisplaySize {
    int width = 0;
    int height = 0;
};

// Connects to the desktop's display through a driver that shows windows
// (X11, Wayland, or what the system offers; never an off-screen one). On
// failure writes a sentence naming the problem and the display tried into
// *error and returns false, at once: the game cannot be shown anywhere.
bool platformOpenDisplay(std::string* error);

// The usable area of the primary display (the desktop less panels and
// docks): what a full-screen client area can be.
DisplaySize platformUsableDisplaySize();

// The display-settings dialog, offering *fullScreen's mode first. Returns
// true when the player chose "Start Game" and writes the chosen mode; false
// for "Exit Game", Escape or the close box. No game window exists before or
// during the dialog.
bool platformRunDisplayDialog(bool* fullScreen);

struct WindowRequest {
    bool fullScreen = false;
    int x = 0; // windowed: the client area's top-left corner
    int y = 0;
    int width = 800; // windowed: the client size; full screen: ignored
    int height = 600;
    const char* title = "Kestrava";
};

// Creates the game window and makes a double-buffered RGBA GL context with
// a depth buffer of at least 24 bits current on it. On failure writes a
// sentence naming what failed into *error and returns false.
bool platformCreateWindow(const WindowRequest& request, std::string* error);

// The size of the window's drawable in pixels: larger than the window's
// size on high-density displays.
DisplaySize platformDrawableSize();

// Drains all pending window events. Returns false once the game should quit
// (the close box, a quit request from the system, the window taken away by
// another program, or platformDestroyWindow).
bool platformDrainEvents();

// Fills 256 bytes indexed by Windows virtual-key code; bit 7 set means the
// key is down. All zero while the window does not have the keyboard focus.
void platformKeyboardSnapshot(uint8_t keys[256]);

// Whether the game window has the keyboard focus.
bool platformHasFocus();

// The game controllers plugged in, merged into one (all released when none
// is): what each holds now, and each button pressed and let go since the
// last call, so that a tap shorter than a frame still counts. Controllers
// may come and go at any time. They are read while the game window is
// shown, with or without the focus.
void platformGamepadState(GamepadState* pad);

// Milliseconds on a steady clock; wraps like a 32-bit counter.
uint32_t platformMilliseconds();

// Writes the text to standard error and shows it in an error message box
// where the desktop can show one. It never waits for the player: the game
// goes on while the box is up.
void platformErrorBox(const char* text, const char* caption);

// The entry of the process that shows an error box for the game while the
// game goes on: given the program's arguments, shows the box and returns
// the exit status, or returns -1 when the arguments do not ask for a box.
int platformErrorBoxProcess(int argc, char** argv);

// Asks for the window to go away: the current frame completes and the next
// platformDrainEvents returns false.
void platformDestroyWindow();

void platformHideCursor();

void platformSwapBuffers();

// Waits so that frames start 1/60 s apart on the wall clock.
void platformPaceFrame();

// Opens the sound device and reads the sounds (the files of SoundFileNames
// in the current directory), once at start-up. Without a device, or
// without a file, the game runs as before with that much less sound, and
// says so once on standard error.
void platformOpenSound();

// Plays the frame's sounds: starts its events and keeps the rotor's loop
// as the frame asks. Muted, nothing plays and what still plays stops.
void platformPlaySounds(const FrameSounds& sounds, bool muted);

// Releases the GL context and the window; safe to call when none exists.
void platformShutdown();

// The directory holding the running executable, with a trailing slash, or
// empty when it cannot be told.
std::string platformExecutableDir();

// Image decoding for the textures: render/image_decoding.h.
