#pragma once

#include "ase.h"

#include <string>

// Every model of the game, built in memory; the generator writes them and
// the tests inspect them. One source file per family.

// Menu and screens (menu_models.cpp, screen_models.cpp).
AseScene buildMainMenu();
AseScene buildLoading();
AseScene buildInstructions();
AseScene buildCredits(int part); // 0..3

// Captions (caption_models.cpp).
AseScene buildReady();
AseScene buildNumber(int n); // 3, 2 or 1
AseScene buildWinning();
AseScene buildLoosing();
AseScene buildPaused();

// HUD (hud_models.cpp).
AseScene buildFuelGauge();
AseScene buildLivesIcon();
AseScene buildHeliMeters();

// Aircraft (heli_models.cpp, crash_model.cpp, airplane_model.cpp).
AseScene buildHeroHeli();
AseScene buildDestroyHeli();
AseScene buildAirplane();

// Ground targets and shots (base_models.cpp, shot_models.cpp).
AseScene buildMilitaryBase(int look); // 0 intact, 1 damaged, 2 wreck
AseScene buildBullet();
AseScene buildRocket();
AseScene buildExplosion();

// The world (terrain_models.cpp, road_sky_models.cpp).
AseScene buildMap(int part); // 1 or 2
AseScene buildRoad();
AseScene buildSky();
