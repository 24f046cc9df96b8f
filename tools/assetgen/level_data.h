#pragma once

#include <string>
#include <vector>

// The course and ground made to fit the level's layout (the enemies, the
// bases and the world placement in world/level_layout.h, shared with the
// game). Map coordinates: x east, y along the valley, z up.

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
// The height of the terrain's triangles over a map point: the ground as
// drawn, between its samples (groundHeight off the grid).
double drawnGroundHeight(double x, double y);

// Bases (0-based) that no smooth course through every enemy can bring
// within a rocket's reach; the course does not try.
extern const std::vector<int> BasesOutOfReach;
