// A game played with the controller is the game played with the keys: the
// same scripted player, once at the keyboard and once on a controller
// (by its buttons, by its sticks and trigger resting off centre, with quick
// taps, and unplugged and plugged again in the middle), leaves the same
// state in every frame, from the menu through a game, its pause and the
// way back, to the credits and the instructions.

#include "flight_test_support.h"
#include "game_digest.h"
#include "shell/autopilot.h"

#include <functional>
#include <map>

using namespace flighttest;

namespace {

using B = GamepadButton;
using A = GamepadAxis;

constexpr int Width = 200;
constexpr int Height = 150;

// What the player does, and how each action is done on the keyboard and on
// the controller.
enum class Action { Left, Right, Up, Down, TurnLeft, TurnRight, Rocket, Gun, Start, Back, West, North, East };

struct Way {
    int key;                 // on the menu for Start, in a game otherwise
    std::optional<B> button; // by the buttons
    std::optional<A> axis;   // by the sticks and trigger (else the button)
    int16_t pushed;          // the axis pushed
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
    {Action::Start, {'S', B::Start, std::nullopt, 0}},
    {Action::Back, {VK_ESCAPE, B::Back, std::nullopt, 0}},
    {Action::West, {'I', B::West, std::nullopt, 0}},
    {Action::North, {'C', B::North, std::nullopt, 0}},
    {Action::East, {'E', B::East, std::nullopt, 0}},
};

struct Hold {
    int from, to;
    Action action;
};

// Start Game at once, held on into the game (the view lowers, as with S
// held); the game starts in frame 86 and its course runs from frame 322.
const Hold Player[] = {
    {10, 200, Action::Start},     {340, 400, Action::Left},      {410, 470, Action::Right},
    {480, 520, Action::TurnLeft}, {530, 560, Action::TurnRight}, {570, 650, Action::Up},
    {660, 700, Action::Down},     {710, 712, Action::Rocket},    {720, 740, Action::Rocket},
    {750, 820, Action::Gun},      {760, 800, Action::Left},      {830, 831, Action::Start},
    {900, 901, Action::Start},    {950, 951, Action::Rocket},    {1000, 1001, Action::Back},
    {1010, 1011, Action::North},  {1100, 1101, Action::Back},    {1120, 1121, Action::West},
    {1250, 1251, Action::Back},   {1270, 1271, Action::East},
};
constexpr int Frames = 1400;
const std::vector<int> DrawnFrames = {760, 860};

enum class Mode { Keys, Buttons, Sticks, Taps, Replugged };

bool held(const Hold& h, int frame) { return frame >= h.from && frame < h.to; }

// The controller in use: in the replugged game the first one goes out in
// frame 400 still holding Left, and another comes in.
int padAt(Mode mode, int frame) { return mode == Mode::Replugged && frame >= 400 ? 2 : 1; }

void script(Mode mode, int frame)
{
    headless::setMilliseconds(100000 + 17u * static_cast<uint32_t>(frame));
    if (mode == Mode::Keys) {
        // Start reads as P in a game, as S on the menu: the key of the
        // screen on which it went down, for as long as it is held.
        static std::map<int, int> startKeys;
        headless::releaseAllKeys();
        for (const Hold& h : Player) {
            if (!held(h, frame))
                continue;
            if (frame == h.from)
                startKeys[h.from] = Process.GameActive ? 'P' : 'S';
            headless::setKey(h.action == Action::Start ? startKeys[h.from] : Ways.at(h.action).key, true);
        }
        return;
    }
    if (mode == Mode::Replugged && frame == 400) {
        headless::unplugController(1);
        headless::plugController(2);
    }
    if (mode == Mode::Replugged && frame == 5)
        headless::plugController(1);
    const int pad = padAt(mode, frame);
    // Sticks and trigger rest a little off centre, inside the dead zone.
    const bool sticks = mode == Mode::Sticks;
    headless::setControllerAxis(pad, A::LeftX, sticks ? 7000 : 0);
    headless::setControllerAxis(pad, A::LeftY, sticks ? -5000 : 0);
    headless::setControllerAxis(pad, A::RightX, sticks ? -8000 : 0);
    headless::setControllerAxis(pad, A::RightY, sticks ? 20000 : 0);
    headless::setControllerAxis(pad, A::RightTrigger, sticks ? 6000 : 0);
    headless::setControllerAxis(pad, A::LeftTrigger, sticks ? 32767 : 0);
    for (int b = 0; b < GamepadButtonCount; ++b)
        headless::setControllerButton(pad, static_cast<B>(b), false);
    for (const Hold& h : Player) {
        if (!held(h, frame))
            continue;
        const Way& way = Ways.at(h.action);
        if (sticks && way.axis)
            headless::setControllerAxis(pad, *way.axis, way.pushed);
        else if (mode == Mode::Taps && h.to - h.from == 1)
            headless::tapControllerButton(pad, *way.button);
        else if (way.button)
            headless::setControllerButton(pad, *way.button, true);
        else
            headless::setControllerAxis(pad, *way.axis, way.pushed);
    }
}

struct Played {
    std::vector<std::string> states;
    std::map<int, std::vector<uint8_t>> pictures;
    int lastFrame = 0;
};

Played play(Mode mode)
{
    startGame(false, Width, Height);
    setAutopilot(false);
    // The menu from rest, whatever ran before in this process.
    for (MenuItem& item : Process.MenuItems)
        item.spin = 0.0f;
    Process.rotorAngle = 0.0f;
    Process.bobOffset = 0.0f;
    Process.bobRising = true;
    if (mode != Mode::Keys && mode != Mode::Replugged)
        headless::plugController(1);
    headless::onFrame([mode](int frame) { script(mode, frame); });
    Played run;
    for (int frame = 0; frame < Frames; ++frame) {
        const bool draw = std::find(DrawnFrames.begin(), DrawnFrames.end(), frame) != DrawnFrames.end();
        if (!runFrame(draw))
            break;
        run.lastFrame = frame;
        run.states.push_back(digest::gameDigest());
        if (draw) {
            int w = 0, h = 0;
            run.pictures[frame] = headless::readPixels(&w, &h);
        }
    }
    headless::onFrame(nullptr);
    // As the game ends: its scenes and textures go with the context.
    tearDownLevel();
    releaseGame();
    return run;
}

std::string differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int n = 0, minx = 9999, maxx = -1, miny = 9999, maxy = -1;
    for (size_t i = 0; i < a.size(); i += 4)
        if (!std::equal(a.begin() + i, a.begin() + i + 4, b.begin() + i)) {
            ++n;
            int x = int(i / 4) % Width, y = int(i / 4) / Width;
            minx = std::min(minx, x);
            maxx = std::max(maxx, x);
            miny = std::min(miny, y);
            maxy = std::max(maxy, y);
        }
    return std::to_string(n) + " pixels in x " + std::to_string(minx) + ".." + std::to_string(maxx) + " y " +
           std::to_string(miny) + ".." + std::to_string(maxy);
}

} // namespace

TEST(GamepadPlay, TheControllerPlaysTheGameTheKeysPlay)
{
    REQUIRE_DATA();
    InDataDir data;
    const Played keys = play(Mode::Keys);
    // The keys' game went where the script means it to: a game, paused,
    // back on the menu, the credits, the instructions, and Exit.
    ASSERT_EQ(keys.states.size(), size_t(keys.lastFrame + 1));
    EXPECT_NE(keys.states[150].find("screens 00100"), std::string::npos);
    EXPECT_NE(keys.states[150].find("path 0 6.4"), std::string::npos) << "S held lowers the view";
    EXPECT_NE(keys.states[300].find("screens 00100"), std::string::npos);
    EXPECT_NE(keys.states[850].find("screens 00100"), std::string::npos);
    EXPECT_EQ(keys.states[850], keys.states[890]) << "paused";
    EXPECT_NE(keys.states[1005].find("screens 10000"), std::string::npos);
    EXPECT_NE(keys.states[1090].find("screens 00001"), std::string::npos);
    EXPECT_NE(keys.states[1240].find("screens 00010"), std::string::npos);
    EXPECT_LT(keys.lastFrame, Frames - 1) << "Exit ends the game";

    for (Mode mode : {Mode::Buttons, Mode::Sticks, Mode::Taps, Mode::Replugged}) {
        SCOPED_TRACE("mode " + std::to_string(int(mode)));
        const Played pad = play(mode);
        ASSERT_EQ(pad.lastFrame, keys.lastFrame);
        for (size_t f = 0; f < keys.states.size(); ++f)
            ASSERT_EQ(pad.states[f], keys.states[f]) << "frame " << f;
        for (int f : DrawnFrames)
            EXPECT_TRUE(pad.pictures.at(f) == keys.pictures.at(f))
                << "frame " << f << ": " << differing(pad.pictures.at(f), keys.pictures.at(f));
    }
}

// The south button fires one rocket however long it is held, as Ctrl does;
// a controller unplugged lets go of everything it held.
TEST(GamepadPlay, OneRocketAPressAndNothingHeldOnceUnplugged)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame();
    loadLevel();
    headless::plugController(3);
    headless::setControllerButton(3, B::South, true);
    headless::setControllerAxis(3, A::LeftX, -32768);
    for (int i = 0; i < 10; ++i)
        runFrame();
    EXPECT_EQ(Game.Rockets.size(), 1u);
    EXPECT_TRUE(isKeyDown(VK_LEFT));
    headless::unplugController(3);
    runFrame();
    EXPECT_FALSE(isKeyDown(VK_LEFT));
    EXPECT_FALSE(isKeyDown(VK_CONTROL));
    headless::plugController(4);
    headless::setControllerButton(4, B::South, true);
    runFrame();
    EXPECT_EQ(Game.Rockets.size(), 2u);
}
