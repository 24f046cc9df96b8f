// The rules of combat, without a GL context: shots against bases and
// enemies, the bases' looks, the enemies' arrival, fire and crash, and the
// hero's damage and lives. Meshes are boxes built in code.

#include "game/bases_step.h"
#include "game/enemies_step.h"
#include "game/game_state.h"
#include "game/placements.h"
#include "game/shots_step.h"
#include "mesh_test_support.h"
#include "scene/mesh_collider.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float Rad = 3.14f / 180.0f; // the game's own conversion

// A base's box: 50 by 50 units, 17 high, standing on its origin (z up).
// The helicopter's: 6 wide, 1.6 high, 3.5 long about its origin.
struct Combat : ::testing::Test {
    meshtest::MeshScene baseMesh, heliMesh;

    void SetUp() override
    {
        baseMesh.addBox({-25, -25, 0}, {25, 25, 17});
        heliMesh.addBox({-3, -0.8f, -1}, {3, 0.8f, 2.5f});
        Level.BaseCollider.bind(baseMesh.scene.get());
        Process.HeroCollider.bind(heliMesh.scene.get());
        Game = GameState{};
        Game.PathZ = 0.0f;
        Game.HeliOffsetX = 0.0f, Game.HeliOffsetY = -3.0f, Game.HeliOffsetZ = -12.0f;
        Game.HeliPitch = Game.HeliTilt = Game.HeliRoll = 0.0f;
    }
    void TearDown() override
    {
        Level.BaseCollider.bind(nullptr);
        Process.HeroCollider.bind(nullptr);
    }

    // A base whose box stands at this point of the world (the camera's
    // frame at the start of the course).
    static MilitaryBase baseAtWorld(float x, float y, float z)
    {
        return MilitaryBase(Vec3{x - 270, -z - 130, y});
    }

    // An enemy hovering at this point of eye space, engaged with the
    // camera at the start of the course.
    static EnemyHeli enemyAt(float x, float y, float z, bool firing = true)
    {
        EnemyHeli e(Vec3{x, y, z});
        e.engaged = true;
        e.firing = firing;
        return e;
    }

    // Flies the shot until it explodes or n frames pass; the sights seen.
    std::vector<ShotSight> fly(Projectile& shot, bool rocket, int n)
    {
        std::vector<ShotSight> seen;
        for (int i = 0; i < n; ++i) {
            const float end = rocket ? RocketExplosionEnd : BulletExplosionEnd;
            if (shot.age > end)
                break;
            seen.push_back(rocket ? flyRocket(shot, cameraTransform(), Game.PathZ)
                                  : flyBullet(shot, cameraTransform(), Origin));
        }
        return seen;
    }

    static int models(const std::vector<ShotSight>& seen)
    {
        int n = 0;
        for (const ShotSight& s : seen)
            n += s.kind == ShotSight::Model;
        return n;
    }
};

Vec4 worldOf(const ShotSight& s, const Matrix4& camera)
{
    return transformPoint(inverse(camera) * s.place, Origin);
}

} // namespace

TEST_F(Combat, ShotsLeaveTheHeroAlongItsHeadingAndFlyOnInTheWorldUntilTheirRange)
{
    for (bool rocket : {true, false}) {
        SCOPED_TRACE(rocket ? "rocket" : "bullet");
        Game.PathX = 5, Game.PathY = -40, Game.PathZ = 300, Game.PathYaw = 20;
        Game.HeliOffsetX = 2, Game.HeliTilt = 30, Game.HeliPitch = 10;
        const Matrix4 launchCamera = cameraTransform();
        Projectile shot;
        std::vector<ShotSight> seen = fly(shot, rocket, 1);
        const float speed = rocket ? RocketSpeed : BulletSpeed;
        const float pitch = (rocket ? 10 - RocketDrop : 10) * Rad;
        const float length = std::sqrt(1 + std::sin(pitch) * std::sin(pitch));
        EXPECT_NEAR(shot.direction.x, -std::sin(30 * Rad) / length, 1e-6f);
        EXPECT_NEAR(shot.direction.y, std::sin(pitch) / length, 1e-6f);
        EXPECT_NEAR(shot.direction.z, -std::cos(30 * Rad) / length, 1e-6f);
        EXPECT_NEAR(shot.position.z, -15 + speed * shot.direction.z, 1e-5f);
        EXPECT_FLOAT_EQ(shot.position.x, 2 + speed * shot.direction.x);
        const Vec4 launched = worldOf(seen[0], launchCamera);

        // The camera moves on; the shot keeps its line in the world.
        Game.PathZ += 50, Game.PathYaw = -10;
        seen = fly(shot, rocket, 1);
        const Vec4 next = worldOf(seen[0], cameraTransform());
        const float dx = next.x - launched.x, dy = next.y - launched.y, dz = next.z - launched.z;
        EXPECT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), speed, 1e-3f);

        // Beyond the range from the launching camera it explodes, where it
        // is, and stays there while the explosion grows.
        seen = fly(shot, rocket, 400);
        const float range = std::sqrt(rocket ? RocketRangeSquared : BulletRangeSquared);
        int firstExplosion = models(seen);
        ASSERT_LT(firstExplosion, static_cast<int>(seen.size()));
        const Vec4& p = shot.position;
        EXPECT_GT(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), range);
        EXPECT_LE(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z) - speed, range);
        EXPECT_EQ(static_cast<int>(seen.size()) - firstExplosion, rocket ? 6 : 4);
        for (size_t i = firstExplosion; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].kind, ShotSight::Explosion);
            EXPECT_NEAR(seen[i].explosionAge, 0.1f * (i - firstExplosion), 1e-5f);
        }
        EXPECT_FALSE(shot.spent);
        EXPECT_EQ(shot.direction.z, 0.0f);
    }
}

TEST_F(Combat, ARocketDamagesTheFirstBaseItTouchesOnceAndIgnoresEnemies)
{
    // Two bases on the same spot, 100 ahead and 40 below; an enemy on the
    // rocket's line.
    Game.MilitaryBases = {baseAtWorld(0, -40, -100), baseAtWorld(0, -40, -100)};
    Game.EnemyHelis = {enemyAt(0, -3.5f, -20)};
    Projectile rocket;
    std::vector<ShotSight> seen = fly(rocket, true, 200);
    EXPECT_TRUE(rocket.spent);
    EXPECT_GT(models(seen), 5);
    EXPECT_EQ(seen.size(), models(seen) + 6u);
    EXPECT_FLOAT_EQ(Game.MilitaryBases[0].damage, 1);
    EXPECT_FLOAT_EQ(Game.MilitaryBases[0].health, 7);
    EXPECT_FLOAT_EQ(Game.MilitaryBases[1].damage, 0);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[0].damage, 0);

    // Six hits destroy it: 7, 5, 2, -2, -7, -13.
    std::vector<float> health{Game.MilitaryBases[0].health};
    for (int i = 0; i < 5; ++i) {
        Projectile next;
        fly(next, true, 200);
        health.push_back(Game.MilitaryBases[0].health);
    }
    EXPECT_EQ(health, (std::vector<float>{7, 5, 2, -2, -7, -13}));
    EXPECT_FLOAT_EQ(Game.MilitaryBases[1].damage, 0);
    // A wreck is still hit: the next rocket takes the first base again.
    Projectile seventh;
    fly(seventh, true, 200);
    EXPECT_FLOAT_EQ(Game.MilitaryBases[0].damage, 7);
}

TEST_F(Combat, AShotThatHitsInItsFirstFrameIsNeverDrawnAsAModel)
{
    Game.MilitaryBases = {baseAtWorld(0, -10, -20)};
    Projectile rocket;
    std::vector<ShotSight> seen = fly(rocket, true, 50);
    EXPECT_TRUE(rocket.spent);
    EXPECT_EQ(models(seen), 0);
    EXPECT_EQ(seen.size(), 6u);

    Game.EnemyHelis = {enemyAt(2, -3, -20)};
    Projectile bullet;
    seen = fly(bullet, false, 50);
    EXPECT_TRUE(bullet.spent);
    EXPECT_EQ(models(seen), 0);
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[0].damage, 1);
}

TEST_F(Combat, BulletsHitOnlyEnemiesHoveringToFire)
{
    // A base on the bullet's line, and an enemy sinking (not firing).
    Game.MilitaryBases = {baseAtWorld(0, -20, -40)};
    Game.EnemyHelis = {enemyAt(2, -3, -40, false)};
    Projectile bullet;
    fly(bullet, false, 100);
    EXPECT_FALSE(bullet.spent);
    EXPECT_FLOAT_EQ(Game.MilitaryBases[0].damage, 0);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[0].damage, 0);

    Game.EnemyHelis[0].firing = true;
    Projectile again;
    fly(again, false, 100);
    EXPECT_TRUE(again.spent);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[0].damage, 1);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[0].health, 7);
}

TEST_F(Combat, BasesShowTheirLookByDamageAndOnlyNearOnesAreDrawn)
{
    MilitaryBase base = baseAtWorld(0, -40, -100);
    auto lookAt = [&](float damage) {
        base.damage = damage;
        return baseFrame(base, cameraTransform(), Game.PathZ).look;
    };
    EXPECT_EQ(lookAt(0), BaseSight::Intact);
    EXPECT_EQ(lookAt(1.9f), BaseSight::Intact);
    EXPECT_EQ(lookAt(2), BaseSight::Damaged);
    EXPECT_EQ(lookAt(5), BaseSight::Damaged);

    // Destroyed: a wreck, without a health bar (its growth is drawn through
    // whole frames). Where the bar stands over a base the golden combat
    // frames show.
    EXPECT_EQ(lookAt(6), BaseSight::Wreck);

    // Far: its depth in view more than 275 beyond the course progress.
    MilitaryBase far = baseAtWorld(0, -40, -1000);
    Game.PathZ = 360;
    EXPECT_EQ(baseFrame(far, cameraTransform(), Game.PathZ).look, BaseSight::Nothing); // 640 - 360 = 280
    Game.PathZ = 365;
    EXPECT_EQ(baseFrame(far, cameraTransform(), Game.PathZ).look, BaseSight::Intact); // 635 - 365 = 270
}

TEST_F(Combat, AnEnemyWaitsUnseenUntilTheCameraIsWithin75ThenSinksToTheHerosHeight)
{
    EnemyHeli enemy(Vec3{0, 30, -100});
    Game.PathZ = 24.99f; // 75.01 away
    EXPECT_FALSE(enemyFrame(enemy, Origin, nullptr).shown);
    EXPECT_FLOAT_EQ(enemy.velocity.y, -1);
    EXPECT_FLOAT_EQ(enemy.position.y, 30);

    Game.PathZ = 25; // exactly 75 is near
    EXPECT_TRUE(enemyFrame(enemy, Origin, nullptr).shown);
    EXPECT_FLOAT_EQ(enemy.position.y, 29);
    // Far again but below its spawn height: it carries on sinking.
    Game.PathZ = 0;
    EXPECT_TRUE(enemyFrame(enemy, Origin, nullptr).shown);
    EXPECT_FLOAT_EQ(enemy.position.y, 28);
    int frames = 0;
    while (!enemy.firing && frames < 100) {
        enemyFrame(enemy, Origin, nullptr);
        ++frames;
    }
    EXPECT_TRUE(enemy.firing);
    EXPECT_FLOAT_EQ(enemy.position.y, -3); // the hero's height with PathY 0
    EXPECT_FLOAT_EQ(enemy.velocity.y, 0);
    EXPECT_FALSE(enemy.engaged); // still 100 ahead: its frame follows the camera
    Game.PathZ = 70;
    enemyFrame(enemy, Origin, nullptr);
    EXPECT_TRUE(enemy.engaged);
    EXPECT_FLOAT_EQ(enemy.anchor.z, 70);
    Game.PathZ = 200;
    enemyFrame(enemy, Origin, nullptr);
    EXPECT_FLOAT_EQ(enemy.anchor.z, 70);
}

TEST_F(Combat, TheFifthHitBringsAnEnemyDownAndTheCrashPlaysOnceThenItIsGone)
{
    meshtest::MeshScene crashScene;
    Scene* crash = crashScene.scene.get();
    Game.EnemyHelis = {enemyAt(2, -3, -30)};
    EnemyHeli& enemy = Game.EnemyHelis[0];
    enemy.damage = 4;
    Projectile bullet;
    fly(bullet, false, 20);
    ASSERT_FLOAT_EQ(enemy.damage, 5);

    EnemySight s = enemyFrame(enemy, Origin, crash);
    EXPECT_TRUE(s.shown);
    EXPECT_FALSE(s.alive);
    EXPECT_TRUE(s.crashing);
    EXPECT_FALSE(s.shotShown);
    EXPECT_FALSE(enemy.active);
    EXPECT_EQ(enemy.angles.z, 0.0f);
    // Down, it is no longer swaying or turning, and cannot be hit.
    const Vec4 place = enemy.position;
    enemyFrame(enemy, Origin, crash);
    EXPECT_EQ(enemy.position.x, place.x);

    crash->animationEnded = true;
    crash->animationTime = 2.0f;
    s = enemyFrame(enemy, Origin, crash);
    EXPECT_FALSE(s.crashing);
    EXPECT_TRUE(enemy.dead);
    EXPECT_FALSE(enemy.firing);
    EXPECT_FALSE(crash->animationEnded);
    EXPECT_EQ(crash->animationTime, 0.0f);
    EXPECT_FALSE(enemyFrame(enemy, Origin, crash).shown);

    // Without a crash animation loaded the crash ends at once.
    EnemyHeli other = enemyAt(2, -3, -30);
    other.damage = 5;
    EXPECT_FALSE(enemyFrame(other, Origin, nullptr).crashing);
    EXPECT_TRUE(other.dead);
}

TEST_F(Combat, EnemyFireCostsTheHeroMoreHealthEachHitAndALifeWhenItIsGone)
{
    const GameState placed = Game;
    for (int lives : {3, 0}) {
        SCOPED_TRACE(lives);
        Game = placed;
        Game.Lives = lives;
        EnemyHeli enemy = enemyAt(0, -3, -30);
        std::vector<float> healthAfterHits;
        std::vector<int> livesAfterHits;
        for (int frame = 0; frame < 150 * 8; ++frame) {
            const float before = Game.HeroHealth.health;
            const int livesBefore = Game.Lives;
            enemyFrame(enemy, Origin, nullptr);
            if (Game.HeroHealth.health != before || Game.Lives != livesBefore) {
                healthAfterHits.push_back(Game.HeroHealth.health);
                livesAfterHits.push_back(Game.Lives);
                // One hit per reload of 150 frames.
                EXPECT_EQ(static_cast<int>(healthAfterHits.size()), frame / 150 + 1) << frame;
            }
        }
        if (lives == 3) {
            EXPECT_EQ(healthAfterHits, (std::vector<float>{7.5f, 6.5f, 5, 3, 0.5f, -2.5f, 8, 7.5f}));
            EXPECT_EQ(livesAfterHits, (std::vector<int>{3, 3, 3, 3, 3, 3, 2, 2}));
        } else {
            EXPECT_EQ(healthAfterHits, (std::vector<float>{7.5f, 6.5f, 5, 3, 0.5f, -2.5f, -6, -10}));
            EXPECT_EQ(Game.Lives, 0);
        }
    }
}

TEST_F(Combat, AnEnemyTurnsToFaceTheHeroAndNeverByNaN)
{
    EXPECT_EQ(turnToHero(0, 18), 0.0f);
    EXPECT_NEAR(turnToHero(1, 1), 45 * 3.14159265f / 3.14f, 1e-4f);
    EXPECT_NEAR(turnToHero(-1, 1), -45 * 3.14159265f / 3.14f, 1e-4f);
    EXPECT_NEAR(turnToHero(3, 0), 90 * 3.14159265f / 3.14f, 1e-4f);
    // Right above or below the hero.
    EXPECT_EQ(turnToHero(0, 0), 0.0f);
    EXPECT_FALSE(std::isnan(turnToHero(1e-30f, 0)));

    // The enemy's bullet leaves toward where the hero is.
    EnemyHeli enemy = enemyAt(-6, -3, -30);
    enemy.swayFlag = false;
    EnemySight s = enemyFrame(enemy, Origin, nullptr);
    ASSERT_TRUE(s.shotShown);
    EXPECT_GT(enemy.angles.y, 0);
    EXPECT_GT(enemy.shot.direction.x, 0);
    EXPECT_GT(enemy.shot.direction.z, 0);
}

// The hit test places the enemy's model turned about the camera first and
// then about its pivot; the drawing turns it about the pivot first. With a
// pivot away from the origin the two differ, and the hits follow the test.
TEST_F(Combat, BulletsHitWhereTheTestPlacesTheEnemyNotWhereAPivotedModelIsDrawn)
{
    meshtest::MeshScene narrow;
    narrow.addBox({-0.5f, -0.8f, -1}, {0.5f, 0.8f, 2.5f});
    Process.HeroCollider.bind(narrow.scene.get());
    const Vec4 pivot{2, 0, 0, 1};
    EnemyHeli enemy = enemyAt(0, -3, -30, false);
    EnemySight s = enemyFrame(enemy, pivot, nullptr);
    // Drawn 4 units right of its place: the pivot, turned half round (the
    // first frame's roll of a degree aside).
    EXPECT_NEAR(s.model.m[12] - s.place.m[12], 4, 1e-3f);
    enemy.firing = true;
    Game.EnemyHelis = {enemy};

    // A bullet whose left point passes the enemy's place hits ...
    Game.HeliOffsetX = 2;
    Projectile atPlace;
    for (int i = 0; i < 10; ++i)
        flyBullet(atPlace, cameraTransform(), pivot);
    EXPECT_TRUE(atPlace.spent);
    // ... one whose left point passes the drawn model does not.
    Game.HeliOffsetX = 6;
    Projectile atModel;
    for (int i = 0; i < 10; ++i)
        flyBullet(atModel, cameraTransform(), pivot);
    EXPECT_FALSE(atModel.spent);
}
