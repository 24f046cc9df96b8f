#pragma once

#include "mesh.h"

#include <string>
#include <vector>

struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;
};

struct AseMaterial {
    std::string name; // one word: the game's reader cuts names at blanks
    Rgb ambient;
    Rgb diffuse;
    Rgb specular;
    double shine = 0.1;
    // 0 draws lit and opaque; anything else draws unlit, blended, with
    // alpha 1 - transparency.
    double transparency = 0.0;
    // A texture under Textures/, by bare file name; empty for none.
    std::string bitmap;
};

// One key of the animation. Times are in ticks (160 a frame); a key at time
// 0 is the rest pose and is never played.
struct PositionKey {
    int time = 0;
    V3 value; // in the node's frame, from the rest position
};
struct RotationKey {
    int time = 0;
    V3 axis;            // in the node's frame
    double angle = 0.0; // radians, turned during this key's step
};

struct AseObject {
    std::string name;   // one word
    std::string parent; // empty for none
    // The node's pivot frame (axes and origin in world coordinates); the
    // game turns and scales the node about it.
    Affine tm;
    Mesh mesh; // world coordinates, at least one face
    int material = 0;
    std::vector<PositionKey> positionKeys;
    std::vector<RotationKey> rotationKeys;
};

struct AseScene {
    std::string fileName; // for the header only
    std::vector<AseMaterial> materials;
    std::vector<AseObject> objects;
    int lastFrame = 100;

    int addMaterial(const AseMaterial& m);
    AseObject& addObject(const std::string& name, const Mesh& mesh, int material,
                         const Affine& tm = Affine());
    AseObject* find(const std::string& name);
    const AseObject* find(const std::string& name) const;
    int totalVertices() const;
    int totalFaces() const;
};

// The text of the file in the exporter's layout and order, which is the
// order the game's reader needs.
std::string writeAse(const AseScene& scene);
