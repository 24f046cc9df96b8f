#include "level_data.h"

#include "numfmt.h"
#include "random.h"
#include "world/level_layout.h"

#include <algorithm>
#include <cmath>

// Base 10 lies 360 units left of the line that joins enemies 9, 10 and 11;
// the plateau bases 13, 14 and 18 lie 400 to 500 units left of the valley
// that bases 12 and 17 mark; base 16 stands 265 units beside base 19 at
// the same distance along the valley; bases 20 to 22 lie 900 to 1200
// units beyond the goal, where the course ends.
const std::vector<int> BasesOutOfReach = {9, 12, 13, 15, 17, 19, 20, 21};

namespace {

constexpr double StartMapY = layout::mapYOfProgress(24.0); // the game's start PathZ of 24
constexpr double StartMapX = layout::mapXOfWorldX(0.0);    // PathX 0

// The valley's centre line: through every enemy's spawn point, beside the
// bases it can reach, smooth in heading.
struct Waypoint {
    double y, x;
};
const Waypoint Line[] = {
    {-400, StartMapX},    {StartMapY, StartMapX},
    {60, StartMapX},      {347, -339.63565},
    {512.5, -280.531796}, {615, -236.595516},
    {745, -215},          {1000, -120},
    {1368.8, 19.7},       {1500, 18},
    {2300, 280},          {2861, 396.2063},
    {3069, 432.5565},     {3133.433, 441.41425},
    {3199, 470},          {3263.4, 500},
    {3600, 560},          {3930, 551.9642},
    {4060, 515},          {4378.289, 706.00433},
    {4700, 830},          {5076, 900.5775},
    {5206, 905},          {5384, 945},
    {5800, 1060},         {6259, 1140},
    {6511, 968},          {6995, 1285},
    {7198, 1345},         {7500, 1390},
    {9000, 1560},         {12000, 1700},
};
constexpr int LinePoints = sizeof(Line) / sizeof(Line[0]);

// Cubic Hermite through the waypoints, tangents from the neighbours.
double slopeAt(int i)
{
    if (i == 0)
        return (Line[1].x - Line[0].x) / (Line[1].y - Line[0].y);
    if (i == LinePoints - 1)
        return (Line[i].x - Line[i - 1].x) / (Line[i].y - Line[i - 1].y);
    double a = (Line[i].x - Line[i - 1].x) / (Line[i].y - Line[i - 1].y);
    double b = (Line[i + 1].x - Line[i].x) / (Line[i + 1].y - Line[i].y);
    // Weighted by the neighbouring spans, so short spans do not overshoot.
    double wa = Line[i + 1].y - Line[i].y, wb = Line[i].y - Line[i - 1].y;
    return (a * wa + b * wb) / (wa + wb);
}

double smoothstep(double e0, double e1, double x)
{
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

bool reachable(int base)
{
    return std::find(BasesOutOfReach.begin(), BasesOutOfReach.end(), base) == BasesOutOfReach.end();
}

// Approach windows: from 250 units before a reachable base until 30
// before it the hero flies 40 to 70 units above that base's ground.
constexpr double ApproachFrom = 250.0, ApproachTo = 30.0;
constexpr double ValleyCruise = -62.0;

double approachTarget(double y, bool& constrained)
{
    double lo = -1e9, hi = 1e9;
    constrained = false;
    for (int b = 0; b < int(std::size(layout::BasePlaces)); ++b) {
        if (!reachable(b))
            continue;
        const layout::Point& base = layout::BasePlaces[b];
        if (y >= base.y - ApproachFrom && y <= base.y - ApproachTo) {
            lo = std::max(lo, base.z + 44.0);
            hi = std::min(hi, base.z + 66.0);
            constrained = true;
        }
    }
    return constrained ? 0.5 * (lo + hi) : ValleyCruise;
}

} // namespace

double courseCentreX(double y)
{
    if (y <= Line[0].y)
        return Line[0].x;
    if (y >= Line[LinePoints - 1].y)
        return Line[LinePoints - 1].x;
    int i = 0;
    while (Line[i + 1].y < y)
        ++i;
    double h = Line[i + 1].y - Line[i].y, t = (y - Line[i].y) / h;
    double h00 = 2 * t * t * t - 3 * t * t + 1, h10 = t * t * t - 2 * t * t + t;
    double h01 = -2 * t * t * t + 3 * t * t, h11 = t * t * t - t * t;
    return h00 * Line[i].x + h10 * h * slopeAt(i) + h01 * Line[i + 1].x + h11 * h * slopeAt(i + 1);
}

namespace {

// The highest ground under the line of travel just behind and ahead.
double groundBelow(double y)
{
    double top = -1e9;
    for (double dy : {-20.0, 0.0, 20.0, 40.0})
        for (double dx : {-14.0, 0.0, 14.0})
            top = std::max(top, groundHeight(courseCentreX(y + dy) + dx, y + dy));
    return top;
}

// The hero's height on a 5-unit table: the approach targets, never less
// than 38 above the ground below, then averaged over 60 units so climbs
// and descents are gentle, and never less than 30 above the ground after.
struct HeightTable {
    static constexpr double From = -500.0, Step = 5.0;
    std::vector<double> values;

    HeightTable()
    {
        std::vector<double> raw, floor;
        for (double y = From; y <= 12100.0; y += Step) {
            bool c;
            floor.push_back(groundBelow(y));
            raw.push_back(std::max(approachTarget(y, c), floor.back() + 38.0));
        }
        const int reach = 6; // 30 units either side
        for (size_t i = 0; i < raw.size(); ++i) {
            double sum = 0.0;
            int n = 0;
            for (int k = -reach; k <= reach; ++k) {
                long j = std::clamp(long(i) + k, 0L, long(raw.size()) - 1);
                sum += raw[size_t(j)];
                ++n;
            }
            values.push_back(std::max(sum / n, floor[i] + 30.0));
        }
    }

    double at(double y) const
    {
        double f = std::clamp((y - From) / Step, 0.0, double(values.size() - 1));
        size_t i = std::min(size_t(f), values.size() - 2);
        double t = f - double(i);
        return values[i] + (values[i + 1] - values[i]) * t;
    }
};

} // namespace

double heroHeight(double y)
{
    static const HeightTable table;
    // Eased in from the start height (the camera at 0).
    double start = smoothstep(StartMapY, StartMapY + 260.0, y);
    return -3.0 + (table.at(y) + 3.0) * start;
}

double groundHeight(double x, double y)
{
    constexpr double Floor = -115.7;
    double d = std::fabs(x - courseCentreX(y));
    // The valley: a flat floor along the course, hills rising beyond it.
    double hills = 150.0 + 120.0 * fractalNoise(x / 700.0, y / 700.0, 4, 7);
    double ripple = 3.0 * fractalNoise(x / 90.0, y / 90.0, 2, 11);
    double h = Floor + smoothstep(110.0, 330.0, d) * hills + smoothstep(30.0, 110.0, d) * ripple;

    // The plateau the western bases stand on, at 0.
    const layout::Point* p13 = &layout::BasePlaces[12];
    const layout::Point* p18 = &layout::BasePlaces[17];
    const layout::Point* segments[3][2] = {
        {p13, p18}, {p18, &layout::BasePlaces[13]}, {p18, &layout::BasePlaces[14]}};
    double dp = 1e9;
    for (auto& s : segments) {
        double ax = s[0]->x, ay = s[0]->y, bx = s[1]->x, by = s[1]->y;
        double t = std::clamp(((x - ax) * (bx - ax) + (y - ay) * (by - ay)) /
                                  ((bx - ax) * (bx - ax) + (by - ay) * (by - ay)),
                              0.0, 1.0);
        dp = std::min(dp, std::hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay))));
    }
    // The hills round it stay below it, so it stands up as a mesa.
    h = std::min(h, -40.0 + 400.0 * smoothstep(170.0, 460.0, dp));
    double plateau = 1.0 - smoothstep(70.0, 160.0, dp);
    h = h + (0.0 - h) * plateau;

    // Every base on level ground at its own height.
    for (const layout::Point& b : layout::BasePlaces) {
        double w = 1.0 - smoothstep(72.0, 130.0, std::hypot(x - b.x, y - b.y));
        h = h + (b.z - h) * w;
    }
    return h;
}
