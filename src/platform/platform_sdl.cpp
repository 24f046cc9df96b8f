// The platform functions on SDL2: the game's window, GL context, keyboard,
// clock, message box and frame pacing. The only game code that sees SDL
// (with the dialog and the image decoding beside it).

#include "input/frame_pacer.h"
#include "input/platform.h"

#include "platform/gamepad_sdl.h"
#include "platform/sound_sdl.h"
#include "platform/window_loss.h"

#include <SDL.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

SDL_Window* Window = nullptr;
SDL_GLContext Context = nullptr;
bool QuitPending = false;
// The window was destroyed by another program: nothing may be drawn to it.
bool WindowGone = false;
// Processes showing error boxes for us.
std::vector<pid_t> BoxProcesses;
constexpr size_t MaxBoxesShown = 3;
FramePacer Pacer;

// Keys that went down since the last snapshot. A tap shorter than a frame
// (a quick finger, or a test's synthetic key) goes down and up between two
// snapshots; it still counts as down in the next one instead of being lost.
bool Tapped[SDL_NUM_SCANCODES];

// Drivers that show nothing: a game started with them would wait for ever
// for a player who cannot see it.
bool showsWindows(const std::string& driver)
{
    return driver != "offscreen" && driver != "dummy" && driver != "evdev";
}

// The drivers to try, in SDL's order of preference, or those the player
// named in SDL_VIDEODRIVER (a comma-separated list).
std::vector<std::string> videoDriverCandidates()
{
    std::vector<std::string> drivers;
    const char* named = SDL_getenv("SDL_VIDEODRIVER");
    if (named && *named) {
        std::string list = named;
        for (size_t start = 0; start <= list.size();) {
            size_t comma = list.find(',', start);
            if (comma == std::string::npos)
                comma = list.size();
            if (comma > start)
                drivers.push_back(list.substr(start, comma - start));
            start = comma + 1;
        }
        return drivers;
    }
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
        drivers.push_back(SDL_GetVideoDriver(i));
    return drivers;
}

std::string environmentValue(const char* name)
{
    const char* value = SDL_getenv(name);
    return value && *value ? std::string("\"") + value + "\"" : "not set";
}

bool ensureVideo()
{
    std::string error;
    return platformOpenDisplay(&error);
}

// The virtual-key code of a key, or 0 for keys the game has no code for.
// Letters go by the label of the key in the current layout, so W is W on an
// AZERTY keyboard too; the rest by position.
int virtualKeyOf(SDL_Scancode scancode)
{
    SDL_Keycode key = SDL_GetKeyFromScancode(scancode);
    if (key >= SDLK_a && key <= SDLK_z)
        return 0x41 + (key - SDLK_a);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return 0x31 + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return 0x70 + (scancode - SDL_SCANCODE_F1);
    switch (scancode) {
    case SDL_SCANCODE_0:
        return 0x30;
    case SDL_SCANCODE_BACKSPACE:
        return 0x08;
    case SDL_SCANCODE_TAB:
        return 0x09;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
        return 0x0D;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return 0x10;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return 0x11;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return 0x12;
    case SDL_SCANCODE_PAUSE:
        return 0x13;
    case SDL_SCANCODE_ESCAPE:
        return 0x1B;
    case SDL_SCANCODE_SPACE:
        return 0x20;
    case SDL_SCANCODE_PAGEUP:
        return 0x21;
    case SDL_SCANCODE_PAGEDOWN:
        return 0x22;
    case SDL_SCANCODE_END:
        return 0x23;
    case SDL_SCANCODE_HOME:
        return 0x24;
    case SDL_SCANCODE_LEFT:
        return 0x25;
    case SDL_SCANCODE_UP:
        return 0x26;
    case SDL_SCANCODE_RIGHT:
        return 0x27;
    case SDL_SCANCODE_DOWN:
        return 0x28;
    case SDL_SCANCODE_INSERT:
        return 0x2D;
    case SDL_SCANCODE_DELETE:
        return 0x2E;
    default:
        return 0;
    }
}

// Windows also reports the left and right modifier keys under codes of
// their own, beside the shared one.
int sideKeyOf(SDL_Scancode scancode)
{
    switch (scancode) {
    case SDL_SCANCODE_LSHIFT:
        return 0xA0;
    case SDL_SCANCODE_RSHIFT:
        return 0xA1;
    case SDL_SCANCODE_LCTRL:
        return 0xA2;
    case SDL_SCANCODE_RCTRL:
        return 0xA3;
    case SDL_SCANCODE_LALT:
        return 0xA4;
    case SDL_SCANCODE_RALT:
        return 0xA5;
    default:
        return 0;
    }
}

// Collects the error-box processes that have ended; the others live on,
// and their boxes stay up after the game has gone.
void reapBoxProcesses()
{
    for (size_t i = 0; i < BoxProcesses.size();) {
        if (waitpid(BoxProcesses[i], nullptr, WNOHANG) != 0)
            BoxProcesses.erase(BoxProcesses.begin() + static_cast<long>(i));
        else
            ++i;
    }
}

int64_t nowMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

bool platformOpenDisplay(std::string* error)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // Our own frame pacing decides when frames start; the compositor should
    // not be asked to switch off for us.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    const bool named = SDL_getenv("SDL_VIDEODRIVER") && *SDL_getenv("SDL_VIDEODRIVER");
    std::vector<std::string> drivers;
    for (const std::string& driver : videoDriverCandidates()) {
        if (showsWindows(driver))
            drivers.push_back(driver);
        else if (named)
            std::fprintf(stderr, "Kestrava: the video driver '%s' shows no window; not using it\n",
                         driver.c_str());
    }
    installLostWindowHandlers();
    std::string tried;
    // A busy display server may refuse a connection for a moment: a named
    // display gets three tries within half a second before the game gives
    // up.
    const bool displayNamed = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
    for (int round = 0; round < (displayNamed ? 3 : 1); ++round) {
        if (round > 0)
            SDL_Delay(150 * round);
        tried.clear();
        for (const std::string& driver : drivers) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
                watchForLostWindows();
                return true;
            }
            tried += (tried.empty() ? "" : ", ") + driver;
        }
    }
    *error = "No display could be opened, so the game has nowhere to show itself: DISPLAY is " +
             environmentValue("DISPLAY") + " and WAYLAND_DISPLAY is " + environmentValue("WAYLAND_DISPLAY") +
             " (tried " + (tried.empty() ? std::string("no driver that shows windows") : tried) +
             "). Start Kestrava from a desktop session, or point DISPLAY at a running X server.";
    return false;
}

DisplaySize platformUsableDisplaySize()
{
    if (!ensureVideo())
        return {800, 600};
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 && SDL_GetDisplayBounds(0, &usable) != 0)
        return {800, 600};
    return {usable.w, usable.h};
}

bool platformCreateWindow(const WindowRequest& request, std::string* error)
{
    if (!ensureVideo()) {
        *error = std::string("The video system could not be started: ") + SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    // The menu marks where its dense falling points passed the depth test;
    // a driver without a stencil buffer gets a window without one.
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
    int x = request.x, y = request.y, width = request.width, height = request.height;
    if (request.fullScreen) {
        // The desktop's own mode in a borderless window: nothing to switch,
        // nothing to restore. The window is made at the display's full size
        // too, so that it covers the display even where no window manager
        // acts on the full-screen request.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
        SDL_Rect bounds{0, 0, 800, 600};
        SDL_GetDisplayBounds(0, &bounds);
        x = bounds.x;
        y = bounds.y;
        width = bounds.w;
        height = bounds.h;
    }
    Window = SDL_CreateWindow(request.title, x, y, width, height, flags);
    if (Window && !(Context = SDL_GL_CreateContext(Window))) {
        destroyWindow(Window);
        Window = nullptr;
    }
    if (!Window) {
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
        Window = SDL_CreateWindow(request.title, x, y, width, height, flags);
    }
    if (!Window) {
        *error = std::string("The game window could not be created: ") + SDL_GetError();
        return false;
    }
    if (!Context)
        Context = SDL_GL_CreateContext(Window);
    if (!Context) {
        *error = std::string("No OpenGL context with double-buffered RGBA and a 24-bit depth "
                             "buffer could be created: ") +
                 SDL_GetError();
        destroyWindow(Window);
        Window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(Window, Context);
    watchForLostWindows();

    // Vsync where the display's rate is a whole multiple of the game's 60
    // frames a second; the limiter paces everything else.
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(Window);
    bool syncable = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 &&
                    mode.refresh_rate > 0 && mode.refresh_rate % 60 == 0;
    SDL_GL_SetSwapInterval(syncable ? 1 : 0);

    startGamepads();
    SDL_ShowWindow(Window);
    SDL_RaiseWindow(Window);
    return true;
}

DisplaySize platformDrawableSize()
{
    DisplaySize size{800, 600};
    if (Window)
        SDL_GL_GetDrawableSize(Window, &size.width, &size.height);
    return size;
}

bool platformDrainEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            QuitPending = true;
        else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
            QuitPending = true;
        else if (isLossOf(event, Window)) {
            std::fputs("Kestrava: the game window was closed by another program; quitting\n", stderr);
            QuitPending = true;
            WindowGone = true;
        } else if (event.type == SDL_KEYDOWN && !event.key.repeat &&
                   event.key.keysym.scancode < SDL_NUM_SCANCODES)
            Tapped[event.key.keysym.scancode] = true;
        else
            handleGamepadEvent(event);
    }
    if (windowLostByError() && !WindowGone) {
        std::fputs("Kestrava: the game window is gone; quitting\n", stderr);
        QuitPending = true;
        WindowGone = true;
    }
    reapBoxProcesses();
    return !QuitPending;
}

void platformKeyboardSnapshot(uint8_t keys[256])
{
    std::memset(keys, 0, 256);
    // Keys held while the window lost the focus count as released.
    if (!Window || SDL_GetKeyboardFocus() != Window) {
        std::memset(Tapped, 0, sizeof Tapped);
        return;
    }
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int sc = 0; sc < count && sc < SDL_NUM_SCANCODES; ++sc) {
        bool down = state[sc] || Tapped[sc];
        Tapped[sc] = false;
        if (!down)
            continue;
        auto scancode = static_cast<SDL_Scancode>(sc);
        if (int vk = virtualKeyOf(scancode))
            keys[vk] = 0x80;
        if (int side = sideKeyOf(scancode))
            keys[side] = 0x80;
    }
}

bool platformHasFocus() { return Window && SDL_GetKeyboardFocus() == Window; }

void platformGamepadState(GamepadState* pad)
{
    readGamepads(pad);
    // Read while the window is shown, focused or not: a player on a couch
    // may resume with Start after the window lost the focus. A window
    // hidden or minimised is not being played.
    if (!Window || (SDL_GetWindowFlags(Window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)))
        *pad = GamepadState();
}

uint32_t platformMilliseconds() { return SDL_GetTicks(); }

void platformErrorBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    // Without a display there is nowhere to show a box; standard error has
    // the text.
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    // A flood of errors (a data directory that is gone) would open a box
    // for each: a few at a time are shown, standard error has them all.
    reapBoxProcesses();
    if (BoxProcesses.size() >= MaxBoxesShown)
        return;
#if defined(__linux__)
    // A process of its own shows the box, so that the game never waits for
    // the player to dismiss it (nor hangs behind a full-screen window that
    // hides it). It is this program again, started with the box's words.
    char self[] = "/proc/self/exe";
    char option[] = "--show-error-box";
    std::string captionCopy = caption, textCopy = text;
    char* argv[] = {self, option, captionCopy.data(), textCopy.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, argv, environ) == 0) {
        BoxProcesses.push_back(child);
        return;
    }
#endif
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0)
        std::fprintf(stderr, "Kestrava: the message box could not be shown: %s\n", SDL_GetError());
}

int platformErrorBoxProcess(int argc, char** argv)
{
    if (argc != 4 || std::strcmp(argv[1], "--show-error-box") != 0)
        return -1;
    std::string error;
    if (!platformOpenDisplay(&error)) {
        std::fprintf(stderr, "Kestrava: the message box could not be shown: %s\n", error.c_str());
        return 1;
    }
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, argv[2], argv[3], nullptr) != 0) {
        std::fprintf(stderr, "Kestrava: the message box could not be shown: %s\n", SDL_GetError());
        return 1;
    }
    return 0;
}

void platformDestroyWindow() { QuitPending = true; }

void platformHideCursor() { SDL_ShowCursor(SDL_DISABLE); }

void platformSwapBuffers()
{
    if (Window && !WindowGone)
        SDL_GL_SwapWindow(Window);
}

void platformPaceFrame()
{
    int64_t wait = Pacer.delayAfterFrame(nowMicros());
    if (wait > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
}

void platformShutdown()
{
    closeSound();
    reapBoxProcesses();
    watchForLostWindows();
    if (Context) {
        SDL_GL_DeleteContext(Context);
        Context = nullptr;
    }
    if (Window) {
        destroyWindow(Window);
        Window = nullptr;
    }
    stopGamepads();
    SDL_Quit();
}

std::string platformExecutableDir()
{
    std::string dir;
    if (char* base = SDL_GetBasePath()) {
        dir = base;
        SDL_free(base);
    }
    return dir;
}
