#include "world/level_scenes.h"

Scene* MilitaryBaseScene = nullptr;
Scene* MilitaryBase1Scene = nullptr;
Scene* MilitaryBase2Scene = nullptr;
Scene* BulletScene = nullptr;
Scene* NumberOneScene = nullptr;
Scene* NumberTwoScene = nullptr;
Scene* NumberThreeScene = nullptr;
Scene* ReadyScene = nullptr;
Scene* RocketScene = nullptr;
Scene* AirplaneScene = nullptr;
Scene* Map1Scene = nullptr;
Scene* SkyScene = nullptr;
Scene* Map2Scene = nullptr;
Scene* HeliMetersScene = nullptr;
Scene* RoadScene = nullptr;
Scene* FuelScene = nullptr;
Scene* WinningScene = nullptr;
Scene* LoosingScene = nullptr;
Scene* LivesScene = nullptr;
Scene* ExplosionScene = nullptr;
Scene* DestroyHeliScene = nullptr;

const LevelSceneFile LevelSceneFiles[LevelSceneCount] = {
    {&MilitaryBaseScene, "MilitaryBase.ASE", 0},
    {&MilitaryBase1Scene, "MilitaryBase1.ASE", 0},
    {&MilitaryBase2Scene, "MilitaryBase2.ASE", 0},
    {&BulletScene, "bullet.ASE", 1},
    {&NumberOneScene, "NumberOne.ASE", 1},
    {&NumberTwoScene, "NumberTwo.ASE", 1},
    {&NumberThreeScene, "NumberThree.ASE", 1},
    {&ReadyScene, "Ready.ASE", 1},
    {&RocketScene, "Rocket.ASE", 2},
    {&AirplaneScene, "Airplane0.ASE", 2},
    {&Map1Scene, "map1.ASE", 3},
    {&SkyScene, "Sky.ASE", 3},
    {&Map2Scene, "map2.ASE", 4},
    {&HeliMetersScene, "HeliMeters.ASE", 4},
    {&RoadScene, "road.ASE", 5},
    {&FuelScene, "fuel.ASE", 6},
    {&WinningScene, "Winning.ASE", 6},
    {&LoosingScene, "Loosing.ASE", 6},
    {&LivesScene, "lives.ASE", 7},
    {&ExplosionScene, "explosion.ASE", 8},
    {&DestroyHeliScene, "DestroyHeli(1).ASE", 9},
};
