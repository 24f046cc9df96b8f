// Whole frames of a whole game, headless on the software renderer: the menu
// (also with the falling points at spacing 1, a million points), the ten
// loading frames, the countdown, the flight with its combat and the won
// caption, played by the demo player on a 60 Hz scripted clock, so every
// run plays the same game. Each frame is timed from the start of runFrame
// to the end of its swap, which waits for the rasteriser (glFinish).
//
//   game_frames_bench [--size WxH] [--every K] [--label TEXT] [--frame-log FILE]
//
// prints per phase the frame count and the p50, p95, p99 and max of the
// frames' wall time, with the p50 and p99 of their process CPU time (the
// main thread's and the rasteriser threads', steadier on a busy machine); the
// time of each loading frame; and the peak resident memory. --every K
// draws only every K-th frame of the flight and combat phases (the others
// advance undrawn, as the golden-frames test does), to shorten a run; all
// other frames are drawn. --frame-log writes each drawn frame's number,
// phase, wall and CPU time (ms), page faults and system time (ms) to FILE,
// a line each, to tell a frame that is slow in every run (its work) from
// one the machine stalled.
//
//   game_frames_bench --callgrind N [--from FRAME] [--size WxH]
//   game_frames_bench --callgrind 1 --loading-frame K [--size WxH]
//   game_frames_bench --callgrind N --menu [--size WxH]
//
// plays undrawn to a fixed frame of the flight, then draws N frames with
// callgrind's instrumentation on (or counts only the K-th loading frame, or
// N menu frames with the falling points at spacing 1) (run it under
// `valgrind --tool=callgrind --instr-atstart=no`; bench/flight_callgrind.sh
// does, and sums the instructions per thread).
//
// A frame's phase: loading when the loading screen was up as it began or
// as it ended (Start Game runs the first step in a menu frame); otherwise,
// as it ends, the menu, the countdown (a caption of Ready, 3, 2 or 1 due),
// won (the caption up), combat (an enemy shown, or a shot of either side in
// the view) or flight.

#include "game/game_state.h"
#include "game/level_teardown.h"
#include "headless/headless_platform.h"
#include "screens/scene_drawer.h"
#include "shell/autopilot.h"
#include "shell/frame_loop.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <GL/gl.h>
#include <valgrind/callgrind.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

enum Phase { Menu, MenuSpacing1, Loading, Countdown, Flight, Combat, Won, PhaseCount };
const char* const PhaseNames[PhaseCount] = {"menu",   "menu, spacing 1", "loading", "countdown",
                                            "flight", "combat",          "won"};

// Frames of each menu phase, and of the won caption before the run ends.
constexpr int MenuFrames = 120;
constexpr int Spacing1Frames = 60;
constexpr int WonFrames = 120;
// The callgrind frames start this many frames after the game's first frame:
// past the countdown, over the valley.
int CallgrindStart = 600; // --from
// With --loading-frame K (1 to 10), only the K-th loading frame is counted.
int CallgrindLoadingFrame = 0;
bool CallgrindMenu = false; // count menu frames at spacing 1

struct Options {
    int width = 800;
    int height = 600;
    int every = 1;
    int callgrindFrames = 0;
    std::string label;
    std::string frameLog; // --frame-log FILE: each drawn frame's phase, number and times
};

int frameNumber = 0;

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

bool combatInView()
{
    const GameView& v = Game.View;
    for (const EnemySight& e : v.enemies)
        if ((e.shown && (e.alive || e.crashing)) || e.shotShown)
            return true;
    for (const auto* shots : {&v.rockets, &v.bullets})
        for (const ShotSight& s : *shots)
            if (s.kind != ShotSight::Nothing)
                return true;
    return false;
}

Phase phaseAfterFrame()
{
    if (Process.MenuActive)
        return Menu;
    const GameView& v = Game.View;
    if (v.won)
        return Won;
    if (v.ready || v.three || v.two || v.one)
        return Countdown;
    return combatInView() ? Combat : Flight;
}

// The falling points on a fixed grid. As in the game, a sparse grid holds
// only its own rows of the arrays in memory.
void fillFallingPoints(int spacingX, int spacingZ)
{
    Process.pointsFilled = true;
    Process.pointSpacingX = spacingX;
    Process.pointSpacingZ = spacingZ;
    for (int x = 0; x < 1000; x += spacingX)
        for (int z = 0; z < 1000; z += spacingZ) {
            const unsigned k = unsigned(x) * 1000u + unsigned(z);
            Process.PointHeights[k] = -float(k * 104729u % 500u);
            Process.PointSpeeds[k] = float(k * 7919u % 50u + 1u) / 100.0f;
        }
}

// The menu at spacing 1 in arrays of its own, handed back afterwards, so
// that the peak memory of the game that follows is that of a game after a
// sparse menu, as nearly every game's is.
FallingPointArray sparseHeights, sparseSpeeds;

void startDenseMenu()
{
    FallingPointArray(FallingPointCount).swap(sparseHeights);
    FallingPointArray(FallingPointCount).swap(sparseSpeeds);
    Process.PointHeights.swap(sparseHeights);
    Process.PointSpeeds.swap(sparseSpeeds);
    fillFallingPoints(1, 1);
}

void endDenseMenu()
{
    Process.PointHeights.swap(sparseHeights);
    Process.PointSpeeds.swap(sparseSpeeds);
    FallingPointArray().swap(sparseHeights);
    FallingPointArray().swap(sparseSpeeds);
    handBackFreedMemory();
    Process.pointSpacingX = 20;
    Process.pointSpacingZ = 25;
}

// The game started on the headless context in the data directory, the menu
// from rest with a fixed grid of falling points (the game draws its spacing
// at random).
void startUp(const Options& o)
{
    headless::reset();
    const std::filesystem::path data = KESTRAVA_DATA_DIR;
    if (std::filesystem::exists(data / "main.ASE"))
        std::filesystem::current_path(data);
    if (!std::filesystem::exists("main.ASE")) {
        std::fprintf(stderr, "game_frames_bench: no game data in %s (build the data target)\n", data.c_str());
        std::exit(1);
    }
    headless::makeContext(o.width, o.height);
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("renderer: %s, LP_NUM_THREADS=%s\n", renderer ? renderer : "?",
                std::getenv("LP_NUM_THREADS") ? std::getenv("LP_NUM_THREADS") : "(default: one per core)");
    initGame();
    tearDownLevel();
    Game = GameState{};
    Process.MenuActive = true;
    Process.LoadingActive = Process.GameActive = Process.InstructionsActive = Process.CreditsActive = false;
    DrawScene = drawLoadedScene;
    DrawPosedScene = drawLoadedPosedScene;
    fillFallingPoints(20, 25);
    headless::onFrame([](int frame) {
        frameNumber = frame;
        headless::setMilliseconds(100000 + static_cast<uint32_t>(frame * 1000.0 / 60.0));
    });
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p / 100.0 * double(v.size())));
    return v[i];
}

int run(const Options& o)
{
    startUp(o);
    std::vector<double> wall[PhaseCount], cpu[PhaseCount];
    std::vector<double> loadingFrames;
    int gameFrames = 0, wonFrames = 0, undrawn = 0;
    int menuFrames = 0;
    bool autopilotStarted = false;
    Phase last = Menu;
    FILE* log = o.frameLog.empty() ? nullptr : std::fopen(o.frameLog.c_str(), "w");
    std::printf("## %s %dx%d%s\n", o.label.empty() ? "game frames" : o.label.c_str(), o.width, o.height,
                o.every > 1 ? (", flight frames: every " + std::to_string(o.every) + "th drawn").c_str()
                            : "");
    for (int frame = 0; frame < 60 * 60 * 10; ++frame) {
        // The menu at its fixed spacing, then at spacing 1, then the demo
        // player starts a game.
        bool spacing1 = false;
        if (!autopilotStarted) {
            if (menuFrames == MenuFrames)
                startDenseMenu();
            spacing1 = menuFrames >= MenuFrames;
            if (menuFrames == MenuFrames + Spacing1Frames) {
                endDenseMenu();
                setAutopilot(true);
                autopilotStarted = true;
                spacing1 = false;
            }
            ++menuFrames;
        }
        const bool loading = Process.LoadingActive;
        const bool inFlight = last == Flight || last == Combat;
        const bool draw = !inFlight || o.every <= 1 || gameFrames % o.every == 0;
        rusage ru0{};
        getrusage(RUSAGE_SELF, &ru0);
        const double c0 = cpuMs();
        const auto t0 = std::chrono::steady_clock::now();
        if (!runFrame(draw))
            break;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        const double cms = cpuMs() - c0;
        rusage ru1{};
        getrusage(RUSAGE_SELF, &ru1);
        const long faults = ru1.ru_minflt - ru0.ru_minflt;
        const double sysMs = (ru1.ru_stime.tv_sec - ru0.ru_stime.tv_sec) * 1e3 +
                             (ru1.ru_stime.tv_usec - ru0.ru_stime.tv_usec) / 1e3;
        if (Process.GameActive)
            ++gameFrames;
        // Start Game runs the first loading step in a menu frame.
        Phase phase = loading || Process.LoadingActive ? Loading : phaseAfterFrame();
        if (phase == Menu && spacing1)
            phase = MenuSpacing1;
        if (phase == Won)
            ++wonFrames;
        last = phase;
        if (!draw) {
            ++undrawn;
        } else {
            wall[phase].push_back(ms);
            cpu[phase].push_back(cms);
            if (phase == Loading)
                loadingFrames.push_back(ms);
            if (log)
                std::fprintf(log, "%d\t%s\t%.2f\t%.2f\t%ld\t%.2f\n", frame, PhaseNames[phase], ms, cms,
                             faults, sysMs);
        }
        if (wonFrames >= WonFrames || (Process.GameActive && (Game.Lives == 0)))
            break;
        if (autopilotStarted && Process.MenuActive && gameFrames > 0)
            break; // the game ended without the won caption
    }
    setAutopilot(false);
    if (log)
        std::fclose(log);
    if (wonFrames == 0)
        std::printf("(the game was not won: lives %d)\n", Game.Lives);

    std::printf("\n| phase | frames | p50 ms | p95 ms | p99 ms | max ms | cpu p50 ms | cpu p99 ms |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int p = 0; p < PhaseCount; ++p) {
        const std::vector<double>& w = wall[p];
        if (w.empty())
            continue;
        std::printf("| %s | %zu | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f |\n", PhaseNames[p], w.size(),
                    percentile(w, 50), percentile(w, 95), percentile(w, 99),
                    *std::max_element(w.begin(), w.end()), percentile(cpu[p], 50), percentile(cpu[p], 99));
    }
    std::printf("\nloading frames (ms):");
    for (double ms : loadingFrames)
        std::printf(" %.1f", ms);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\npeak RSS: %.1f MB; %d game frames, %d of them advanced undrawn\n\n",
                usage.ru_maxrss / 1024.0, gameFrames, undrawn);
    return 0;
}

int runCallgrind(const Options& o)
{
    startUp(o);
    if (CallgrindMenu) {
        // As the timed run: the menu at its fixed spacing, then spacing 1
        // for the frames before the counted ones.
        for (int frame = 0; frame < MenuFrames; ++frame)
            runFrame();
        startDenseMenu();
        for (int frame = 0; frame < Spacing1Frames / 2; ++frame)
            runFrame();
        CALLGRIND_ZERO_STATS;
        CALLGRIND_START_INSTRUMENTATION;
        for (int i = 0; i < o.callgrindFrames; ++i)
            runFrame();
        CALLGRIND_STOP_INSTRUMENTATION;
        std::printf("%d menu frames at spacing 1 at %dx%d\n", o.callgrindFrames, o.width, o.height);
        return 0;
    }
    setAutopilot(true);
    int gameFrames = 0;
    for (int frame = 0; frame < 60 * 60 * 10 && gameFrames < CallgrindStart; ++frame) {
        // Loading frames are drawn: they make the level's textures.
        const bool draw = Process.LoadingActive;
        const bool counted = draw && CallgrindLoadingFrame == static_cast<int>(Level.LoadStep) + 1;
        if (counted) {
            CALLGRIND_ZERO_STATS;
            CALLGRIND_START_INSTRUMENTATION;
        }
        if (!runFrame(draw))
            return 1;
        if (counted) {
            CALLGRIND_STOP_INSTRUMENTATION;
            std::printf("loading frame %d at %dx%d\n", CallgrindLoadingFrame, o.width, o.height);
            return 0;
        }
        gameFrames += Process.GameActive;
    }
    runFrame(); // a drawn frame before the counted ones
    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < o.callgrindFrames; ++i)
        runFrame();
    CALLGRIND_STOP_INSTRUMENTATION;
    setAutopilot(false);
    std::printf("%d frames drawn from game frame %d at %dx%d\n", o.callgrindFrames, CallgrindStart, o.width,
                o.height);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--size" && next && std::sscanf(next, "%dx%d", &o.width, &o.height) == 2)
            ++i;
        else if (a == "--every" && next)
            o.every = std::max(1, std::atoi(argv[++i]));
        else if (a == "--callgrind" && next)
            o.callgrindFrames = std::max(1, std::atoi(argv[++i]));
        else if (a == "--loading-frame" && next)
            CallgrindLoadingFrame = std::atoi(argv[++i]);
        else if (a == "--menu")
            CallgrindMenu = true;
        else if (a == "--from" && next)
            CallgrindStart = std::max(1, std::atoi(argv[++i]));
        else if (a == "--label" && next)
            o.label = argv[++i];
        else if (a == "--frame-log" && next)
            o.frameLog = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: %s [--size WxH] [--every K] [--label TEXT] [--frame-log FILE] | --callgrind "
                         "N [--from FRAME | "
                         "--loading-frame K | --menu] [--size WxH]\n",
                         argv[0]);
            return 2;
        }
    }
    return o.callgrindFrames > 0 ? runCallgrind(o) : run(o);
}
