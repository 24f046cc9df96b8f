// The pause: a game paused at any moment and resumed plays on exactly as
// if the paused frames had never been, whatever the pause's length and
// whether P, the controller's Start or a lost focus made it; while paused
// the picture stands still with the caption over it, and Escape still
// leaves the game.

#include "flight_test_support.h"
#include "game_digest.h"
#include "shell/autopilot.h"

#include <map>

using namespace flighttest;

namespace {

constexpr int Width = 200;
constexpr int Height = 150;
constexpr int KeyP = 0x50;
constexpr int Pad = 1;
// The game starts in the loading's last frame, 9; its control step first
// runs in frame 10, the course after the start delay in frame 246, the
// fuel drains in frames 541 and 836.
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

void holdPlayerKeys(int frame)
{
    headless::releaseAllKeys();
    for (const Hold& h : Player)
        if (frame >= h.from && frame < h.to)
            headless::setKey(h.vk, true);
}

enum class How { KeyP, FocusThenP, ControllerStart };

struct Pause {
    int at = -1;    // the first paused frame
    int frames = 0; // paused frames; the game resumes in frame at + frames
    How how = How::KeyP;
};

struct Played {
    std::vector<std::string> states; // after each frame
    std::map<int, std::vector<uint8_t>> pictures;
    std::vector<bool> paused;
};

// Plays from the loading on a clock of 17 ms a frame, drawing the frames
// asked for. With a pause, the frames from `at` on replay the player's
// keys shifted by the paused frames (held as they were while paused).
Played play(const Pause& pause, const std::vector<int>& drawn)
{
    startGame(false, Width, Height);
    setAutopilot(false);
    headless::plugController(Pad);
    enterLoading();
    const int total = Frames + pause.frames;
    headless::onFrame([&](int frame) {
        headless::setMilliseconds(100000 + 17u * static_cast<uint32_t>(frame));
        const bool during = pause.at >= 0 && frame >= pause.at && frame < pause.at + pause.frames;
        const int played = pause.at < 0 || frame < pause.at ? frame
                           : during                         ? pause.at - 1
                                                            : frame - pause.frames;
        holdPlayerKeys(played);
        headless::setFocus(true);
        const bool starts = frame == pause.at, ends = frame == pause.at + pause.frames;
        if (!starts && !ends)
            return;
        switch (pause.how) {
        case How::KeyP:
            headless::setKey(KeyP, true);
            break;
        case How::FocusThenP:
            if (starts)
                headless::setFocus(false);
            else
                headless::setKey(KeyP, true);
            break;
        case How::ControllerStart:
            headless::tapControllerButton(Pad, GamepadButton::Start);
            break;
        }
    });
    Played run;
    for (int frame = 0; frame < total; ++frame) {
        const bool draw = std::find(drawn.begin(), drawn.end(), frame) != drawn.end();
        EXPECT_TRUE(runFrame(draw));
        run.states.push_back(digest::gameDigest());
        run.paused.push_back(Game.Paused);
        if (draw) {
            int w = 0, h = 0;
            run.pictures[frame] = headless::readPixels(&w, &h);
        }
    }
    headless::onFrame(nullptr);
    EXPECT_TRUE(headless::messageBoxes().empty());
    // As the game ends: its scenes and textures go with the context.
    tearDownLevel();
    releaseGame();
    return run;
}

// The rows of a picture outside its middle band, where the caption is not.
bool sameOutsideMiddle(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    const size_t row = size_t(Width) * 4;
    for (size_t y = 0; y < size_t(Height); ++y) {
        if (y > Height * 3 / 10 && y < Height * 7 / 10)
            continue;
        if (!std::equal(a.begin() + y * row, a.begin() + (y + 1) * row, b.begin() + y * row))
            return false;
    }
    return true;
}

void expectPauseLeavesNoTrace(const std::vector<Pause>& pauses)
{
    REQUIRE_DATA();
    InDataDir data;
    const int at = pauses.front().at;
    const Played plain = play({}, {at - 1, at, Frames - 1});
    ASSERT_EQ(plain.states.size(), size_t(Frames));
    // The player's game ran: the course, the fuel, the shots all moved.
    ASSERT_NE(plain.states[at - 1], plain.states[at]);

    for (const Pause& pause : pauses) {
        SCOPED_TRACE("paused in frame " + std::to_string(pause.at) + " for " + std::to_string(pause.frames) +
                     " frames by " + std::to_string(int(pause.how)));
        const int resumed = pause.at + pause.frames;
        const Played paused = play(pause, {pause.at, resumed - 1, resumed, Frames + pause.frames - 1});
        for (int f = 0; f < Frames + pause.frames; ++f) {
            const bool during = f >= pause.at && f < resumed;
            const int same = f < pause.at ? f : during ? pause.at - 1 : f - pause.frames;
            ASSERT_EQ(paused.paused[f], during) << "frame " << f;
            ASSERT_EQ(paused.states[f], plain.states[same]) << "frame " << f;
        }
        // Frozen, with the caption over the last frame played.
        const auto& first = paused.pictures.at(pause.at);
        EXPECT_EQ(first, paused.pictures.at(resumed - 1));
        EXPECT_NE(first, plain.pictures.at(pause.at - 1));
        EXPECT_TRUE(sameOutsideMiddle(first, plain.pictures.at(pause.at - 1)));
        // And on as before.
        EXPECT_EQ(paused.pictures.at(resumed), plain.pictures.at(pause.at));
        EXPECT_EQ(paused.pictures.at(Frames + pause.frames - 1), plain.pictures.at(Frames - 1));
    }
}

} // namespace

// Paused while the HUD slides in and "Ready" shows.
TEST(Pause, InTheCountdownLeavesNoTrace)
{
    expectPauseLeavesNoTrace({{20, 2, How::KeyP}, {20, 600, How::KeyP}, {20, 61, How::ControllerStart}});
}

// Paused late in the start delay, just before the course runs.
TEST(Pause, InTheStartDelayLeavesNoTrace)
{
    expectPauseLeavesNoTrace({{232, 1, How::FocusThenP}, {232, 45, How::FocusThenP}, {232, 300, How::KeyP}});
}

// Paused halfway through a fuel interval, with the player steering and
// firing.
TEST(Pause, InAFuelIntervalLeavesNoTrace)
{
    expectPauseLeavesNoTrace(
        {{690, 7, How::ControllerStart}, {690, 400, How::KeyP}, {690, 2, How::FocusThenP}});
}

// Escape leaves a paused game for the menu; a game won or lost does not
// pause; the focus lost during the loading pauses the game when it starts.
TEST(Pause, EscapeLeavesAndAFinishedGameDoesNotPause)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame();
    loadLevel();
    ASSERT_TRUE(Process.GameActive);
    pressAndRelease(KeyP);
    runFrame();
    ASSERT_TRUE(Game.Paused);
    Draws.clear();
    runFrame();
    EXPECT_EQ(countDraws(Level.PausedScene.get()), 1);
    pressAndRelease(VK_ESCAPE);
    EXPECT_TRUE(Process.MenuActive);
    EXPECT_FALSE(Process.GameActive);
    EXPECT_FALSE(Game.Paused);

    startGame();
    loadLevel();
    Game.Fuel = LowFuel;
    runFrame();
    pressAndRelease(KeyP);
    EXPECT_FALSE(Game.Paused);
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
    runFrame();
    EXPECT_TRUE(Game.Paused);
}
