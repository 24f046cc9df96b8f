// The two steps of a frame, watched through recorders in place of the
// screens' steps: which steps advance and which draw, in what order, under
// which projection.

#include "headless/gl_probe.h"
#include "headless/headless_platform.h"
#include "platform/platform.h"
#include "shell/frame_loop.h"
#include "shell/process_state.h"
#include "shell/startup.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Calls;
float HudProjection[16];
int HudMatrixMode = 0;
float GameProjection[16];

void record(const char* name) { Calls.emplace_back(name); }

enum Step {
    PlacementStep,
    ControlStep,
    HudStep,
    MenuStep,
    LoadingStep,
    GameStep,
    CreditsStep,
    InstructionsStep
};
const char* const StepNames[] = {"menuPlacement", "control", "hud",     "menu",
                                 "loading",       "game",    "credits", "instructions"};

// What a recorder does besides recording: a screen switch, as the real
// steps make them.
void (*AfterStep)(Step step) = nullptr;

template <Step S> void advanceRecorder(uint32_t)
{
    record(StepNames[S]);
    if (AfterStep)
        AfterStep(S);
}

template <Step S> void drawRecorder()
{
    Calls.push_back(std::string("draw ") + StepNames[S]);
    if (S == HudStep) {
        glprobe::projectionMatrix(HudProjection);
        HudMatrixMode = glprobe::matrixMode();
    }
    if (S == GameStep)
        glprobe::projectionMatrix(GameProjection);
}

template <Step S> constexpr ScreenStep recorders() { return {advanceRecorder<S>, drawRecorder<S>}; }

void installRecorders()
{
    AfterStep = nullptr;
    FrameSteps = {advanceRecorder<PlacementStep>, advanceRecorder<ControlStep>, recorders<HudStep>(),
                  recorders<MenuStep>(),          recorders<LoadingStep>(),     recorders<GameStep>(),
                  recorders<CreditsStep>(),       recorders<InstructionsStep>()};
}

void startGame()
{
    headless::reset();
    headless::makeContext(800, 600);
    installRecorders();
    initGame();
    Calls.clear();
}

void setOnly(bool& flag)
{
    Process.MenuActive = Process.LoadingActive = Process.GameActive = Process.InstructionsActive =
        Process.CreditsActive = false;
    flag = true;
}

using Steps = std::vector<std::string>;

} // namespace

TEST(FramePasses, EveryScreenAdvancesBeforeAnyDraws)
{
    // Four flags at once (never so in the game) show the order of each
    // step: credits before instructions.
    startGame();
    Process.MenuActive = Process.LoadingActive = Process.CreditsActive = Process.InstructionsActive = true;
    runFrame();
    EXPECT_EQ(Calls, (Steps{"menuPlacement", "menu", "loading", "credits", "instructions", "draw menu",
                            "draw loading", "draw credits", "draw instructions"}));
}

// A step that switches screens hands over within its frame: the screens
// that ran are drawn, the one it left included, and a screen switched off
// before its turn neither runs nor draws.
TEST(FramePasses, AScreenSwitchedInAStepShowsInTheSameFrame)
{
    struct Handover {
        const char* what;
        Step step;
        bool* from;
        bool* to;
        const char* expected;
    };
    ProcessState& p = Process;
    static const Handover cases[] = {
        {"Start Game", PlacementStep, &p.MenuActive, &p.LoadingActive,
         "menuPlacement, loading, draw loading"},
        {"the Instructions item", PlacementStep, &p.MenuActive, &p.InstructionsActive,
         "menuPlacement, instructions, draw instructions"},
        {"the loading's last step", LoadingStep, &p.LoadingActive, &p.GameActive,
         "loading, game, draw loading, draw game"},
        {"Escape in the game", ControlStep, &p.GameActive, &p.MenuActive, "control, menu, draw menu"},
        {"Escape on the credits", CreditsStep, &p.CreditsActive, &p.MenuActive, "credits, draw credits"},
    };
    for (const Handover& c : cases) {
        SCOPED_TRACE(c.what);
        startGame();
        setOnly(*c.from);
        static const Handover* current;
        current = &c;
        AfterStep = [](Step step) {
            if (step == current->step) {
                *current->from = false;
                *current->to = true;
            }
        };
        runFrame();
        std::string calls;
        for (const std::string& call : Calls)
            calls += (calls.empty() ? "" : ", ") + call;
        EXPECT_EQ(calls, c.expected);
    }
}

TEST(FramePasses, AGameFrameDrawsTheHudUnderOrthoThenTheWorldInPerspective)
{
    startGame();
    setOnly(Process.GameActive);
    const int modelviewBefore = glprobe::modelviewDepth();
    ASSERT_TRUE(runFrame());
    EXPECT_EQ(Calls, (Steps{"control", "hud", "game", "draw hud", "draw game"}));

    // glOrtho(-400, 400, -300, 300, -1, 1)
    EXPECT_FLOAT_EQ(HudProjection[0], 1.0f / 400);
    EXPECT_FLOAT_EQ(HudProjection[5], 1.0f / 300);
    EXPECT_FLOAT_EQ(HudProjection[10], -1.0f);
    EXPECT_EQ(HudMatrixMode, GL_MODELVIEW);

    // gluPerspective(60, 4/3, 0.1, 40000): f = 1 / tan(30 degrees)
    const float f = 1.7320508f;
    EXPECT_NEAR(GameProjection[5], f, 1e-5f);
    EXPECT_NEAR(GameProjection[0], f * 3 / 4, 1e-5f);
    EXPECT_EQ(GameProjection[11], -1.0f);

    // The ortho existed only between its push and pop.
    float after[16];
    glprobe::projectionMatrix(after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], GameProjection[i]);
    EXPECT_EQ(glprobe::projectionDepth(), 1);
    EXPECT_EQ(glprobe::modelviewDepth(), modelviewBefore);
    EXPECT_EQ(glprobe::matrixMode(), GL_MODELVIEW);
}

TEST(FramePasses, TheViewportIsTheFourToThreePicture)
{
    headless::reset();
    headless::setDialogAnswer(true, true);
    headless::setDesktopSize(1920, 1080);
    installRecorders();
    static int viewport[4] = {};
    FrameSteps.menu.draw = [] { glprobe::viewport(viewport); };
    headless::onFrame([](int frame) {
        if (frame == 1)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(), 0);
    EXPECT_EQ(viewport[0], 240);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1440);
    EXPECT_EQ(viewport[3], 1080);
}

TEST(FramePasses, TheBarsBesideThePictureStayBlack)
{
    headless::reset();
    headless::setDialogAnswer(true, true);
    headless::setDesktopSize(1600, 900);
    installRecorders();
    // The menu clears to grey: only the picture may turn grey, and the
    // bars' black never becomes the game's clear colour.
    static float clearSeen[4];
    FrameSteps.menu.draw = [] {
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clearSeen);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    };
    static std::vector<uint8_t> pixels;
    static int width = 0, height = 0;
    headless::onFrame([](int frame) {
        if (frame == 2) {
            pixels = headless::readPixels(&width, &height);
            headless::requestQuit();
        }
    });
    EXPECT_EQ(gameMain(), 0);
    ASSERT_EQ(width, 1600);
    ASSERT_EQ(height, 900);
    auto at = [](int x, int y) { return pixels[(static_cast<size_t>(y) * width + x) * 4]; };
    // picture: x 200..1399
    EXPECT_EQ(at(100, 450), 0);
    EXPECT_EQ(at(1500, 450), 0);
    EXPECT_NEAR(at(800, 450), 128, 1);
    EXPECT_NEAR(at(200, 10), 128, 1);
    EXPECT_EQ(at(199, 10), 0);
    EXPECT_FLOAT_EQ(clearSeen[0], 0.5f);
}

TEST(FramePasses, AFrameThatDestroysTheWindowCompletes)
{
    startGame();
    AfterStep = [](Step) { platformDestroyWindow(); };
    EXPECT_TRUE(runFrame());
    EXPECT_EQ(Calls, (Steps{"menuPlacement", "menu", "draw menu"}));
    EXPECT_EQ(headless::framesSwapped(), 1);
    EXPECT_FALSE(runFrame());
    EXPECT_EQ(headless::framesSwapped(), 1);
}
