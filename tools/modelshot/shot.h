#pragma once

#include <string>

class Scene;

// The GL state the game sets at start-up (texturing, grey menu fog, depth
// test, smooth shading, light 0), on a fresh headless context.
void startFrame(int width, int height, bool gameFog, float clearR, float clearG, float clearB);
// The game's projections.
void perspective();
void orthographicHud();
// worldPlacement, the placement of map coordinates (z up) in the camera's
// frame, is the game's own.
#include "game/game_state.h"

// The game's own HUD layer (it clears the frame first, as in the game), with
// three lives and the given fuel, slid into place.
void drawGameHud(float fuel);

struct SceneNode;
Scene* loadScene(const std::string& fileName);

// The sphere around the box of all the Scene's vertices: writes its centre,
// returns its radius.
float boundingSphere(const Scene& scene, float centre[3]);
// Turns a node about its own pivot as the game does (rotor, menu items).
void pivotTurn(SceneNode* node, float angle, float ax, float ay, float az);
void draw(Scene* scene);
// The colour buffer as a PNG file, top row first.
void savePng(const std::string& path);

// Each view renders one picture; false when the view is unknown.
bool renderView(const std::string& view, const std::string& argument, const std::string& out);
