#pragma once

#include <string>

// An ASE text as 3ds Max writes it: `objects` grid meshes of
// 2 * cells * cells faces each, with texture faces and normals, and one
// untextured material.
std::string generateAse(int objects, int cells);
