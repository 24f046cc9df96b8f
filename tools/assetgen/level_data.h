#pragma once

#include <string>
#include <vector>

// The level's fixed tables and the course and ground made to fit them.
// Map coordinates: x east, y along the valley, z up; the game places them
// in its world as (x + 270, z, -y - 130).

struct Point3 {
    double x, y, z;
};

// Where the game puts the eleven enemy helicopters (in its world
// coordinates) and the twenty-two bases (map coordinates), in its order.
extern const Point3 EnemySpawns[11];
extern const Point3 BaseSpawns[22];

// Map y of a world z and back.
inline double mapYOfWorldZ(double worldZ) { return -worldZ - 130.0; }
inline double mapXOfWorldX(double worldX) { return worldX - 270.0; }

// One course record as the file carries it: the camera's world position is
// (-x, -y, -z) and its heading is in degrees, positive turning right.
struct CourseRecord {
    double x, y, z, heading;
};

// The course, from the game's start values (0, 0, 24, heading 0) to a
// little beyond the goal at z = 7328.
const std::vector<CourseRecord>& courseRecords();
// The file: one leading token, then one record per line.
std::string courseText();

// The valley's centre line: map x at map y.
double courseCentreX(double mapY);
// The hero's height (map z) the course flies at, by map y.
double heroHeight(double mapY);

// The ground's height at a map point, as the terrain meshes sample it.
double groundHeight(double x, double y);

// Bases (0-based) that no smooth course through every enemy can bring
// within a rocket's reach; the course does not try.
extern const std::vector<int> BasesOutOfReach;
