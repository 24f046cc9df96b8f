#include "level_data.h"
#include "numfmt.h"
#include "world/level_layout.h"

#include <algorithm>
#include <cmath>

// The course: records two a frame at normal speed, so a record spacing of
// s moves the camera 2 s a frame. It eases away from the start, cruises,
// and slows before each enemy so that the enemy, which starts sinking
// toward the hero's height when the camera comes within 75 units of it
// along z, is down in view when it engages at 30 units.

namespace {

constexpr double StartPathZ = 24.0;
constexpr double EndPathZ = layout::FinishLineZ + 60.0;
constexpr double Cruise = 1.0; // units a frame

double smoothstep(double e0, double e1, double x)
{
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Frames a frame's worth of travel along z may take at most near enemy e.
double speedAt(double pathZ)
{
    double v = Cruise * std::max(0.04, smoothstep(StartPathZ, StartPathZ + 160.0, pathZ));
    for (const layout::Point& e : layout::EnemySpawns) {
        double enemyZ = -e.z;
        // The hero's height where the enemy engages, 30 units short of it.
        double hero = heroHeight(layout::mapYOfProgress(enemyZ - 30.0));
        double sink = std::max(1.0, e.y - hero + 6.0);
        double slow = std::min(Cruise, 45.0 / sink);
        double w = smoothstep(enemyZ - 100.0, enemyZ - 84.0, pathZ) *
                   (1.0 - smoothstep(enemyZ - 26.0, enemyZ - 12.0, pathZ));
        v = std::min(v, Cruise + (slow - Cruise) * w);
    }
    return v;
}

// An enemy sinks a whole unit a frame and stops at the first frame it is at
// or below the hero's height, so it can stop up to a unit below the hero,
// under the line of the hero's bullets. While an enemy sinks the camera
// holds a height at which it stops just 0.03 below the hero: the height
// nearest the hero's own for which (enemy height - camera height + 3) lies
// 0.03 short of a whole number. Its weight at a progress along the course.
double holdWeight(double pathZ, double enemyZ)
{
    return smoothstep(enemyZ - 100.0, enemyZ - 80.0, pathZ) *
           (1.0 - smoothstep(enemyZ - 28.0, enemyZ - 10.0, pathZ));
}

double cameraHeightAt(double y)
{
    const double pathZ = layout::progressOfMapY(y);
    double height = heroHeight(y) + 3.0;
    for (const layout::Point& e : layout::EnemySpawns) {
        const double enemyZ = -e.z;
        const double w = holdWeight(pathZ, enemyZ);
        if (w == 0.0)
            continue;
        const double nominal = heroHeight(layout::mapYOfProgress(enemyZ - 50.0)) + 3.0;
        const double above = e.y + 3.0 - nominal; // how far the enemy sinks
        const double held = e.y + 3.0 - (std::round(above - 0.97) + 0.97);
        height += (held - height) * w;
    }
    return height;
}

std::vector<CourseRecord> generate()
{
    std::vector<CourseRecord> records;
    double y = layout::mapYOfProgress(StartPathZ);
    // The first record is the game's start pose; the game passes over it.
    records.push_back({0.0, 0.0, StartPathZ, 0.0});
    while (layout::progressOfMapY(y) < EndPathZ) {
        double step = speedAt(layout::progressOfMapY(y)) * 0.5;
        double slope = (courseCentreX(y + 0.5) - courseCentreX(y - 0.5));
        y += step / std::sqrt(1.0 + slope * slope);
        double x = courseCentreX(y);
        slope = courseCentreX(y + 0.5) - courseCentreX(y - 0.5);
        double heading = std::atan(slope) * 180.0 / 3.14159265358979;
        double cameraHeight = cameraHeightAt(y);
        records.push_back({-layout::worldXOfMapX(x), -cameraHeight, layout::progressOfMapY(y), heading});
    }
    return records;
}

} // namespace

const std::vector<CourseRecord>& courseRecords()
{
    static const std::vector<CourseRecord> records = generate();
    return records;
}

std::string courseText()
{
    std::string text = "Kestrava\n";
    for (const CourseRecord& r : courseRecords()) {
        text += fixed(r.x, 2) + ' ' + fixed(r.y, 2) + ' ' + fixed(r.z, 2) + ' ' + fixed(r.heading, 2) + '\n';
    }
    return text;
}
