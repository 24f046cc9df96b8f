#include "platform/window_loss.h"

#include <SDL_syswm.h>

#include <atomic>
#include <cstdio>
#include <unistd.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>

namespace {

std::atomic<bool> LostByError{false};
XErrorHandler PreviousHandler = nullptr;

// A window destroyed by someone else answers every later request on it
// with BadWindow or BadDrawable (a swap, a cursor change).
int onXError(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable) {
        LostByError = true;
        return 0;
    }
    return PreviousHandler ? PreviousHandler(display, error) : 0;
}

// The connection itself is gone (the server ended, or a client killed
// ours): nothing can be cleaned up through it. Xlib ends the process after
// this returns; end it here, as a quit, with the reason on standard error.
int onXConnectionLost(Display*)
{
    std::fputs("Kestrava: the connection to the display was lost; quitting\n", stderr);
    std::fflush(stderr);
    _exit(0);
}

} // namespace

void installLostWindowHandlers()
{
    XErrorHandler previous = XSetErrorHandler(onXError);
    if (previous != onXError)
        PreviousHandler = previous;
    XSetIOErrorHandler(onXConnectionLost);
}

void watchForLostWindows()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || SDL_strcmp(driver, "x11") != 0)
        return;
    // Libraries may set handlers of their own for a while (GL drivers do,
    // around the context's creation) and leave another one behind: this is
    // called again after such steps.
    installLostWindowHandlers();
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool isLossOf(const SDL_Event& event, SDL_Window* window)
{
    if (event.type != SDL_SYSWMEVENT || !window || event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    if (x.type != DestroyNotify)
        return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11 &&
           x.xdestroywindow.window == info.info.x11.window;
}

bool windowLostByError() { return LostByError; }

void destroyWindow(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    Display* display = nullptr;
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        display = info.info.x11.display;
    watchForLostWindows();
    SDL_DestroyWindow(window);
    if (display)
        XSync(display, False);
}

#else

void installLostWindowHandlers() {}
void watchForLostWindows() {}
bool isLossOf(const SDL_Event&, SDL_Window*) { return false; }
bool windowLostByError() { return false; }
void destroyWindow(SDL_Window* window) { SDL_DestroyWindow(window); }

#endif
