#pragma once

#include <cstdio>

class Scene;

// The Scene as stable text: nodes in order, then the totals.
void printScene(std::FILE* out, const Scene& scene);
