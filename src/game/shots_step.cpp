#include "game/shots_step.h"

#include "game/bases_step.h"
#include "game/enemies_step.h"
#include "game/game_state.h"
#include "game/placements.h"
#include "game/sound_events.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The shot's frame now: the camera, back to the world as it was at launch,
// then along the shot's line, turned as it left.
Matrix4 shotPlace(const Projectile& shot, const Matrix4& camera)
{
    return rotatedXYZ(translated(camera * shot.launchFrame, shot.position), shot.angles.x, shot.angles.y,
                      shot.angles.z);
}

// A shot that has hit, or gone beyond its range, explodes where it is: it
// stops, and its explosion grows each frame.
ShotSight sight(Projectile& shot, const Matrix4& camera, float rangeSquared)
{
    ShotSight s;
    s.place = shotPlace(shot, camera);
    const Vec4& p = shot.position;
    if (p.x * p.x + p.y * p.y + p.z * p.z <= rangeSquared && !shot.spent) {
        s.kind = ShotSight::Model;
        return s;
    }
    s.kind = ShotSight::Explosion;
    s.explosionAge = shot.age;
    shot.direction = Vec3{};
    shot.age += 0.1f;
    return s;
}

void move(Projectile& shot, float speed)
{
    shot.position.x += shot.direction.x * speed;
    shot.position.y += shot.direction.y * speed;
    shot.position.z += shot.direction.z * speed;
}

void damage(HealthTriple& target)
{
    target.damage += 1.0f;
    target.health -= target.damage;
}

template <typename Fly>
void advanceShots(std::vector<Projectile>& shots, float explosionEnd, std::vector<ShotSight>& sights, Fly fly)
{
    const Matrix4 camera = cameraTransform();
    sights.clear();
    for (Projectile& shot : shots)
        if (shot.age <= explosionEnd)
            sights.push_back(fly(shot, camera));
    // Finished shots are never flown or drawn again.
    std::erase_if(shots, [explosionEnd](const Projectile& shot) { return shot.age > explosionEnd; });
}

} // namespace

void launchShot(Projectile& shot, const Matrix4& camera, float drop)
{
    shot.launchFrame = camera;
    invert(shot.launchFrame);
    shot.start = Vec4{Game.HeliOffsetX, Game.HeliOffsetY, Game.HeliOffsetZ - 3.0f, 1.0f};
    shot.position = shot.start;
    shot.angles = Vec3{Game.HeliPitch - drop, Game.HeliTilt, Game.HeliRoll};
    const float pitch = gameRadians(shot.angles.x), heading = gameRadians(shot.angles.y);
    const Vec3 d{-std::sin(heading), std::sin(pitch), -std::cos(heading)};
    shot.launchDirection = d;
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    shot.direction = Vec3{d.x / length, d.y / length, d.z / length};
    shot.fresh = false;
}

ShotSight flyRocket(Projectile& rocket, const Matrix4& camera, float pathZ)
{
    if (rocket.fresh)
        launchShot(rocket, camera, RocketDrop);
    move(rocket, RocketSpeed);
    for (MilitaryBase& base : Game.MilitaryBases) {
        // Only bases within 175 units of depth beyond the course progress
        // are tested.
        const Vec4 seen = transformPoint(placedAtBase(placedInWorld(camera), base), Origin);
        if (std::abs(seen.z) - std::abs(pathZ) > 175.0f)
            continue;
        // The rocket in the base's model space: the base's frame undone,
        // then the launching camera undone, then along the rocket's line.
        const Matrix4 baseFrame = inverse(placedAtBase(placedInWorld(Matrix4()), base));
        const Matrix4 inModel = rotatedXYZ(translated(baseFrame * rocket.launchFrame, rocket.position),
                                           rocket.angles.x, rocket.angles.y, rocket.angles.z);
        bool hit = false;
        Level.BaseCollider.collide(transformPoint(inModel, Origin), RocketHitSize, hit);
        if (hit && !rocket.spent) {
            rocket.spent = true;
            const bool standing = base.damage <= BaseDestroyedAbove;
            damage(base);
            if (standing && base.damage > BaseDestroyedAbove)
                playSoundAt(Sound::BaseDestroyed, seen);
        }
    }
    const ShotSight s = sight(rocket, camera, RocketRangeSquared);
    // The burst sounds in its first frame, whether the rocket hit or flew
    // out of range.
    if (s.kind == ShotSight::Explosion && s.explosionAge == 0.0f)
        playSoundAt(Sound::Explosion, transformPoint(s.place, Origin));
    return s;
}

ShotSight flyBullet(Projectile& bullet, const Matrix4& camera, Vec4 pivot)
{
    if (bullet.fresh)
        launchShot(bullet, camera, 0.0f);
    move(bullet, BulletSpeed);
    for (EnemyHeli& enemy : Game.EnemyHelis) {
        if (!enemy.firing)
            continue;
        // The enemy's model frame as the hit test has always placed it: the
        // turn to face the camera comes before the pivot here.
        Matrix4 model =
            rotated(translated(enemyAnchorFrame(enemy), enemy.position), 180.0f, 0.0f, 1.0f, 0.0f);
        model =
            translated(rotatedXYZ(translated(model, pivot), enemy.angles.x, enemy.angles.y, enemy.angles.z),
                       -pivot.x, -pivot.y, -pivot.z);
        const Matrix4 inModel =
            rotatedXYZ(translated(inverse(model) * camera * bullet.launchFrame, bullet.position),
                       bullet.angles.x, bullet.angles.y, bullet.angles.z);
        // Two points either side of the bullet's line widen it.
        bool hit = false;
        Process.HeroCollider.collide(transformPoint(inModel, Vec4{2.0f, 0.0f, 0.0f, 1.0f}), BulletHitSize,
                                     hit);
        Process.HeroCollider.collide(transformPoint(inModel, Vec4{-2.0f, 0.0f, 0.0f, 1.0f}), BulletHitSize,
                                     hit);
        if (hit && !bullet.spent) {
            bullet.spent = true;
            const bool alive = enemy.damage < EnemyDownAt;
            damage(enemy);
            if (alive && enemy.damage >= EnemyDownAt)
                playSoundAt(Sound::EnemyCrash,
                            transformPoint(translated(enemyAnchorFrame(enemy), enemy.position), Origin));
        }
    }
    return sight(bullet, camera, BulletRangeSquared);
}

void advanceRockets(std::vector<ShotSight>& sights)
{
    const float pathZ = Game.PathZ;
    advanceShots(Game.Rockets, RocketExplosionEnd, sights,
                 [pathZ](Projectile& shot, const Matrix4& camera) { return flyRocket(shot, camera, pathZ); });
}

void advanceBullets(std::vector<ShotSight>& sights)
{
    const Vec4 pivot = heroPivot();
    advanceShots(Game.Bullets, BulletExplosionEnd, sights,
                 [pivot](Projectile& shot, const Matrix4& camera) { return flyBullet(shot, camera, pivot); });
}
