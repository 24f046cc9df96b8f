#pragma once

// What lives for a loaded level: its scenes, one per ASE file, created by
// the loading steps (and the loading screen's own scene, made at Start
// Game); the progress of the loading; the course text and its file. The
// teardown is `Level = LevelState{}`, which frees them all.

#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "world/scene_files.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

// The course file "Patho.txt" holds at most this many bytes but one.
constexpr size_t PathTextSize = 900000;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

struct LevelState {
    // The level's files, read ahead on a worker thread (game/level_loading.h).
    // First, so that the teardown stops the worker before anything else goes.
    ScenesAhead Ahead;

    std::unique_ptr<Scene> MilitaryBaseScene;  // intact ground target, the bases' collider
    std::unique_ptr<Scene> MilitaryBase1Scene; // damaged ground target
    std::unique_ptr<Scene> MilitaryBase2Scene; // wreck of a ground target
    std::unique_ptr<Scene> BulletScene;
    std::unique_ptr<Scene> NumberOneScene; // countdown captions
    std::unique_ptr<Scene> NumberTwoScene;
    std::unique_ptr<Scene> NumberThreeScene;
    std::unique_ptr<Scene> ReadyScene;
    std::unique_ptr<Scene> RocketScene;
    std::unique_ptr<Scene> AirplaneScene; // loaded with the level, drawn by nothing
    std::unique_ptr<Scene> Map1Scene;
    std::unique_ptr<Scene> SkyScene;
    std::unique_ptr<Scene> Map2Scene;
    std::unique_ptr<Scene> HeliMetersScene; // instrument panel
    std::unique_ptr<Scene> RoadScene;
    std::unique_ptr<Scene> FuelScene; // fuel gauge
    std::unique_ptr<Scene> WinningScene;
    std::unique_ptr<Scene> LoosingScene;
    std::unique_ptr<Scene> PausedScene;
    std::unique_ptr<Scene> LivesScene;
    std::unique_ptr<Scene> ExplosionScene;
    std::unique_ptr<Scene> DestroyHeliScene; // crash animation of an enemy

    // The loading screen's progress bar, read anew at every Start Game.
    std::unique_ptr<Scene> LoadingScene;

    // The bases' hit tests, over MilitaryBaseScene.
    MeshCollider BaseCollider;

    // The loading step the next call runs, 0 to 9; 10 once loading has
    // ended.
    unsigned int LoadStep = 0;
    // Length factor of the bar: the sum of the increments so far, 2.1 in
    // all (the bar model is made for that range).
    float LoadProgress = 0.0f;
    // Set when the textures of all the level's scenes are made and the
    // registry has forgotten their images.
    bool ImagesForgotten = false;
    // Set when the loading has populated the level: from then on the world
    // is drawn in the level's fog, a brown haze, instead of the menu's.
    bool Populated = false;

    // The course text followed by zero bytes; it ends at the first zero
    // byte. Tokenising writes zero bytes into it.
    std::vector<char> PathText = std::vector<char>(PathTextSize, '\0');
    // The course file from the population of the level until its teardown;
    // null when it could not be opened.
    std::unique_ptr<FILE, FileCloser> PathFile;
};

extern LevelState Level;

struct LevelSceneFile {
    std::unique_ptr<Scene> LevelState::*scene;
    const char* fileName;
    unsigned int loadStep; // the loading step that creates it
};

constexpr int LevelSceneCount = 22;

// In loading order.
extern const LevelSceneFile LevelSceneFiles[LevelSceneCount];
