#pragma once

// The 3D main menu: four items, each a caption and a box node of
// MainMenuScene, that spin about their box's vertical axis when their key
// is pressed and fire their action when the spin has run its course; beside
// them our helicopter hovers with its rotor turning, and white points fall
// through the scene.
//
// The menu advances in two steps: the placement step, first in a frame,
// reads the keys, advances the spins, fires actions and turns the items'
// nodes; the menu's own step, if the menu is still up, turns the rotor,
// bobs the helicopter and lets the points fall. Its drawing then shows all
// of it, the items 100 units ahead.

#include "math/matrix4.h"
#include "world/process_state.h"

#include <initializer_list>
#include <vector>

class Scene;
struct SceneNode;

// The loading screen's scene (Level.LoadingScene), read anew at every Start
// Game.
void createLoadingScene();

// The turn of a spinning item as a function of its spin: up to 400 degrees
// at spin 20, swinging back to about 350 when it fires.
float spinAngle(float spin);

// Writes into the worldMatrix of each node the turn by `angle` degrees
// about the vertical axis through the pivot of `box`:
// box.nodeMatrix * Ry(angle) * inverse(box.nodeMatrix).
void pivotSpin(std::initializer_list<SceneNode*> nodes, const SceneNode& box, float angle);

// The falling points worth sending to GL, x, y, z each, in grid order:
// those in front of the eye whose centre lies inside the sides of the view
// volume or less than the margin (in normalised device units) outside
// them; `clip` is the projection times the modelview. GL drops a point by
// its centre, so leaving out the others changes no pixel; at spacing 1 most
// of the million lie outside the view.
void visibleFallingPoints(const Matrix4& clip, float marginX, float marginY, std::vector<float>& corners);

// Before the first frame, with the picture's view set: reads from GL what
// the falling points need when many (their rows' depths and colours), and
// has Mesa compile the drawing of the menu's scenes and of many points, so
// that no menu frame pays for it.
void prepareMenuDrawing();

void menuPlacementStep();
void advanceMenu();
void drawMenu();
