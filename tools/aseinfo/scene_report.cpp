#include "scene_report.h"

#include "render/texture_registry.h"
#include "scene/scene.h"

namespace {

void printColour(std::FILE* out, const char* label, const Colour4& c)
{
    std::fprintf(out, " %s %.4g %.4g %.4g", label, c.r, c.g, c.b);
}

} // namespace

void printScene(std::FILE* out, const Scene& scene)
{
    for (size_t i = 0; i < scene.nodes.size(); ++i) {
        const SceneNode& node = scene.nodes[i];
        std::fprintf(out, "  node %zu \"%s\"", i, node.name.c_str());
        if (node.hasParent)
            std::fprintf(out, " parent \"%s\" (%d)", node.parentName.c_str(), node.parentIndex);
        std::fprintf(out, " vertices %d faces %d\n", node.vertexCount, node.faceCount);
        const Material& m = node.material;
        std::fprintf(out, "    material \"%s\"", m.name.c_str());
        printColour(out, "ambient", m.ambient);
        printColour(out, "diffuse", m.diffuse);
        printColour(out, "specular", m.specular);
        std::fprintf(out, " shine %.4g transparency %.4g\n", m.shine, m.transparency);
        if (!m.bitmap.empty())
            std::fprintf(out, "    bitmap \"%s\" %s\n", m.bitmap.c_str(),
                         GameTextures.find(m.bitmap) ? "resolved" : "not found");
        std::fprintf(out, "    tracks position %zu rotation %zu scale %zu\n", node.positionTrack.times.size(),
                     node.rotationTrack.times.size(), node.scaleTrack.times.size());
    }
    std::fprintf(out, "  total nodes %u vertices %d faces %d\n", scene.nodeCount, scene.totalVertices,
                 scene.totalFaces);
}
