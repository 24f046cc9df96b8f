// The two steps of a frame. Through recorders in place of the screens'
// steps: which steps advance and which draw, in what order, under which
// projection. Through the real steps: the advance step makes no GL call, and
// the drawing changes no state.

#include "flight_test_support.h"
#include "headless/gl_probe.h"
#include "headless/headless_platform.h"
#include "input/platform.h"
#include "screens/main_menu.h"
#include "shell/autopilot.h"
#include "shell/frame_loop.h"
#include "shell/startup.h"
#include "world/process_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <type_traits>
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

    // The HUD draws under its ortho (the last element -1 of a projection is
    // perspective), and returns to the modelview.
    EXPECT_EQ(HudProjection[11], 0.0f);
    EXPECT_EQ(HudMatrixMode, GL_MODELVIEW);
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

// The picture is drawn in its 4:3 viewport, and the bars beside it stay
// black.
TEST(FramePasses, ThePictureHasItsViewportAndTheBarsStayBlack)
{
    headless::reset();
    headless::setDialogAnswer(true, true);
    headless::setDesktopSize(1600, 900);
    installRecorders();
    // The menu clears to grey: only the picture may turn grey, and the
    // bars' black never becomes the game's clear colour.
    static float clearSeen[4];
    static int viewport[4];
    FrameSteps.menu.draw = [] {
        glprobe::viewport(viewport);
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
    EXPECT_EQ(viewport[0], 200);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1200);
    EXPECT_EQ(viewport[3], 900);
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

// The real steps on the generated data: the demo player plays from the menu
// into combat, then the credits and the instructions are visited.

namespace {

using flighttest::dataPresent;

const ScreenSteps GameSteps = FrameSteps; // before any test swaps in recorders

int liveTextures()
{
    int alive = 0;
    for (GLuint id = 1; id < 20000; ++id)
        alive += glIsTexture(id) == GL_TRUE;
    return alive;
}

// What GL holds that a step could change, the live textures and the
// picture included.
std::vector<float> glFingerprint()
{
    std::vector<float> v;
    for (auto [what, count] : {std::pair{GL_MODELVIEW_MATRIX, 16},
                               {GL_PROJECTION_MATRIX, 16},
                               {GL_MODELVIEW_STACK_DEPTH, 1},
                               {GL_MATRIX_MODE, 1},
                               {GL_CURRENT_COLOR, 4},
                               {GL_POINT_SIZE, 1},
                               {GL_FOG_COLOR, 4},
                               {GL_FOG_DENSITY, 1},
                               {GL_VIEWPORT, 4},
                               {GL_SCISSOR_BOX, 4},
                               {GL_COLOR_CLEAR_VALUE, 4},
                               {GL_TEXTURE_BINDING_2D, 1}}) {
        float values[16];
        glGetFloatv(what, values);
        v.insert(v.end(), values, values + count);
    }
    for (GLenum cap : {GL_FOG, GL_LIGHTING, GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST})
        v.push_back(glIsEnabled(cap));
    v.push_back(float(liveTextures()));
    int w = 0, h = 0;
    for (uint8_t byte : headless::readPixels(&w, &h))
        v.push_back(byte);
    return v;
}

// A hash of the state the drawing reads, section by section.
struct Fingerprint {
    std::map<std::string, uint64_t> sections;

    template <typename... T> void add(const std::string& section, const T&... values)
    {
        uint64_t& h = sections.try_emplace(section, 14695981039346656037ull).first->second;
        (mix(h, values), ...);
    }

  private:
    // Values without padding only: numbers, flags, vectors and matrices.
    template <typename T> static void mix(uint64_t& h, const T& value)
    {
        static_assert(std::has_unique_object_representations_v<T> || std::is_floating_point_v<T> ||
                      std::is_same_v<T, Vec3> || std::is_same_v<T, Vec4> || std::is_same_v<T, Matrix4> ||
                      std::is_same_v<T, HealthTriple>);
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (size_t i = 0; i < sizeof value; ++i)
            h = (h ^ bytes[i]) * 1099511628211ull;
    }
    template <typename T, typename A> static void mix(uint64_t& h, const std::vector<T, A>& values)
    {
        for (const T& value : values)
            mix(h, value);
    }
};

Fingerprint stateFingerprint()
{
    Fingerprint f;
    const ProcessState& p = Process;
    f.add("screens", p.MenuActive, p.LoadingActive, p.GameActive, p.InstructionsActive, p.CreditsActive,
          p.Shows.hud, p.Shows.menu, p.Shows.loading, p.Shows.game, p.Shows.credits, p.Shows.instructions);
    f.add("menu", p.rotorAngle, p.bobOffset, p.bobRising, p.pointsFilled, p.pointSpacingX, p.pointSpacingZ,
          p.creditsScroll, p.PointHeights, p.PointSpeeds);
    for (const MenuItem& item : p.MenuItems)
        f.add("menu", item.spin);
    const GameState& g = Game;
    f.add("game", g.PathX, g.PathY, g.PathZ, g.PathYaw, g.PathSpeed, g.Fuel, g.Lives, g.GameWon,
          g.HeliOffsetX, g.HeliOffsetY, g.HeliOffsetZ, g.HeliPitch, g.HeliTilt, g.HeliRoll, g.HeroHealth,
          g.Camera, g.CameraComputed, g.RotorAngle, g.rotorTurnDue, g.SkyAngle, g.countdownStarted,
          g.countdownStart, g.showReady, g.showThree, g.showTwo, g.showOne, g.hudSlide, g.hudLives,
          g.fireCounter, g.KeyCursors);
    for (const MilitaryBase& b : g.MilitaryBases)
        f.add("bases", b.position, b.angles, b.wreckPhase, static_cast<const HealthTriple&>(b));
    for (const EnemyHeli& e : g.EnemyHelis)
        f.add("enemies", e.velocity, e.position, e.angles, e.active, e.firing, e.dead, e.engaged, e.swayFlag,
              e.swayVelocity, e.anchor, e.anchorYaw, static_cast<const HealthTriple&>(e), e.shot.position,
              e.shot.direction, e.shot.spent, e.shot.fresh, e.shot.reloadCounter);
    for (const std::vector<Projectile>* shots : {&g.Rockets, &g.Bullets})
        for (const Projectile& s : *shots)
            f.add("shots", s.position, s.direction, s.angles, s.launchFrame, s.spent, s.fresh, s.age);
    const GameView& v = g.View;
    f.add("view", v.won, v.lost, v.ready, v.three, v.two, v.one);
    for (const BaseSight& s : v.bases)
        f.add("view", s.look, s.place, s.healthBarPlace, s.health, s.wreckPhase);
    for (const EnemySight& s : v.enemies)
        f.add("view", s.shown, s.alive, s.crashing, s.place, s.model, s.health, s.crashPose, s.shotShown,
              s.shotPlace);
    for (const std::vector<ShotSight>* shots : {&v.rockets, &v.bullets})
        for (const ShotSight& s : *shots)
            f.add("view", s.kind, s.place, s.explosionAge);
    f.add("loading", Level.LoadStep, Level.LoadProgress, Level.Populated);
    for (const Scene* scene : {Process.MainMenuScene.get(), Process.HeroHeliScene.get(),
                               Level.LoadingScene.get(), Level.DestroyHeliScene.get()}) {
        if (!scene)
            continue;
        f.add("scenes", scene->animationTime, scene->animationEnded);
        for (const SceneNode& node : scene->nodes)
            f.add("scenes", node.worldMatrix, node.animationMatrix);
    }
    return f;
}

// What kind of frame the advance step has just left to be drawn.
std::string frameKind()
{
    const FrameShows& shows = Process.Shows;
    if (shows.loading)
        return shows.game ? "the loading ends, the game starts" : "loading";
    if (shows.menu)
        return Process.MenuItems[StartGameItem].spin > 0.0f ? "Start Game spinning" : "menu";
    if (shows.credits)
        return "credits";
    if (shows.instructions)
        return "instructions";
    if (!shows.game)
        return "";
    const GameView& v = Game.View;
    if (v.ready || v.three || v.two || v.one)
        return "countdown";
    const auto any = [](const auto& sights, auto is) {
        return std::any_of(sights.begin(), sights.end(), is);
    };
    if (any(v.enemies, [](const EnemySight& s) { return s.crashing; }))
        return "an enemy crashing";
    if (any(v.bases, [](const BaseSight& s) { return s.look == BaseSight::Wreck; }))
        return "a base's wreck";
    if (any(v.rockets, [](const ShotSight& s) { return s.kind == ShotSight::Explosion; }))
        return "a rocket exploding";
    if (any(v.enemies, [](const EnemySight& s) { return s.shotShown; }))
        return "an enemy firing";
    return "flight";
}

// From start-up, the demo player plays until it has brought an enemy down
// and wrecked a base; then Escape leads back to the menu, and the credits
// and the instructions are visited. Every frame only advances; `frameDone`
// runs after each.
void playThrough(const std::function<void()>& frameDone)
{
    flighttest::startGame(false, 80, 60);
    FrameSteps = GameSteps;
    // A fixed grid of falling points.
    Process.pointsFilled = true;
    Process.pointSpacingX = 20;
    Process.pointSpacingZ = 25;
    int frame = 0;
    const auto step = [&] {
        flighttest::paceAt60(frame++);
        ASSERT_TRUE(runFrame(false));
        frameDone();
    };
    const auto stepUntil = [&](auto done) {
        for (int n = 0; n < 60 * 100 && !done(); ++n)
            step();
        ASSERT_TRUE(done());
    };
    const auto press = [&](int vk) {
        headless::setKey(vk, true);
        step();
        headless::setKey(vk, false);
    };
    setAutopilot(true);
    stepUntil([] {
        return std::any_of(Game.EnemyHelis.begin(), Game.EnemyHelis.end(), [](auto& e) { return e.dead; }) &&
               std::any_of(Game.MilitaryBases.begin(), Game.MilitaryBases.end(),
                           [](auto& b) { return b.wreckPhase >= 1.0f; });
    });
    setAutopilot(false);
    press(VK_ESCAPE);
    press('C');
    stepUntil([] { return Process.CreditsActive; });
    step();
    press(VK_ESCAPE);
    press('I');
    stepUntil([] { return Process.InstructionsActive; });
    press(VK_ESCAPE);
    ASSERT_TRUE(Process.MenuActive);
}

} // namespace

TEST(FrameSteps, TheAdvanceStepMakesNoGlCall)
{
    REQUIRE_DATA();
    flighttest::InDataDir data;
    std::vector<float> before;
    playThrough([&] {
        if (!before.empty() || !Process.GameActive)
            return;
        // The game drawn once, so that its scenes have their textures; then
        // GL as the game never leaves it, so that any call would show.
        drawFrame();
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        glPointSize(5.0f);
        const GLfloat fog[] = {0.1f, 0.2f, 0.3f, 1.0f};
        glFogfv(GL_FOG_COLOR, fog);
        glFogf(GL_FOG_DENSITY, 0.5f);
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        before = glFingerprint();
    });
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(glFingerprint() == before);

    // The level's scenes went at Escape: the next drawing deletes their
    // textures.
    const int alive = liveTextures();
    runFrame();
    EXPECT_LT(liveTextures(), alive);
}

TEST(FrameSteps, TheDrawingChangesNoState)
{
    REQUIRE_DATA();
    flighttest::InDataDir data;
    std::set<std::string> drawn;
    playThrough([&] {
        const std::string kind = frameKind();
        if (kind.empty() || !drawn.insert(kind).second)
            return;
        const Fingerprint before = stateFingerprint();
        drawFrame();
        drawFrame();
        EXPECT_EQ(stateFingerprint().sections, before.sections) << kind;
    });
    EXPECT_EQ(drawn, (std::set<std::string>{"menu", "Start Game spinning", "loading",
                                            "the loading ends, the game starts", "countdown", "flight",
                                            "an enemy firing", "a rocket exploding", "an enemy crashing",
                                            "a base's wreck", "credits", "instructions"}));
}
