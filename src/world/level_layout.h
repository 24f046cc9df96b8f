#pragma once

// The level's layout: where the enemy helicopters wait, where the military
// bases stand, how the map is placed in the world and where the course
// ends. The game, the asset generator, the model renderer and the level
// tests all read it from here, so it needs nothing but the standard library.
//
// The numbers are doubles, as the asset generator computes with them. The
// game takes each one as a float with static_cast<float>, which gives the
// float nearest the decimal written here as long as the double does not
// fall exactly halfway between two floats; none of these does.

#include <iterator>

namespace layout {

struct Point {
    double x, y, z;
};

// Where the enemy helicopters wait, in world coordinates, in the order they
// are met.
inline constexpr Point EnemySpawns[] = {
    {-69.63565, 30.0, -477.0},       {-10.531796, 30.0, -642.5},      {33.404484, 30.0, -745.0},
    {289.89996, 30.0, -1500.626},    {289.52423, 30.0, -1497.0},      {666.2063, 74.0999, -2991.0},
    {702.5565, 74.0999, -3199.0},    {711.41425, 74.0999, -3263.433}, {821.9642, 74.0999, -4060.0},
    {976.00433, 133.499, -4508.289}, {1170.5775, 98.39953, -5206.0},
};
static_assert(std::size(EnemySpawns) == 11);

// The bases in map coordinates; the first eleven lie under the enemies
// (map y = -z of the enemy).
inline constexpr Point BasePlaces[] = {
    {-360.9, 477.0, -115.0},  {-191.0, 642.5, -115.7},  {-191.0, 745.0, -115.7},  {-53.0, 1500.626, -107.42},
    {87.0, 1497.0, -107.42},  {444.78, 2991.0, -100.0}, {557.0, 3199.0, -115.0},  {537.7, 3263.433, -115.7},
    {437.5, 4060.0, -107.0},  {344.0, 4508.289, -90.0}, {845.5, 5206.0, -115.7},  {1001.0, 5384.0, -115.7},
    {543.9, 5537.0, 0.0},     {446.0, 6331.0, 0.0},     {877.0, 6511.0, 0.0},     {1550.0, 6955.0, -107.0},
    {1211.0, 6259.0, -105.0}, {546.0, 6313.0, 0.0},     {1285.0, 6995.0, -105.0}, {1558.0, 8102.7, -115.7},
    {1713.9, 8280.9, -115.7}, {1706.0, 8383.0, -115.7},
};
static_assert(std::size(BasePlaces) == 22);

// The map was modelled with x east, y along the valley and z up, its origin
// away from the course's start. The world placement stands it upright with a
// turn of PlacementTurn degrees about x, then moves it by PlacementOffset:
// map (x, y, z) lies at world (x + 270, z, -y - 130).
inline constexpr Point PlacementOffset = {270.0, 0.0, -130.0};
inline constexpr double PlacementTurn = -90.0;

constexpr double worldXOfMapX(double mapX) { return mapX + PlacementOffset.x; }
constexpr double worldZOfMapY(double mapY) { return -mapY + PlacementOffset.z; }
constexpr double mapXOfWorldX(double worldX) { return worldX - PlacementOffset.x; }
constexpr double mapYOfWorldZ(double worldZ) { return -worldZ + PlacementOffset.z; }
constexpr Point worldOfMap(Point map)
{
    return {worldXOfMapX(map.x), map.z + PlacementOffset.y, worldZOfMapY(map.y)};
}

// The course's progress (the game's PathZ) runs against world z: at
// progress p the camera stands at world z -p, over map y p - 130.
constexpr double mapYOfProgress(double progress) { return progress + PlacementOffset.z; }
constexpr double progressOfMapY(double mapY) { return mapY - PlacementOffset.z; }

// The course is finished once its progress reaches this.
inline constexpr double FinishLineZ = 7328.0;

} // namespace layout
