#pragma once

// The ASE reader: the nodes, materials and mesh arrays of one ASE text, and
// a warning for everything it had to drop, cut or replace. It makes no GL
// texture and shows nothing; scene.cpp loads files and textures around it.

class AseText;
class Scene;

// Reads into a Scene that has read nothing yet. Gives the number of blocks
// left open where the text ended: more than 0 for a file cut short. Without
// quick reads every token is cut and converted one at a time, by the C
// library's rules: the same Scene, more slowly (the tests compare them).
int readAse(const AseText& text, Scene& scene, bool quickReads = true);
