// A game played with the controller is the game played with the keys: one
// scripted player, at the keyboard and on a controller (by its buttons, by
// its sticks and trigger resting off centre, with quick taps, and unplugged
// while holding a direction and another plugged in), leaves the same state
// in every frame and the same pictures, from the menu through a game, its
// pause and Escape, to the credits, the instructions and Exit.

#include "flight_test_support.h"
#include "replay.h"
#include "shell/autopilot.h"

using namespace flighttest;

namespace {

using B = GamepadButton;
using A = GamepadAxis;

enum class Action { Left, Right, Up, Down, TurnLeft, TurnRight, Rocket, Gun, S, P, Back, West, North, East };

// Each action on the keyboard and on the controller: by a button, or by an
// axis pushed (the sticks' and trigger's way, where there is one).
struct Way {
    int key;
    std::optional<B> button;
    std::optional<A> axis;
    int16_t pushed;
};
const std::map<Action, Way> Ways = {
    {Action::Left, {VK_LEFT, B::DpadLeft, A::LeftX, -32768}},
    {Action::Right, {VK_RIGHT, B::DpadRight, A::LeftX, 32767}},
    {Action::Up, {VK_UP, B::DpadUp, A::LeftY, -30000}},
    {Action::Down, {VK_DOWN, B::DpadDown, A::LeftY, 30000}},
    {Action::TurnLeft, {'A', std::nullopt, A::RightX, -30000}},
    {Action::TurnRight, {'D', std::nullopt, A::RightX, 30000}},
    {Action::Rocket, {VK_CONTROL, B::South, std::nullopt, 0}},
    {Action::Gun, {VK_SPACE, B::RightShoulder, A::RightTrigger, 32767}},
    {Action::S, {'S', B::Start, std::nullopt, 0}}, // Start on the menu
    {Action::P, {'P', B::Start, std::nullopt, 0}}, // Start in a game
    {Action::Back, {VK_ESCAPE, B::Back, std::nullopt, 0}},
    {Action::West, {'I', B::West, std::nullopt, 0}},
    {Action::North, {'C', B::North, std::nullopt, 0}},
    {Action::East, {'E', B::East, std::nullopt, 0}},
};

struct Hold {
    int from, to;
    Action action;
};
// Start Game, held on into the game (S held lowers the view); the game
// starts in frame 86, its course runs from frame 322.
const Hold Player[] = {
    {10, 200, Action::S},         {340, 400, Action::Left},      {410, 470, Action::Right},
    {480, 520, Action::TurnLeft}, {530, 560, Action::TurnRight}, {570, 650, Action::Up},
    {660, 700, Action::Down},     {710, 712, Action::Rocket},    {720, 740, Action::Rocket},
    {750, 820, Action::Gun},      {760, 800, Action::Left},      {830, 831, Action::P},
    {900, 901, Action::P},        {950, 951, Action::Rocket},    {1000, 1001, Action::Back},
    {1010, 1011, Action::North},  {1100, 1101, Action::Back},    {1120, 1121, Action::West},
    {1250, 1251, Action::Back},   {1270, 1271, Action::East},
};
constexpr int Frames = 1400;
const std::vector<int> Pictures = {760, 860};

// Buttons: one-frame presses as taps (down and up within the frame).
enum class Mode { Keys, Buttons, Sticks, Replugged };

void keys(int frame)
{
    headless::releaseAllKeys();
    for (const Hold& h : Player)
        if (frame >= h.from && frame < h.to)
            headless::setKey(Ways.at(h.action).key, true);
}

void controller(Mode mode, int frame)
{
    // Replugged: the first goes in frame 5 and out in 400, still holding
    // Left; another comes in.
    if (mode == Mode::Replugged && frame == 5)
        headless::plugController(1);
    if (mode == Mode::Replugged && frame == 400) {
        headless::unplugController(1);
        headless::plugController(2);
    }
    const int pad = mode == Mode::Replugged && frame >= 400 ? 2 : 1;
    // The sticks and triggers rest off centre, inside the dead zone.
    const bool sticks = mode == Mode::Sticks;
    const std::pair<A, int16_t> rest[] = {{A::LeftX, 7000},        {A::LeftY, -5000},
                                          {A::RightX, -8000},      {A::RightY, 20000},
                                          {A::RightTrigger, 6000}, {A::LeftTrigger, 32767}};
    for (const auto& [axis, value] : rest)
        headless::setControllerAxis(pad, axis, sticks ? value : 0);
    for (int b = 0; b < GamepadButtonCount; ++b)
        headless::setControllerButton(pad, B(b), false);
    for (const Hold& h : Player) {
        if (frame < h.from || frame >= h.to)
            continue;
        const Way& way = Ways.at(h.action);
        if (way.axis && (sticks || !way.button))
            headless::setControllerAxis(pad, *way.axis, way.pushed);
        else if (mode == Mode::Buttons && h.to - h.from == 1)
            headless::tapControllerButton(pad, *way.button);
        else
            headless::setControllerButton(pad, *way.button, true);
    }
}

replay::Replay play(Mode mode)
{
    startGame(false, 200, 150);
    setAutopilot(false);
    // The menu from rest, whatever ran before in this process.
    for (MenuItem& item : Process.MenuItems)
        item.spin = 0.0f;
    Process.rotorAngle = Process.bobOffset = 0.0f;
    Process.bobRising = true;
    if (mode != Mode::Keys && mode != Mode::Replugged)
        headless::plugController(1);
    return replay::play(Frames, Pictures, [mode](int frame) {
        headless::setMilliseconds(100000 + 17u * uint32_t(frame));
        if (mode == Mode::Keys)
            keys(frame);
        else
            controller(mode, frame);
    });
}

} // namespace

TEST(GamepadPlay, TheControllerPlaysTheGameTheKeysPlay)
{
    REQUIRE_DATA();
    InDataDir data;
    const replay::Replay byKeys = play(Mode::Keys);
    // The keys' game went where the script takes it: the game with the view
    // lowered, paused, the menu, the credits, the instructions, and Exit.
    const std::vector<std::string>& s = byKeys.states;
    ASSERT_LT(s.size(), size_t(Frames)) << "Exit ends the game";
    EXPECT_NE(s[150].find("screens 00100 spins 0 0 0 0 | path 0 6.4"), std::string::npos) << s[150];
    EXPECT_EQ(s[850], s[890]) << "paused";
    EXPECT_NE(s[1005].find("screens 10000"), std::string::npos);
    EXPECT_NE(s[1090].find("screens 00001"), std::string::npos);
    EXPECT_NE(s[1240].find("screens 00010"), std::string::npos);

    for (Mode mode : {Mode::Buttons, Mode::Sticks, Mode::Replugged}) {
        const replay::Replay byPad = play(mode);
        ASSERT_EQ(byPad.states.size(), s.size()) << "mode " << int(mode);
        for (size_t f = 0; f < s.size(); ++f)
            ASSERT_EQ(byPad.states[f], s[f]) << "mode " << int(mode) << ", frame " << f;
        for (int f : Pictures)
            EXPECT_TRUE(byPad.pictures.at(f) == byKeys.pictures.at(f))
                << "mode " << int(mode) << ", frame " << f;
    }
}
