#include "platform/gamepad_sdl.h"

#include <cstdio>
#include <vector>

namespace {

struct Controller {
    SDL_GameController* handle = nullptr;
    SDL_JoystickID id = -1;
    // Buttons held when the dialog ended: up until let go.
    bool stale[GamepadButtonCount] = {};
};

std::vector<Controller> Controllers;
// Buttons that went down since the last read.
GamepadState Tapped;

constexpr struct {
    SDL_GameControllerButton sdl;
    GamepadButton ours;
} Buttons[] = {
    {SDL_CONTROLLER_BUTTON_A, GamepadButton::South},
    {SDL_CONTROLLER_BUTTON_B, GamepadButton::East},
    {SDL_CONTROLLER_BUTTON_X, GamepadButton::West},
    {SDL_CONTROLLER_BUTTON_Y, GamepadButton::North},
    {SDL_CONTROLLER_BUTTON_BACK, GamepadButton::Back},
    {SDL_CONTROLLER_BUTTON_START, GamepadButton::Start},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, GamepadButton::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, GamepadButton::RightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, GamepadButton::DpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, GamepadButton::DpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, GamepadButton::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, GamepadButton::DpadRight},
};

constexpr struct {
    SDL_GameControllerAxis sdl;
    GamepadAxis ours;
} Axes[] = {
    {SDL_CONTROLLER_AXIS_LEFTX, GamepadAxis::LeftX},
    {SDL_CONTROLLER_AXIS_LEFTY, GamepadAxis::LeftY},
    {SDL_CONTROLLER_AXIS_RIGHTX, GamepadAxis::RightX},
    {SDL_CONTROLLER_AXIS_RIGHTY, GamepadAxis::RightY},
    {SDL_CONTROLLER_AXIS_TRIGGERLEFT, GamepadAxis::LeftTrigger},
    {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, GamepadAxis::RightTrigger},
};

void open(int deviceIndex)
{
    SDL_GameController* handle = SDL_GameControllerOpen(deviceIndex);
    if (!handle) {
        std::fprintf(stderr, "Kestrava: a game controller could not be opened: %s\n", SDL_GetError());
        return;
    }
    Controllers.push_back({handle, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle)), {}});
}

void close(SDL_JoystickID id)
{
    for (size_t i = 0; i < Controllers.size(); ++i)
        if (Controllers[i].id == id) {
            SDL_GameControllerClose(Controllers[i].handle);
            Controllers.erase(Controllers.begin() + static_cast<long>(i));
            return;
        }
}

Controller* find(SDL_JoystickID id)
{
    for (Controller& c : Controllers)
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace

void startGamepads()
{
    // A player on a couch plays with the controller whatever window holds
    // the keyboard; the game pauses when it loses the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        return;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "Kestrava: game controllers are not available: %s\n", SDL_GetError());
}

bool handleGamepadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        open(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        close(event.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
        if (std::optional<GamepadButton> button = gamepadButtonOf(event.cbutton.button))
            Tapped.setButton(*button, true);
        return true;
    case SDL_CONTROLLERBUTTONUP:
        if (Controller* c = find(event.cbutton.which))
            if (std::optional<GamepadButton> button = gamepadButtonOf(event.cbutton.button))
                c->stale[static_cast<int>(*button)] = false;
        return true;
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERDEVICEREMAPPED:
        return true;
    default:
        return false;
    }
}

std::optional<GamepadButton> gamepadButtonOf(Uint8 sdlButton)
{
    for (const auto& b : Buttons)
        if (b.sdl == sdlButton)
            return b.ours;
    return std::nullopt;
}

void readGamepads(GamepadState* pad)
{
    *pad = Tapped;
    Tapped = GamepadState();
    for (Controller& c : Controllers) {
        GamepadState one;
        for (const auto& b : Buttons) {
            const int i = static_cast<int>(b.ours);
            const bool down = SDL_GameControllerGetButton(c.handle, b.sdl) != 0;
            if (!down)
                c.stale[i] = false;
            one.buttons[i] = down && !c.stale[i];
        }
        for (const auto& a : Axes)
            one.setAxis(a.ours, SDL_GameControllerGetAxis(c.handle, a.sdl));
        mergeGamepad(*pad, one);
    }
}

void ignoreHeldGamepadButtons()
{
    SDL_GameControllerUpdate();
    Tapped = GamepadState();
    for (Controller& c : Controllers)
        for (const auto& b : Buttons)
            c.stale[static_cast<int>(b.ours)] = SDL_GameControllerGetButton(c.handle, b.sdl) != 0;
}

int gamepadsOpen() { return static_cast<int>(Controllers.size()); }

void stopGamepads()
{
    for (const Controller& c : Controllers)
        SDL_GameControllerClose(c.handle);
    Controllers.clear();
    Tapped = GamepadState();
}
