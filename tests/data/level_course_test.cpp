// The level proof: the course, the ground and the game's own tables of
// enemies and bases (world/level_layout.h) fit together by the game's rules.
#include "level_data.h"
#include "models.h"
#include "world/level_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

constexpr double DegToRad = 3.14159265358979 / 180.0;
constexpr double GoalZ = layout::FinishLineZ;
constexpr int BaseCount = int(std::size(layout::BasePlaces));

struct World {
    double x, y, z;
};

// The camera's world position for a record.
World cameraOf(const CourseRecord& r) { return {-r.x, -r.y, -r.z}; }

// A point given in the camera's eye frame, in world coordinates: the camera
// transform is a turn by the heading about y, then the translation.
World eyeToWorld(const CourseRecord& r, double ex, double ey, double ez)
{
    double c = std::cos(r.heading * DegToRad), s = std::sin(r.heading * DegToRad);
    // Inverse of the turn: world = R_y(-heading) * eye.
    World w{c * ex - s * ez, ey, s * ex + c * ez};
    World cam = cameraOf(r);
    return {cam.x + w.x, cam.y + w.y, cam.z + w.z};
}

World worldToEye(const CourseRecord& r, World p)
{
    World cam = cameraOf(r);
    double dx = p.x - cam.x, dy = p.y - cam.y, dz = p.z - cam.z;
    double c = std::cos(r.heading * DegToRad), s = std::sin(r.heading * DegToRad);
    return {c * dx + s * dz, dy, -s * dx + c * dz};
}

double mapX(World w) { return layout::mapXOfWorldX(w.x); }
double mapY(World w) { return layout::mapYOfWorldZ(w.z); }

// The record the game's frame f of the course shows: the first frame
// passes over the first record, each frame moves two records on.
const CourseRecord& recordOfFrame(size_t f)
{
    const auto& course = courseRecords();
    return course[std::min(1 + 2 * f, course.size() - 1)];
}

bool outOfReach(int base)
{
    return std::find(BasesOutOfReach.begin(), BasesOutOfReach.end(), base) != BasesOutOfReach.end();
}

} // namespace

TEST(LevelCourse, FileCarriesTheRecordsWithinItsBuffer)
{
    std::ifstream file(std::string(KESTRAVA_DATA_DIR) + "/Patho.txt", std::ios::binary);
    ASSERT_TRUE(file) << "the build writes Patho.txt";
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_LT(text.size(), 900000u - 1);
    EXPECT_EQ(text, courseText());
    // Tokenised as the game does it.
    std::vector<double> numbers;
    const char* separators = "\" ,\t\n)(*";
    std::string copy = text;
    for (char* t = std::strtok(copy.data(), separators); t; t = std::strtok(nullptr, separators))
        numbers.push_back(std::atof(t));
    const auto& course = courseRecords();
    ASSERT_EQ(numbers.size(), 1 + 4 * course.size());
    for (size_t i = 0; i < course.size(); i += 97) {
        EXPECT_NEAR(numbers[1 + 4 * i], course[i].x, 0.006);
        EXPECT_NEAR(numbers[3 + 4 * i], course[i].z, 0.006);
        EXPECT_NEAR(numbers[4 + 4 * i], course[i].heading, 0.006);
    }
}

TEST(LevelCourse, StartsAtTheGameStartAndMovesOnSmoothly)
{
    const auto& course = courseRecords();
    ASSERT_GT(course.size(), 100u);
    EXPECT_EQ(course[0].x, 0.0);
    EXPECT_EQ(course[0].y, 0.0);
    EXPECT_EQ(course[0].z, 24.0);
    EXPECT_EQ(course[0].heading, 0.0);
    // Easing away: the first second of travel covers only a few units.
    EXPECT_LT(recordOfFrame(60).z - 24.0, 10.0);
    for (size_t i = 1; i < course.size(); ++i) {
        const CourseRecord &a = course[i - 1], &b = course[i];
        double step =
            std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
        ASSERT_LE(step, 2.0) << "record " << i;
        ASSERT_GT(b.z, a.z) << "record " << i;
        ASSERT_LE(std::fabs(b.heading - a.heading), 0.35) << "record " << i;
        ASSERT_LE(std::fabs(b.heading), 45.0) << "record " << i;
    }
    EXPECT_GT(course.back().z, GoalZ);
    EXPECT_LT(course.back().z, GoalZ + 200.0);
}

TEST(LevelCourse, ReachesTheGoalInsideTheTimeWindowAndTheFuel)
{
    size_t f = 0;
    while (recordOfFrame(f).z < GoalZ)
        ++f;
    // The course starts moving 4 seconds after the game; 60 frames a second.
    double seconds = 4.0 + f / 60.0;
    EXPECT_GE(seconds, 120.0);
    EXPECT_LE(seconds, 210.0);
    EXPECT_LT(seconds, 279.0 - 30.0); // well before the fuel drain that loses the game
}

TEST(LevelCourse, HeroClearsTheGroundEverywhere)
{
    const auto& course = courseRecords();
    double lowest = 1e9;
    for (size_t i = 0; i < course.size(); ++i) {
        // The hero flies 3 below and 12 ahead of the camera.
        World hero = eyeToWorld(course[i], 0.0, -3.0, -12.0);
        World camera = cameraOf(course[i]);
        double clearance = std::min(hero.y - groundHeight(mapX(hero), mapY(hero)),
                                    hero.y - groundHeight(mapX(camera), mapY(camera)));
        lowest = std::min(lowest, clearance);
        ASSERT_GE(clearance, 25.0) << "record " << i << " at map y " << mapY(camera);
    }
    EXPECT_LT(lowest, 60.0); // and it does fly low
}

TEST(LevelCourse, HeroApproachesEachBaseAtRocketHeight)
{
    const auto& course = courseRecords();
    for (int b = 0; b < BaseCount; ++b) {
        if (outOfReach(b))
            continue;
        const layout::Point& base = layout::BasePlaces[b];
        int seen = 0;
        for (const CourseRecord& r : course) {
            World hero = eyeToWorld(r, 0.0, -3.0, -12.0);
            double y = mapY(cameraOf(r));
            if (y < base.y - 200.0 || y > base.y - 60.0)
                continue;
            ++seen;
            EXPECT_GE(hero.y - base.z, 40.0) << "base " << b + 1 << " at map y " << y;
            EXPECT_LE(hero.y - base.z, 70.0) << "base " << b + 1 << " at map y " << y;
        }
        EXPECT_GT(seen, 100) << "base " << b + 1;
    }
}

TEST(LevelCourse, EveryEnemyEngagesInViewAndWithinReach)
{
    for (int e = 0; e < int(std::size(layout::EnemySpawns)); ++e) {
        const layout::Point& spawn = layout::EnemySpawns[e];
        // The line of travel passes over the spawn point.
        double nearest = 1e9;
        for (const CourseRecord& r : courseRecords())
            nearest = std::min(nearest, std::hypot(-r.x - spawn.x, -r.z - spawn.z));
        EXPECT_LE(nearest, 6.0) << "enemy " << e + 1;

        // The enemy by the game's rules: still while far, sinking at one
        // unit a frame once the camera is within 75 along z, stopping at
        // the hero's height, engaging within 30.
        World position{spawn.x, spawn.y, spawn.z};
        double velocityY = 0.0;
        bool engaged = false;
        size_t f = 0;
        const CourseRecord* anchor = nullptr;
        for (; f < 20000 && !engaged; ++f) {
            const CourseRecord& r = recordOfFrame(f);
            double pathY = r.y, pathZ = r.z;
            if (std::fabs(spawn.z + pathZ) > 75.0 && spawn.y <= position.y) {
                velocityY = -1.0;
                continue;
            }
            if (-3.0 - pathY >= position.y)
                velocityY = 0.0;
            position.y += velocityY;
            if (std::fabs(std::fabs(position.z) - std::fabs(pathZ)) <= 30.0) {
                engaged = true;
                anchor = &r;
            }
        }
        ASSERT_TRUE(engaged) << "enemy " << e + 1;
        // Eye space: the turn by the anchor's heading of anchor + position.
        double c = std::cos(anchor->heading * DegToRad), s = std::sin(anchor->heading * DegToRad);
        double px = anchor->x + position.x, py = anchor->y + position.y, pz = anchor->z + position.z;
        double ex = c * px + s * pz, ey = py, ez = -s * px + c * pz;
        EXPECT_LT(ez, -15.0) << "enemy " << e + 1;
        EXPECT_LE(std::fabs(ex), 0.7698 * -ez) << "enemy " << e + 1 << " outside the view sideways";
        EXPECT_LE(std::fabs(ey), 0.5774 * -ez) << "enemy " << e + 1 << " above or below the view: " << ey;
        // Stopped at the hero's height, in the line of its bullets: they
        // hit only a tenth of a unit or two above or below the cabin's middle.
        EXPECT_EQ(velocityY, 0.0) << "enemy " << e + 1 << " still sinking";
        EXPECT_LE(ey, -3.0) << "enemy " << e + 1;
        EXPECT_GE(ey, -3.1) << "enemy " << e + 1;
        // Bullets leave from x -5..5, 3 below and 15 ahead of the eye and
        // turn with the A and D keys up to 40 degrees.
        double muzzleX = std::clamp(ex, -5.0, 5.0);
        double angle = std::atan2(std::fabs(ex - muzzleX), -(ez + 15.0)) / DegToRad;
        EXPECT_LE(angle, 40.0) << "enemy " << e + 1;
        EXPECT_LE(std::hypot(ex - muzzleX, ey + 3.0, ez + 15.0), 141.0) << "enemy " << e + 1;
    }
}

TEST(LevelCourse, EveryBaseInReachPassesWithinRocketRange)
{
    const auto& course = courseRecords();
    for (int b = 0; b < BaseCount; ++b) {
        const layout::Point& base = layout::BasePlaces[b];
        const layout::Point world = layout::worldOfMap(base);
        World target{world.x, world.y, world.z};
        bool inReach = false;
        for (const CourseRecord& r : course) {
            World eye = worldToEye(r, target);
            double heroAbove = eyeToWorld(r, 0.0, -3.0, -12.0).y - base.z;
            // Ahead within a rocket's flight (about 447 units), beside the
            // line of travel by at most 100, from the approach height.
            if (eye.z < -60.0 && eye.z > -440.0 && std::fabs(eye.x) <= 100.0 && heroAbove >= 40.0 &&
                heroAbove <= 70.0) {
                inReach = true;
                break;
            }
        }
        EXPECT_EQ(inReach, !outOfReach(b)) << "base " << b + 1;
    }
}

// The ground's triangles, as the game draws them.
struct GroundMesh {
    std::vector<Mesh> tiles;
    std::vector<std::pair<V3, V3>> bounds;

    GroundMesh()
    {
        for (int part : {1, 2})
            for (const AseObject& tile : buildMap(part).objects) {
                tiles.push_back(tile.mesh);
                bounds.emplace_back();
                tile.mesh.bounds(bounds.back().first, bounds.back().second);
            }
    }

    // The height of the triangle over (x, y), or nothing off the ground.
    std::optional<double> heightAt(double x, double y) const
    {
        for (size_t t = 0; t < tiles.size(); ++t) {
            const auto& [lo, hi] = bounds[t];
            if (x < lo.x - 1e-6 || x > hi.x + 1e-6 || y < lo.y - 1e-6 || y > hi.y + 1e-6)
                continue;
            const Mesh& m = tiles[t];
            for (const Mesh::Face& f : m.faces) {
                V3 a = m.vertices[size_t(f.v[0])], p = m.vertices[size_t(f.v[1])],
                   q = m.vertices[size_t(f.v[2])];
                double d = (p.y - q.y) * (a.x - q.x) + (q.x - p.x) * (a.y - q.y);
                double l1 = ((p.y - q.y) * (x - q.x) + (q.x - p.x) * (y - q.y)) / d;
                double l2 = ((q.y - a.y) * (x - q.x) + (a.x - q.x) * (y - q.y)) / d;
                double l3 = 1.0 - l1 - l2;
                if (l1 >= -1e-9 && l2 >= -1e-9 && l3 >= -1e-9)
                    return l1 * a.z + l2 * p.z + l3 * q.z;
            }
        }
        return std::nullopt;
    }
};

TEST(LevelGround, EveryBaseStandsOnTheGroundAndTheRoadLiesOnIt)
{
    const GroundMesh ground;
    for (int b = 0; b < BaseCount; ++b) {
        const layout::Point& base = layout::BasePlaces[b];
        // Level under its middle and out to the sides of its own pad.
        for (double r : {0.0, 12.0, 23.0})
            for (int a = 0; a < 16; ++a) {
                const double x = base.x + r * std::cos(a * DegToRad * 22.5),
                             y = base.y + r * std::sin(a * DegToRad * 22.5);
                std::optional<double> h = ground.heightAt(x, y);
                ASSERT_TRUE(h) << "base " << b + 1 << " off the terrain";
                EXPECT_NEAR(*h, base.z, 1.5) << "base " << b + 1 << " at " << r << " from its middle";
            }
    }
    // The road 2 units above the ground as drawn: at its corners, the
    // middles of its edges and of its triangles. Where the plateau's slope
    // folds under a triangle of the road a little of it may go under.
    const Mesh road = buildRoad().objects.at(0).mesh;
    int points = 0, within = 0;
    for (const Mesh::Face& f : road.faces)
        for (int k = 0; k < 4; ++k) {
            V3 a = road.vertices[size_t(f.v[k % 3])], b = road.vertices[size_t(f.v[(k + 1) % 3])];
            V3 p = k < 3 ? (a + b) * 0.5
                         : (road.vertices[size_t(f.v[0])] + road.vertices[size_t(f.v[1])] +
                            road.vertices[size_t(f.v[2])]) *
                               (1.0 / 3.0);
            for (V3 q : {a, p}) {
                std::optional<double> h = ground.heightAt(q.x, q.y);
                ASSERT_TRUE(h) << "road off the terrain at " << q.x << ", " << q.y;
                EXPECT_GE(q.z - *h, -1.5) << "road under the ground at " << q.x << ", " << q.y;
                EXPECT_LE(q.z - *h, 5.0) << "road above the ground at " << q.x << ", " << q.y;
                within += q.z - *h >= 1.0 && q.z - *h <= 3.0;
                ++points;
            }
        }
    EXPECT_GT(points, 10000);
    EXPECT_GT(within, points * 997 / 1000);
}

TEST(LevelGround, CoversTheLevelWithAValleyAlongTheCourse)
{
    V3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    size_t faces = 0;
    for (int part : {1, 2}) {
        AseScene map = buildMap(part);
        faces += size_t(map.totalFaces());
        for (const AseObject& tile : map.objects) {
            V3 l, h;
            tile.mesh.bounds(l, h);
            lo = {std::min(lo.x, l.x), std::min(lo.y, l.y), 0};
            hi = {std::max(hi.x, h.x), std::max(hi.y, h.y), 0};
        }
    }
    EXPECT_LE(lo.x, -3000.0);
    EXPECT_GE(hi.x, 4500.0);
    EXPECT_LE(lo.y, -3000.0);
    EXPECT_GE(hi.y, 11500.0);
    EXPECT_LE(faces, 40000u);
    // The floor along the course, away from the bases and the plateau.
    int onFloor = 0, samples = 0;
    for (double y = 0.0; y < 5000.0; y += 50.0, ++samples)
        onFloor += std::fabs(groundHeight(courseCentreX(y), y) + 115.7) < 3.0;
    EXPECT_GT(onFloor, samples * 3 / 4);
    // Hills beside it.
    EXPECT_GT(groundHeight(courseCentreX(2000.0) + 600.0, 2000.0), -40.0);
    // The plateau under the western bases.
    EXPECT_NEAR(groundHeight(546.0, 5900.0), 0.0, 1.0);
}

TEST(LevelSky, EnclosesTheCourseInsideTheFarPlane)
{
    AseScene sky = buildSky();
    double radius = 0.0;
    for (const V3& v : sky.objects[0].mesh.vertices)
        radius = std::max(radius, length(v));
    for (const CourseRecord& r : courseRecords()) {
        // Map coordinates of the camera, from the sphere's centre (the map's
        // origin, about which the game turns the sky).
        World c = cameraOf(r);
        double d = std::hypot(mapX(c), mapY(c), c.y);
        ASSERT_LT(d, radius * 0.9);
        ASSERT_LT(d + radius, 40000.0 * 0.95);
    }
    EXPECT_LE(sky.totalFaces(), 2000);
}

// The game takes the layout's doubles as floats. That gives the float of the
// decimal written in the table unless a double falls exactly halfway between
// two floats, where rounding twice can pick the other one.
TEST(LevelLayout, TheGameTakesEachNumberAsTheFloatOfItsDecimal)
{
    std::vector<double> numbers = {layout::PlacementOffset.x, layout::PlacementOffset.y,
                                   layout::PlacementOffset.z, layout::PlacementTurn, layout::FinishLineZ};
    for (const layout::Point& p : layout::EnemySpawns)
        numbers.insert(numbers.end(), {p.x, p.y, p.z});
    for (const layout::Point& p : layout::BasePlaces)
        numbers.insert(numbers.end(), {p.x, p.y, p.z});
    for (double number : numbers) {
        // The shortest decimal that reads back as the double: the one written.
        char text[32];
        const std::to_chars_result written = std::to_chars(text, text + sizeof text, number);
        float direct = 0.0f;
        std::from_chars(text, written.ptr, direct);
        EXPECT_EQ(static_cast<float>(number), direct) << std::string(text, written.ptr);
    }
}
