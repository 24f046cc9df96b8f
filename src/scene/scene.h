#pragma once

// One ASE file in memory: a flat list of nodes in file order that share one
// vertex array and one face array. parseScene reads it from the file's
// bytes through the ASE reader (ase_reader.cpp), without GL; the drawing
// side loads files and makes the materials' textures (render/scene_loading.h).
// Afterwards only the nodes' matrices and the animation fields change.

#include "math/matrix4.h"
#include "math/vector.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The most a Scene may hold, for all its nodes together. A node that would
// take the Scene past either limit keeps its name, material and transform
// but none of its mesh.
constexpr int MaxSceneVertices = 90000;
constexpr int MaxSceneFaces = 100000;

struct AnimationCursors;

struct Colour4 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
    float w = 0.0f;
};

struct MeshVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// Corners count from the first vertex of the face's own node. The reader
// keeps every corner inside its node's vertices.
struct MeshFace {
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    Vec3 faceNormal;
    Vec3 normalA;
    Vec3 normalB;
    Vec3 normalC;
    TexCoord texA;
    TexCoord texB;
    TexCoord texC;
};

struct Material {
    std::string name;
    // The GL texture of the diffuse bitmap; meaningful only with a bitmap.
    unsigned int textureId = 0;
    Colour4 ambient;
    Colour4 diffuse;
    Colour4 specular;
    float shine = 0.0f;
    // 0 is opaque and lit; anything else is blended and unlit.
    float transparency = 0.0f;
    // As the file names it, possibly a path of the exporting machine; empty
    // means untextured.
    std::string bitmap;
};

// Position or scale keys: values with w = 1, one time per value.
struct KeyTrack {
    std::vector<Vec4> values;
    std::vector<float> times;
    bool present = false;
};

struct RotationTrack {
    bool present = false;
    std::vector<float> angles; // radians
    std::vector<Vec3> axes;
    std::vector<float> times;
};

struct SceneNode {
    KeyTrack scaleTrack;
    RotationTrack rotationTrack;
    KeyTrack positionTrack;
    std::string parentName;
    int32_t parentIndex = -1;
    float rotationAngle = 0.0f;
    Vec3 rotationAxis;
    bool hasParent = false;
    Vec4 position{0.0f, 0.0f, 0.0f, 1.0f};
    // Applied by the drawing on top of the caller's modelview.
    Matrix4 worldMatrix;
    // The completed animation steps so far.
    Matrix4 animationMatrix;
    // The node's frame from the file: the pivot for turning and scaling it.
    Matrix4 nodeMatrix;
    std::string name;
    int32_t vertexCount = 0;
    int32_t faceCount = 0;
    // A copy of the material its MATERIAL_REF names (that is number
    // materialIndex of the Scene's list), or the default, -1.
    Material material;
    int32_t materialIndex = -1;
    std::vector<int32_t> children;
};

class Scene {
  public:
    // Nothing read yet.
    Scene();
    // Hands the textures this Scene's materials made to releaseTextures.
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Scenes made and not yet deleted in the process: a leak shows here.
    static int alive();

    // The first node of that exact name, or null.
    SceneNode* findNode(std::string name);

    // One animation step with these key cursors: see animation.h.
    void update(AnimationCursors& cursors);

    bool restartPending = false;
    bool animationEnded = false;
    float animationTime = 0.0f;
    std::string name;
    uint32_t nodeCount = 0;
    std::vector<SceneNode> nodes;
    int32_t totalVertices = 0;
    int32_t totalFaces = 0;
    // Exactly totalVertices and totalFaces entries, or none once the
    // game has put them into display lists and let them go (the counts
    // stay).
    std::vector<MeshVertex> vertices;
    std::vector<MeshFace> faces;
    // The file's material list, in file order.
    std::vector<Material> materials;
    // What the reader dropped, cut or replaced, one line each; none for a
    // sound file.
    std::vector<std::string> warnings;

    // Every GL texture made for this Scene's materials, each once, and
    // what frees them when the Scene goes (set by whoever made them).
    // A Scene read without GL has none yet: texturesMade tells.
    std::vector<unsigned int> ownedTextures;
    void (*releaseTextures)(const std::vector<unsigned int>& textures) = nullptr;
    bool texturesMade = false;

    // The nodes' triangles as GL display lists, drawListCount of them from
    // drawListBase (0: none; the drawing then sends the triangles itself),
    // made with the textures, and what frees them when the Scene goes.
    unsigned int drawListBase = 0;
    int32_t drawListCount = 0;
    // With the lists, each node's box round its vertices (in the node's
    // own coordinates): lowest x, y, z, then highest.
    std::vector<std::array<float, 6>> drawListBoxes;
    void (*releaseDrawLists)(unsigned int base, int32_t count) = nullptr;
};

class AseText;

// Reads a Scene from the bytes of an ASE file, whatever they hold: what
// cannot be read is left out and said in `warnings`. `openBlocks` (if
// given) receives the number of blocks the text left open, as a cut file
// does.
std::unique_ptr<Scene> parseScene(std::string_view bytes, std::string name, int* openBlocks = nullptr);
std::unique_ptr<Scene> parseScene(const AseText& text, std::string name, int* openBlocks = nullptr);
