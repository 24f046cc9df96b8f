#pragma once

// The level's scenes, one per ASE file, created by the loading steps and
// deleted by the teardown; null outside a game.

class Scene;

extern Scene* MilitaryBaseScene;  // intact ground target, the bases' collider
extern Scene* MilitaryBase1Scene; // damaged ground target
extern Scene* MilitaryBase2Scene; // wreck of a ground target
extern Scene* BulletScene;
extern Scene* NumberOneScene; // countdown captions
extern Scene* NumberTwoScene;
extern Scene* NumberThreeScene;
extern Scene* ReadyScene;
extern Scene* RocketScene;
extern Scene* AirplaneScene; // loaded with the level, drawn by nothing
extern Scene* Map1Scene;
extern Scene* SkyScene;
extern Scene* Map2Scene;
extern Scene* HeliMetersScene; // instrument panel
extern Scene* RoadScene;
extern Scene* FuelScene; // fuel gauge
extern Scene* WinningScene;
extern Scene* LoosingScene;
extern Scene* LivesScene;
extern Scene* ExplosionScene;
extern Scene* DestroyHeliScene; // crash animation of an enemy

struct LevelSceneFile {
    Scene** scene;
    const char* fileName;
    unsigned int loadStep; // the loading step that creates it
};

constexpr int LevelSceneCount = 21;

// In loading order, which is also the teardown's order.
extern const LevelSceneFile LevelSceneFiles[LevelSceneCount];
