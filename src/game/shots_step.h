#pragma once

// The player's rockets and bullets in the game frame: launch, flight, hits
// and explosions. Each shot leaves the hero model and then flies on its own
// line in the world, fixed in the frame of the camera at its launch.
//
// Rockets fly 4 units a frame, hit only bases and explode for 6 frames;
// bullets fly 5 units a frame, hit only enemies that are hovering to fire,
// and explode for 4 frames. A shot that hits nothing explodes where it
// leaves its range. A shot explodes at most once and damages at most one
// target. Finished shots leave their lists.

#include "game/game_view.h"
#include "math/matrix4.h"

#include <vector>

class Scene;
struct Projectile;

constexpr float RocketSpeed = 4.0f;
constexpr float BulletSpeed = 5.0f;
// Squared distances from the launching camera beyond which a shot explodes.
constexpr float RocketRangeSquared = 200000.0f;
constexpr float BulletRangeSquared = 20000.0f;
// The explosion grows its age by 0.1 a frame; past these the shot is done.
constexpr float RocketExplosionEnd = 0.5f;
constexpr float BulletExplosionEnd = 0.3f;
// Rockets leave 20 degrees below the hero's nose.
constexpr float RocketDrop = 20.0f;
// The radius of the hit tests is a tenth of these.
constexpr float RocketHitSize = 8.0f;
constexpr float BulletHitSize = 5.0f;

// The launch of a fresh shot under the given camera: it leaves 3 units
// ahead of the hero model, along the hero's heading and pitch (less `drop`
// degrees), in the frame of that camera.
void launchShot(Projectile& shot, const Matrix4& camera, float drop);

// One frame of a rocket's flight by the game's rules: launch when fresh,
// move, damage the first base it touches, and explode. The camera is this
// frame's; pathZ the course progress.
ShotSight flyRocket(Projectile& rocket, const Matrix4& camera, float pathZ);

// The same for a bullet against the enemies hovering to fire. `pivot` is
// the point of the helicopter model that the enemies turn about.
ShotSight flyBullet(Projectile& bullet, const Matrix4& camera, Vec4 pivot);

// The rockets step and the bullets step of the game frame: every live shot
// flown in list order and seen into `sights`, then the finished ones
// removed (a shot whose explosion ends in this frame is still seen).
void advanceRockets(std::vector<ShotSight>& sights);
void advanceBullets(std::vector<ShotSight>& sights);
