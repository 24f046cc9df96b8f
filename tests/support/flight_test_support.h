#pragma once

// Helpers for the flight tests: the game started on the headless platform in
// a scratch directory, a recorder of the Scenes a frame draws, a course
// text, and a level loaded the way Start Game loads it.

#include "game/control_step.h"
#include "game/game_state.h"
#include "game/level_loading.h"
#include "game/level_teardown.h"
#include "headless/gl_probe.h"
#include "headless/headless_platform.h"
#include "input/keyboard.h"
#include "scene_test_support.h"
#include "screens/scene_drawer.h"
#include "shell/frame_loop.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace flighttest {

struct Drawn {
    Scene* scene;
    float modelview[16];
};

inline std::vector<Drawn> Draws;

inline void recordDraw(Scene* scene)
{
    Drawn d{scene, {}};
    glprobe::modelviewMatrix(d.modelview);
    Draws.push_back(d);
}

inline int countDraws(Scene* scene)
{
    int n = 0;
    for (const Drawn& d : Draws)
        n += d.scene == scene;
    return n;
}

// The first draw of the Scene since the last clear.
inline const Drawn& drawnAt(Scene* scene)
{
    static Drawn none{nullptr, {}};
    for (const Drawn& d : Draws)
        if (d.scene == scene)
            return d;
    return none;
}

// The Scenes drawn since the last clear, in order, limited to `of`.
inline std::vector<Scene*> drawnAmong(std::initializer_list<Scene*> of)
{
    std::vector<Scene*> out;
    for (const Drawn& d : Draws)
        for (Scene* s : of)
            if (d.scene == s && s)
                out.push_back(s);
    return out;
}

// The game on an 800 by 600 headless context, started in the current
// directory (the files the test wrote there, nothing else), with the
// drawing recorded instead of rendered.
inline void startGame(bool recordDrawing = true, int width = 800, int height = 600)
{
    headless::reset();
    headless::makeContext(width, height);
    initGame();
    // Tests of one binary may share a process: no level, no game from an
    // earlier test.
    tearDownLevel();
    Game = GameState{};
    Process.MenuActive = true;
    Process.LoadingActive = Process.GameActive = Process.InstructionsActive = Process.CreditsActive = false;
    DrawScene = drawLoadedScene;
    DrawPosedScene = drawLoadedPosedScene;
    if (recordDrawing) {
        DrawScene = recordDraw;
        DrawPosedScene = [](Scene* scene, const std::vector<Matrix4>&) { recordDraw(scene); };
    }
    Draws.clear();
}

// What Start Game does in the menu.
inline void enterLoading()
{
    Process.MenuActive = false;
    Process.LoadingActive = true;
}

// Loads the level over its ten frames; the game frame runs in the last.
inline void loadLevel()
{
    enterLoading();
    for (int i = 0; i < 10; ++i)
        runFrame();
}

inline void pressAndRelease(int vk)
{
    headless::setKey(vk, true);
    runFrame();
    headless::setKey(vk, false);
}

// "P" and then records x y z heading, one per line.
struct Record {
    float x, y, z, yaw;
};
inline std::string courseText(const std::vector<Record>& records)
{
    std::string text = "P\n";
    for (const Record& r : records)
        text += std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.z) + " " +
                std::to_string(r.yaw) + "\n";
    return text;
}

// The generated game data of the build tree as the current directory.
class InDataDir {
  public:
    InDataDir() : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(KESTRAVA_DATA_DIR);
    }
    ~InDataDir() { std::filesystem::current_path(previous_); }

  private:
    std::filesystem::path previous_;
};

inline bool dataPresent()
{
    for (const char* file : {"Patho.txt", "map1.ASE", "Sky.ASE", "Ready.ASE", "HeroHeli.ASE", "fuel.ASE"})
        if (!std::filesystem::exists(std::filesystem::path(KESTRAVA_DATA_DIR) / file))
            return false;
    return true;
}

} // namespace flighttest

#define REQUIRE_DATA()                                                                                       \
    if (!dataPresent())                                                                                      \
    GTEST_SKIP() << "the game data is not generated in " KESTRAVA_DATA_DIR " (build assetgen's data target)"

namespace flighttest {

// 60 frames a second on the scripted clock.
inline void paceAt60(int frame)
{
    headless::setMilliseconds(100000 + static_cast<uint32_t>(frame * 1000.0 / 60.0));
}

} // namespace flighttest
