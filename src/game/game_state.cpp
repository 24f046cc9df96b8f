#include "game/game_state.h"

float PathX = 0.0f;
float PathY = 0.0f;
float PathZ = 24.0f;
float PathYaw = 0.0f;
float PathSpeed = 1.0f;

float Fuel = 360.0f;
int Lives = 3;
bool GameWon = false;

float HeliOffsetX = 0.0f;
float HeliOffsetY = 0.0f;
float HeliOffsetZ = 0.0f;
float HeliPitch = 0.0f;
float HeliTilt = 0.0f;
float HeliRoll = 0.0f;
HealthTriple HeroHealth{0.0f, 8.0f, 8.0f};

std::vector<MilitaryBase> MilitaryBases;
std::vector<EnemyHeli> EnemyHelis;
std::vector<Projectile> Rockets;
std::vector<Projectile> Bullets;

void resetGameState()
{
    PathX = 0.0f;
    PathY = 0.0f;
    PathZ = 24.0f;
    PathYaw = 0.0f;
    PathSpeed = 1.0f;
    Fuel = 360.0f;
    Lives = 3;
    GameWon = false;
    // Full health, so that the first hit costs health rather than a life
    // and the bar shows from the start.
    HeroHealth = HealthTriple{0.0f, 8.0f, 8.0f};
    MilitaryBases.clear();
    EnemyHelis.clear();
    Rockets.clear();
    Bullets.clear();
}
