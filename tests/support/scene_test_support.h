#pragma once

// Helpers for the scene, texture and drawing tests: a scratch directory that
// is the current directory while it lives, and ASE texts and TGA pictures
// written into it.

#include "scene/scene.h"
#include "world/scene_files.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace scenetest {

class ScratchDir {
  public:
    ScratchDir()
    {
        char pattern[] = "/tmp/kestrava-scene-XXXXXX";
        path_ = mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~ScratchDir()
    {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::filesystem::path previous_;
};

// Builds a German locale (decimal comma) in `dir` and makes it the
// process's locale; false when this machine cannot build one.
inline bool useDecimalCommaLocale(const std::string& dir)
{
    std::string command = "localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(dir + "/de_DE.UTF-8"))
        return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

struct Pixel {
    uint8_t r, g, b, a;
};

// An uncompressed TGA, rows given from the top: 32-bit, or 24-bit without
// the alpha channel.
inline std::string tga(int width, int height, const std::vector<Pixel>& topDown, bool alpha = true)
{
    std::string out(18, '\0');
    out[2] = 2;
    out[12] = static_cast<char>(width);
    out[14] = static_cast<char>(height);
    out[16] = alpha ? 32 : 24;
    out[17] = alpha ? 0x28 : 0x20; // top-left origin, the alpha bits
    for (const Pixel& p : topDown) {
        out += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
        if (alpha)
            out += static_cast<char>(p.a);
    }
    return out;
}

// Writes the text as test.ASE in the current directory and reads it.
inline std::unique_ptr<Scene> loadText(const std::string& text, const std::string& file = "test.ASE")
{
    writeFile(file, text);
    return loadSceneFile(file);
}

// A GEOMOBJECT with a square of four vertices at x offset `dx` and the
// given faces; `tail` ends the object (a MATERIAL_REF or WIREFRAME_COLOR).
inline std::string squareObject(const std::string& name, float dx, const std::string& faces, int faceCount,
                                const std::string& tail, const std::string& extra = "")
{
    auto num = [](float v) { return std::to_string(v); };
    return "*GEOMOBJECT {\n"
           "\t*NODE_NAME \"" +
           name +
           "\"\n"
           "\t*NODE_TM {\n\t\t*NODE_NAME \"" +
           name +
           "\"\n"
           "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000\n\t\t*TM_ROW1 0.0000\t1.0000\t0.0000\n"
           "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000\n\t\t*TM_ROW3 " +
           num(dx) +
           "\t0.0000\t0.0000\n"
           "\t\t*TM_POS " +
           num(dx) +
           "\t0.0000\t0.0000\n"
           "\t\t*TM_ROTAXIS 0.0000\t0.0000\t0.0000\n\t\t*TM_ROTANGLE 0.0000\n\t}\n"
           "\t*MESH {\n\t\t*TIMEVALUE 0\n\t\t*MESH_NUMVERTEX 4\n\t\t*MESH_NUMFACES " +
           std::to_string(faceCount) +
           "\n"
           "\t\t*MESH_VERTEX_LIST {\n"
           "\t\t\t*MESH_VERTEX    0\t" +
           num(dx) +
           "\t0.0000\t0.0000\n"
           "\t\t\t*MESH_VERTEX    1\t" +
           num(dx + 1) +
           "\t0.0000\t0.0000\n"
           "\t\t\t*MESH_VERTEX    2\t" +
           num(dx + 1) +
           "\t1.0000\t0.0000\n"
           "\t\t\t*MESH_VERTEX    3\t" +
           num(dx) +
           "\t1.0000\t0.0000\n"
           "\t\t}\n"
           "\t\t*MESH_FACE_LIST {\n" +
           faces + "\t\t}\n" + extra + "\t}\n" + tail + "}\n";
}

// Every field of two Scenes, floats bit for bit; empty when they agree.
inline std::string difference(const Scene& a, const Scene& b)
{
    // Empty arrays may have null data, which memcmp must not see.
    auto same = [](const void* x, const void* y, size_t bytes) {
        return bytes == 0 || std::memcmp(x, y, bytes) == 0;
    };
    if (a.nodeCount != b.nodeCount || a.nodes.size() != b.nodes.size())
        return "node counts";
    if (a.vertices.size() != b.vertices.size() || a.faces.size() != b.faces.size())
        return "array sizes";
    if (!same(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(MeshVertex)))
        return "vertices";
    if (!same(a.faces.data(), b.faces.data(), a.faces.size() * sizeof(MeshFace)))
        return "faces";
    if (a.warnings != b.warnings)
        return "warnings";
    if (a.materials.size() != b.materials.size())
        return "material counts";
    for (size_t i = 0; i < a.nodes.size(); ++i) {
        const SceneNode& x = a.nodes[i];
        const SceneNode& y = b.nodes[i];
        const Material& m = x.material;
        const Material& n = y.material;
        if (x.name != y.name || x.parentName != y.parentName || x.parentIndex != y.parentIndex ||
            x.children != y.children || x.vertexCount != y.vertexCount || x.faceCount != y.faceCount ||
            x.materialIndex != y.materialIndex ||
            !same(x.nodeMatrix.m, y.nodeMatrix.m, sizeof x.nodeMatrix.m) ||
            !same(&x.position, &y.position, sizeof x.position) ||
            !same(&x.rotationAxis, &y.rotationAxis, sizeof(Vec3)) ||
            !same(&x.rotationAngle, &y.rotationAngle, sizeof(float)))
            return "node " + std::to_string(i);
        if (m.name != n.name || m.bitmap != n.bitmap || !same(&m.ambient, &n.ambient, sizeof(Colour4)) ||
            !same(&m.diffuse, &n.diffuse, sizeof(Colour4)) ||
            !same(&m.specular, &n.specular, sizeof(Colour4)) || !same(&m.shine, &n.shine, sizeof(float)) ||
            !same(&m.transparency, &n.transparency, sizeof(float)))
            return "material of node " + std::to_string(i);
        auto sameTrack = [&](const KeyTrack& s, const KeyTrack& t) {
            return s.present == t.present && s.values.size() == t.values.size() && s.times == t.times &&
                   same(s.values.data(), t.values.data(), s.values.size() * sizeof(Vec4));
        };
        const RotationTrack& r = x.rotationTrack;
        const RotationTrack& q = y.rotationTrack;
        if (!sameTrack(x.positionTrack, y.positionTrack) || !sameTrack(x.scaleTrack, y.scaleTrack) ||
            r.present != q.present || r.angles != q.angles || r.times != q.times ||
            r.axes.size() != q.axes.size() ||
            !same(r.axes.data(), q.axes.data(), r.axes.size() * sizeof(Vec3)))
            return "tracks of node " + std::to_string(i);
    }
    return {};
}

inline std::string face(int label, int a, int b, int c)
{
    return "\t\t\t*MESH_FACE    " + std::to_string(label) + ":    A:    " + std::to_string(a) +
           " B:    " + std::to_string(b) + " C:    " + std::to_string(c) +
           " AB:    1 BC:    1 CA:    0\t *MESH_SMOOTHING 1 \t*MESH_MTLID 0\n";
}

} // namespace scenetest
