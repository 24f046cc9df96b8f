#include "world/level_state.h"

LevelState Level;

const LevelSceneFile LevelSceneFiles[LevelSceneCount] = {
    {&LevelState::MilitaryBaseScene, "MilitaryBase.ASE", 0},
    {&LevelState::MilitaryBase1Scene, "MilitaryBase1.ASE", 0},
    {&LevelState::MilitaryBase2Scene, "MilitaryBase2.ASE", 0},
    {&LevelState::BulletScene, "bullet.ASE", 1},
    {&LevelState::NumberOneScene, "NumberOne.ASE", 1},
    {&LevelState::NumberTwoScene, "NumberTwo.ASE", 1},
    {&LevelState::NumberThreeScene, "NumberThree.ASE", 1},
    {&LevelState::ReadyScene, "Ready.ASE", 1},
    {&LevelState::RocketScene, "Rocket.ASE", 2},
    {&LevelState::AirplaneScene, "Airplane0.ASE", 2},
    {&LevelState::Map1Scene, "map1.ASE", 3},
    {&LevelState::SkyScene, "Sky.ASE", 3},
    {&LevelState::Map2Scene, "map2.ASE", 4},
    {&LevelState::HeliMetersScene, "HeliMeters.ASE", 4},
    {&LevelState::RoadScene, "road.ASE", 5},
    {&LevelState::FuelScene, "fuel.ASE", 6},
    {&LevelState::WinningScene, "Winning.ASE", 6},
    {&LevelState::LoosingScene, "Loosing.ASE", 6},
    {&LevelState::PausedScene, "Paused.ASE", 6},
    {&LevelState::LivesScene, "lives.ASE", 7},
    {&LevelState::ExplosionScene, "explosion.ASE", 8},
    {&LevelState::DestroyHeliScene, "DestroyHeli(1).ASE", 9},
};
