#pragma once

// Control of the headless platform the tests run the game on: an OSMesa
// context in place of the window, a keyboard, clock and dialog answer set by
// the test, and a record of message boxes, destroy requests and swaps.

#include "input/gamepad.h"
#include "input/sounds.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace headless {

struct MessageBox {
    std::string text;
    std::string caption;
};

// Back to a fresh state: no context, no keys down, clock at 0, dialog
// answering "Start Game" windowed, a 1920 by 1040 usable display.
void reset();

void setUsableDisplay(int width, int height);
// The answer of the display-settings dialog.
void setDialogAnswer(bool start, bool fullScreen);
// The size of the full-screen drawable (the desktop mode).
void setDesktopSize(int width, int height);
// Pixels per window unit: 2 stands for a high-density display.
void setPixelDensity(int scale);
// What platformExecutableDir answers (empty by default).
void setExecutableDir(const std::string& dir);
// Makes the next window creation fail with this reason.
void failWindowCreation(const std::string& reason);
// Makes opening the display fail with this reason.
void failDisplay(const std::string& reason);
// How often the dialog was shown since the reset, and the mode it offered
// first the last time.
int dialogsShown();
bool dialogOfferedFullScreen();

// Key state seen by every later snapshot, until changed.
void setKey(int vk, bool down);
void releaseAllKeys();
// Window focus: without it every snapshot reads all keys up (the
// controllers still read).
void setFocus(bool focused);

// Game controllers, each by a number of the test's choosing: plugged in
// (all released), unplugged, and their buttons and axes set (seen by every
// later read until changed). A button tapped goes down and up between two
// frames: the next read sees it pressed once.
void plugController(int id);
void unplugController(int id);
void setControllerButton(int id, GamepadButton button, bool down);
void tapControllerButton(int id, GamepadButton button);
void setControllerAxis(int id, GamepadAxis axis, int16_t value);

void setMilliseconds(uint32_t ms);
void advanceMilliseconds(uint32_t ms);

// Called at the start of every drain with the number of the frame about to
// run (0 for the first), before the drain decides whether to quit: the
// place to script keys, the clock or a quit per frame.
void onFrame(std::function<void(int frame)> script);
// The close box: the next drain returns false.
void requestQuit();

const std::vector<MessageBox>& messageBoxes();
bool destroyRequested();
bool windowCreated();
bool cursorHidden();
int framesSwapped();
int framesPaced();
// The request the last window was created from.
bool lastWindowFullScreen();
int lastWindowX();
int lastWindowY();
int lastWindowWidth();
int lastWindowHeight();

// The recording sink in place of the mixer: what the last frames (up to
// a thousand, so that a soak of whole games holds no more memory as it
// goes) handed to platformPlaySounds, oldest first, and how many frames
// handed sounds since the reset.
struct HandedSounds {
    FrameSounds sounds;
    bool muted = false;
};
constexpr size_t HandedSoundsKept = 1000;
const std::deque<HandedSounds>& handedSounds();
int soundHandOvers();
bool soundOpened();

// Makes an OSMesa context of the given size current without the game's
// window creation, for tests of drawing code. The game's window has an
// 8-bit stencil buffer; a context without one stands for a driver that
// offers none.
void makeContext(int width, int height, bool stencil = true);
// The colour buffer, bottom row first, RGBA.
std::vector<uint8_t> readPixels(int* width, int* height);

} // namespace headless
