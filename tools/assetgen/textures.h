#pragma once

#include "image.h"

// The pictures the world is painted with, drawn from noise with fixed
// seeds. File names as the materials name them (under Textures/).
constexpr const char* GroundTexture = "ground.png";
constexpr const char* RoadTexture = "road.png";
constexpr const char* SkyTexture = "sky.png";

Image groundImage(); // 512 by 512, tiles seamlessly
Image roadImage();   // 64 by 256: asphalt, kerbs, a dashed centre line; v along the road
Image skyImage();    // 1024 by 512, wrapped round a sphere: clouds all round
