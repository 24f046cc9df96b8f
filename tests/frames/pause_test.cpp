// The pause: a game paused at any moment, by P, the controller's Start or
// a lost focus, and resumed plays on exactly as if the paused frames had
// never been; while paused the picture stands still with the caption over
// it, and Escape still leaves the game.

#include "flight_test_support.h"
#include "input/platform.h"
#include "replay.h"
#include "shell/autopilot.h"

using namespace flighttest;

namespace {

constexpr int Width = 200;
constexpr int Height = 150;
constexpr int KeyP = 0x50;
// The game starts in the loading's last frame, 9; its control step first
// runs in frame 10, the course after the start delay in frame 246, the
// fuel drains in frames 541 and 836 (17 ms a frame).
constexpr int Frames = 1000;

// A player at the keys: what is held in each frame.
struct Hold {
    int from, to, vk;
};
const Hold Player[] = {
    {260, 330, VK_LEFT}, {340, 400, VK_RIGHT},   {410, 460, 'A'},        {470, 500, 'D'},
    {520, 600, VK_UP},   {610, 650, VK_DOWN},    {660, 663, VK_CONTROL}, {670, 760, VK_SPACE},
    {700, 760, VK_LEFT}, {800, 803, VK_CONTROL}, {820, 900, 'D'},
};

enum How { ByP, FocusThenP, ByStart }; // ByStart: the controller's Start
struct Pause {
    int at = -1;    // the first paused frame
    int frames = 0; // the game resumes in frame at + frames
    How how = ByP;
};

// Plays from the loading. With a pause, the player's keys from `at` on
// come the paused frames later (held as they were while paused).
replay::Replay play(const Pause& pause, const std::vector<int>& drawn)
{
    startGame(false, Width, Height);
    setAutopilot(false);
    headless::plugController(1);
    enterLoading();
    return replay::play(Frames + pause.frames, drawn, [&](int frame) {
        headless::setMilliseconds(100000 + 17u * uint32_t(frame));
        const int end = pause.at + pause.frames;
        const int played = pause.at < 0 || frame < pause.at ? frame
                           : frame < end                    ? pause.at - 1
                                                            : frame - pause.frames;
        headless::releaseAllKeys();
        for (const Hold& h : Player)
            headless::setKey(h.vk, played >= h.from && played < h.to);
        headless::setFocus(true);
        if (frame != pause.at && frame != end)
            return;
        if (pause.how == ByStart)
            headless::tapControllerButton(1, GamepadButton::Start);
        else if (pause.how == FocusThenP && frame == pause.at)
            headless::setFocus(false);
        else
            headless::setKey(KeyP, true);
    });
}

// The rows outside the picture's middle band, where the caption is not.
bool sameOutsideMiddle(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    const size_t row = size_t(Width) * 4;
    for (size_t y = 0; y < size_t(Height); ++y)
        if ((y < Height * 3 / 10 || y > Height * 7 / 10) &&
            !std::equal(a.begin() + y * row, a.begin() + (y + 1) * row, b.begin() + y * row))
            return false;
    return true;
}

} // namespace

// A pause while the HUD slides in and "Ready" shows, late in the start
// delay just before the course runs, and halfway through a fuel interval
// with the player steering and firing.
TEST(Pause, AnyLengthAnyWayLeavesNoTrace)
{
    REQUIRE_DATA();
    InDataDir data;
    const Pause pauses[] = {
        {20, 2, ByP},    {20, 600, ByP},    {20, 61, ByStart}, {232, 1, FocusThenP}, {232, 45, FocusThenP},
        {232, 300, ByP}, {690, 7, ByStart}, {690, 400, ByP},   {690, 2, FocusThenP},
    };
    const replay::Replay plain = play({}, {19, 20, 231, 232, 689, 690, Frames - 1});
    ASSERT_EQ(plain.states.size(), size_t(Frames));
    for (const Pause& pause : pauses) {
        SCOPED_TRACE("paused in frame " + std::to_string(pause.at) + " for " + std::to_string(pause.frames) +
                     " frames, by " + std::to_string(int(pause.how)));
        ASSERT_NE(plain.states[pause.at - 1], plain.states[pause.at]) << "the game moves on at the pause";
        const int resumed = pause.at + pause.frames, last = Frames + pause.frames - 1;
        const replay::Replay paused = play(pause, {pause.at, resumed - 1, resumed, last});
        ASSERT_EQ(paused.states.size(), size_t(last + 1));
        for (int f = 0; f <= last; ++f) {
            const bool during = f >= pause.at && f < resumed;
            ASSERT_EQ(paused.paused[f], during) << "frame " << f;
            ASSERT_EQ(paused.states[f], plain.states[f < pause.at ? f
                                                     : during     ? pause.at - 1
                                                                  : f - pause.frames])
                << "frame " << f;
        }
        // Meanwhile the sound holds: nothing new, the rotor's loop off, and
        // what was playing held until the game goes on.
        const auto& handed = headless::handedSounds();
        for (int f = std::max(pause.at - 1, last + 1 - int(handed.size())); f <= resumed; ++f) {
            const FrameSounds& sounds = handed[handed.size() - 1 - size_t(last - f)].sounds;
            const bool during = f >= pause.at && f < resumed;
            ASSERT_EQ(sounds.paused, during) << "frame " << f;
            if (during) {
                ASSERT_TRUE(sounds.events.empty() && !sounds.rotor) << "frame " << f;
            }
        }
        // Frozen, the caption over the last frame played; then on as before.
        const std::vector<uint8_t>& frozen = paused.pictures.at(pause.at);
        EXPECT_EQ(frozen, paused.pictures.at(resumed - 1));
        EXPECT_NE(frozen, plain.pictures.at(pause.at - 1));
        EXPECT_TRUE(sameOutsideMiddle(frozen, plain.pictures.at(pause.at - 1)));
        EXPECT_EQ(paused.pictures.at(resumed), plain.pictures.at(pause.at));
        EXPECT_EQ(paused.pictures.at(last), plain.pictures.at(Frames - 1));
    }
}

// Escape leaves a paused game; a game lost does not pause; a focus lost
// during the loading pauses the game as it starts.
TEST(Pause, EscapeLeavesAndAFinishedGameDoesNotPause)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame();
    loadLevel();
    pressAndRelease(KeyP);
    Draws.clear();
    runFrame();
    EXPECT_TRUE(Game.Paused);
    EXPECT_EQ(countDraws(Level.PausedScene.get()), 1);
    headless::advanceMilliseconds(60000);
    pressAndRelease(VK_ESCAPE);
    EXPECT_TRUE(Process.MenuActive && !Process.GameActive && !Game.Paused);
    // The next game's clock owes nothing to this one's pause.
    loadLevel();
    EXPECT_EQ(Game.countdownStart, platformMilliseconds());

    startGame();
    loadLevel();
    Game.Fuel = LowFuel;
    pressAndRelease(KeyP);
    headless::setFocus(false);
    runFrame();
    EXPECT_FALSE(Game.Paused);

    startGame();
    enterLoading();
    runFrame();
    headless::setFocus(false);
    for (int i = 0; i < 9; ++i)
        runFrame();
    ASSERT_TRUE(Process.GameActive);
    EXPECT_FALSE(Game.Paused);
    runFrame();
    EXPECT_TRUE(Game.Paused);
}
