// The platform functions on SDL2: the game's window, GL context, keyboard,
// clock, message box and frame pacing. The only game code that sees SDL
// (with the dialog and the image decoding beside it).

#include "platform/frame_pacer.h"
#include "platform/platform.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

SDL_Window* Window = nullptr;
SDL_GLContext Context = nullptr;
bool QuitPending = false;
FramePacer Pacer;

// Keys that went down since the last snapshot. A tap shorter than a frame
// (a quick finger, or a test's synthetic key) goes down and up between two
// snapshots; it still counts as down in the next one instead of being lost.
bool Tapped[SDL_NUM_SCANCODES];

bool ensureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // Our own frame pacing decides when frames start; the compositor should
    // not be asked to switch off for us.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Kestrava: SDL could not start its video subsystem: %s\n", SDL_GetError());
        return false;
    }
    return true;
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

int64_t nowMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

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
    if (!Window) {
        *error = std::string("The game window could not be created: ") + SDL_GetError();
        return false;
    }
    Context = SDL_GL_CreateContext(Window);
    if (!Context) {
        *error = std::string("No OpenGL context with double-buffered RGBA and a 24-bit depth "
                             "buffer could be created: ") +
                 SDL_GetError();
        SDL_DestroyWindow(Window);
        Window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(Window, Context);

    // Vsync where the display's rate is a whole multiple of the game's 60
    // frames a second; the limiter paces everything else.
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(Window);
    bool syncable = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 &&
                    mode.refresh_rate > 0 && mode.refresh_rate % 60 == 0;
    SDL_GL_SetSwapInterval(syncable ? 1 : 0);

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
        else if (event.type == SDL_KEYDOWN && !event.key.repeat &&
                 event.key.keysym.scancode < SDL_NUM_SCANCODES)
            Tapped[event.key.keysym.scancode] = true;
    }
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

uint32_t platformMilliseconds() { return SDL_GetTicks(); }

void platformErrorBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, Window);
}

void platformDestroyWindow() { QuitPending = true; }

void platformHideCursor() { SDL_ShowCursor(SDL_DISABLE); }

void platformSwapBuffers()
{
    if (Window)
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
    if (Context) {
        SDL_GL_DeleteContext(Context);
        Context = nullptr;
    }
    if (Window) {
        SDL_DestroyWindow(Window);
        Window = nullptr;
    }
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
