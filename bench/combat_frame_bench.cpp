// The heaviest combat frame next to a flight frame without combat, whole
// frames on the headless software renderer (llvmpipe) with the generated
// level; and the cost of one hit test against each collision mesh.
//
// The combat frame: eleven enemies hovering in view and firing, all 22
// bases in their lists (the gates let most of them through mid-course),
// 30 rockets and 8 bullets in flight along their lines. Each iteration
// starts from the same state; the camera holds still mid-course.

#include "game/control_step.h"
#include "game/course.h"
#include "game/game_state.h"
#include "game/placements.h"
#include "game/shots_step.h"
#include "headless/headless_platform.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "shell/frame_loop.h"
#include "world/level_state.h"
#include "world/path_file.h"
#include "world/process_state.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

namespace {

struct Combat {
    std::vector<MilitaryBase> bases;
    std::vector<EnemyHeli> enemies;
    std::vector<Projectile> rockets, bullets;
};

Combat Snapshot;

// Loads the level once and stands the camera still mid-course.
void startLevel()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    headless::reset();
    const std::filesystem::path data = KESTRAVA_DATA_DIR;
    if (std::filesystem::exists(data / "main.ASE"))
        std::filesystem::current_path(data);
    headless::makeContext(800, 600);
    initGame();
    headless::setMilliseconds(100000);
    Process.MenuActive = false;
    Process.LoadingActive = true;
    for (int i = 0; i < 10; ++i)
        runFrame();
    // Past the countdown, with the course text used up: the camera stays
    // where it is put.
    headless::setMilliseconds(200000);
    runFrame();
    Level.PathText[0] = '\0';
    Game.firstRead = true, Game.courseCursor = Game.courseContext = nullptr;
    Game.PathX = -740.0f, Game.PathY = 60.0f, Game.PathZ = 3000.0f, Game.PathYaw = 8.0f;

    Snapshot.bases = Game.MilitaryBases;
    for (int i = 0; i < 11; ++i) {
        EnemyHeli e(Vec3{-15.0f + 3.0f * i, -3.0f, -28.0f - 0.5f * i});
        e.engaged = e.firing = true;
        e.swayFlag = i % 2 == 0;
        e.shot.reloadCounter = 13 * i; // their bullets at every stage of their flight
        Snapshot.enemies.push_back(e);
    }
    // Shots along their lines as a player firing steadily leaves them.
    const Matrix4 camera = cameraTransform();
    for (int i = 0; i < 30; ++i) {
        Game.HeliTilt = -20.0f + 1.3f * i;
        Projectile r;
        launchShot(r, camera, RocketDrop);
        for (int k = 0; k < 3 * i; ++k)
            r.position = Vec4{r.position.x + r.direction.x * 4, r.position.y + r.direction.y * 4,
                              r.position.z + r.direction.z * 4, 1};
        Snapshot.rockets.push_back(r);
    }
    for (int i = 0; i < 8; ++i) {
        Game.HeliTilt = -8.0f + 2.0f * i;
        Projectile b;
        launchShot(b, camera, 0.0f);
        Snapshot.bullets.push_back(b);
    }
    Game.HeliTilt = 0.0f;
}

void restore(bool combat)
{
    Game.MilitaryBases = combat ? Snapshot.bases : std::vector<MilitaryBase>{};
    Game.EnemyHelis = combat ? Snapshot.enemies : std::vector<EnemyHeli>{};
    Game.Rockets = combat ? Snapshot.rockets : std::vector<Projectile>{};
    Game.Bullets = combat ? Snapshot.bullets : std::vector<Projectile>{};
    Game.HeroHealth = HealthTriple{0.0f, 8.0f, 8.0f};
    Game.Lives = 3;
}

void frame(benchmark::State& state, bool combat)
{
    startLevel();
    for (auto _ : state) {
        state.PauseTiming();
        restore(combat);
        state.ResumeTiming();
        runFrame();
    }
}

} // namespace

static void FlightFrameWithoutCombat(benchmark::State& state) { frame(state, false); }
BENCHMARK(FlightFrameWithoutCombat)->Unit(benchmark::kMillisecond)->MinTime(3.0);

static void HeaviestCombatFrame(benchmark::State& state) { frame(state, true); }
BENCHMARK(HeaviestCombatFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One hit test: every face of the mesh, at a point near it.
static void ColliderCall(benchmark::State& state)
{
    startLevel();
    MeshCollider collider(state.range(0) == 0 ? Level.MilitaryBaseScene.get() : Process.HeroHeliScene.get());
    const float size = state.range(0) == 0 ? RocketHitSize : BulletHitSize;
    const Vec4 point = state.range(0) == 0 ? Vec4{3, 4, 10, 1} : Vec4{0.2f, 0.1f, 0.5f, 1};
    bool hit = false;
    for (auto _ : state) {
        collider.collide(point, size, hit);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["faces"] = static_cast<double>(collider.scene->faces.size());
    state.SetLabel(state.range(0) == 0 ? "base mesh" : "helicopter mesh");
}
BENCHMARK(ColliderCall)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
