// The platform functions on OSMesa, for tests: the game's real frame code
// runs unchanged and draws into a software colour buffer.

#include "headless/headless_platform.h"

#include "input/platform.h"

#include <GL/osmesa.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

struct State {
    DisplaySize usable{1920, 1040};
    DisplaySize desktop{1920, 1080};
    int density = 1;
    bool dialogStart = true;
    bool dialogFullScreen = false;
    int dialogsShown = 0;
    bool dialogOffered = false;
    std::string failReason;
    std::string displayFailReason;
    std::string exeDir;

    uint8_t keys[256] = {};
    std::map<int, GamepadState> controllers;
    GamepadState tapped;
    bool focused = true;
    uint32_t clock = 0;
    std::function<void(int)> script;
    int frame = 0;
    bool quit = false;

    std::vector<headless::MessageBox> boxes;
    bool destroyed = false;
    bool created = false;
    bool cursorHidden = false;
    int swaps = 0;
    int paced = 0;
    WindowRequest lastRequest;
    std::deque<headless::HandedSounds> sounds;
    int soundHandOvers = 0;
    bool soundOpened = false;

    OSMesaContext context = nullptr;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> buffer;
};

State& state()
{
    static State s;
    return s;
}

void destroyContext()
{
    State& s = state();
    if (s.context) {
        OSMesaDestroyContext(s.context);
        s.context = nullptr;
    }
    s.buffer.clear();
    s.width = s.height = 0;
}

bool createContext(int width, int height, bool stencil = true)
{
    destroyContext();
    State& s = state();
    // A compatibility context: the game speaks OpenGL 1.x.
    const int attributes[] = {OSMESA_FORMAT,
                              OSMESA_RGBA,
                              OSMESA_DEPTH_BITS,
                              24,
                              OSMESA_STENCIL_BITS,
                              stencil ? 8 : 0,
                              OSMESA_ACCUM_BITS,
                              0,
                              OSMESA_PROFILE,
                              OSMESA_COMPAT_PROFILE,
                              0};
    s.context = OSMesaCreateContextAttribs(attributes, nullptr);
    if (!s.context)
        return false;
    s.buffer.assign(static_cast<size_t>(width) * height * 4, 0);
    if (!OSMesaMakeCurrent(s.context, s.buffer.data(), GL_UNSIGNED_BYTE, width, height)) {
        destroyContext();
        return false;
    }
    s.width = width;
    s.height = height;
    return true;
}

} // namespace

namespace headless {

void reset()
{
    destroyContext();
    State& s = state();
    s = State();
}

void setUsableDisplay(int width, int height) { state().usable = {width, height}; }
void setDialogAnswer(bool start, bool fullScreen)
{
    state().dialogStart = start;
    state().dialogFullScreen = fullScreen;
}
void setDesktopSize(int width, int height) { state().desktop = {width, height}; }
void setPixelDensity(int scale) { state().density = scale; }
void setExecutableDir(const std::string& dir) { state().exeDir = dir; }
void failWindowCreation(const std::string& reason) { state().failReason = reason; }
void failDisplay(const std::string& reason) { state().displayFailReason = reason; }
int dialogsShown() { return state().dialogsShown; }
bool dialogOfferedFullScreen() { return state().dialogOffered; }

void setKey(int vk, bool down) { state().keys[vk & 0xFF] = down ? 0x80 : 0; }
void releaseAllKeys() { std::memset(state().keys, 0, sizeof state().keys); }
void setFocus(bool focused) { state().focused = focused; }

void plugController(int id) { state().controllers[id] = GamepadState(); }
void unplugController(int id) { state().controllers.erase(id); }
void setControllerButton(int id, GamepadButton button, bool down)
{
    auto found = state().controllers.find(id);
    if (found != state().controllers.end())
        found->second.setButton(button, down);
}
void tapControllerButton(int id, GamepadButton button)
{
    if (state().controllers.count(id))
        state().tapped.setButton(button, true);
}
void setControllerAxis(int id, GamepadAxis axis, int16_t value)
{
    auto found = state().controllers.find(id);
    if (found != state().controllers.end())
        found->second.setAxis(axis, value);
}

void setMilliseconds(uint32_t ms) { state().clock = ms; }
void advanceMilliseconds(uint32_t ms) { state().clock += ms; }

void onFrame(std::function<void(int)> script) { state().script = std::move(script); }
void requestQuit() { state().quit = true; }

const std::vector<MessageBox>& messageBoxes() { return state().boxes; }
bool destroyRequested() { return state().destroyed; }
bool windowCreated() { return state().created; }
bool cursorHidden() { return state().cursorHidden; }
int framesSwapped() { return state().swaps; }
int framesPaced() { return state().paced; }
bool lastWindowFullScreen() { return state().lastRequest.fullScreen; }
int lastWindowX() { return state().lastRequest.x; }
int lastWindowY() { return state().lastRequest.y; }
int lastWindowWidth() { return state().lastRequest.width; }
int lastWindowHeight() { return state().lastRequest.height; }
const std::deque<HandedSounds>& handedSounds() { return state().sounds; }
int soundHandOvers() { return state().soundHandOvers; }
bool soundOpened() { return state().soundOpened; }

void makeContext(int width, int height, bool stencil)
{
    if (!createContext(width, height, stencil))
        std::fprintf(stderr, "headless: no OSMesa context\n");
}

std::vector<uint8_t> readPixels(int* width, int* height)
{
    State& s = state();
    glFinish();
    *width = s.width;
    *height = s.height;
    // OSMesa keeps row 0 at the bottom, as glReadPixels does.
    return s.buffer;
}

} // namespace headless

DisplaySize platformUsableDisplaySize() { return state().usable; }

bool platformOpenDisplay(std::string* error)
{
    *error = state().displayFailReason;
    return error->empty();
}

int platformErrorBoxProcess(int, char**) { return -1; }

bool platformRunDisplayDialog(bool* fullScreen)
{
    ++state().dialogsShown;
    state().dialogOffered = *fullScreen;
    *fullScreen = state().dialogFullScreen;
    return state().dialogStart;
}

bool platformCreateWindow(const WindowRequest& request, std::string* error)
{
    State& s = state();
    s.lastRequest = request;
    if (!s.failReason.empty()) {
        *error = s.failReason;
        return false;
    }
    int width = request.fullScreen ? s.desktop.width : request.width * s.density;
    int height = request.fullScreen ? s.desktop.height : request.height * s.density;
    if (!createContext(width, height)) {
        *error = "The OpenGL context could not be created (OSMesa).";
        return false;
    }
    s.created = true;
    return true;
}

DisplaySize platformDrawableSize() { return {state().width, state().height}; }

bool platformDrainEvents()
{
    State& s = state();
    if (s.script)
        s.script(s.frame);
    ++s.frame;
    return !(s.quit || s.destroyed);
}

void platformKeyboardSnapshot(uint8_t keys[256])
{
    State& s = state();
    if (s.focused)
        std::memcpy(keys, s.keys, 256);
    else
        std::memset(keys, 0, 256);
}

bool platformHasFocus() { return state().focused; }

void platformGamepadState(GamepadState* pad)
{
    State& s = state();
    *pad = s.tapped;
    s.tapped = GamepadState();
    for (const auto& [id, controller] : s.controllers)
        mergeGamepad(*pad, controller);
}

uint32_t platformMilliseconds() { return state().clock; }

void platformErrorBox(const char* text, const char* caption)
{
    state().boxes.push_back({text, caption});
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

void platformDestroyWindow() { state().destroyed = true; }

void platformHideCursor() { state().cursorHidden = true; }

void platformSwapBuffers()
{
    glFinish();
    ++state().swaps;
}

void platformPaceFrame() { ++state().paced; }

void platformOpenSound() { state().soundOpened = true; }

void platformPlaySounds(const FrameSounds& sounds, bool muted)
{
    State& s = state();
    s.sounds.push_back({sounds, muted});
    if (s.sounds.size() > headless::HandedSoundsKept)
        s.sounds.pop_front();
    ++s.soundHandOvers;
}

void platformShutdown() { destroyContext(); }

std::string platformExecutableDir() { return state().exeDir; }
