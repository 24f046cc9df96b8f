#include "render/scene_loading.h"

#include "render/texture_registry.h"

#include <GL/gl.h>

#include <vector>

namespace {

// Never destroyed: scenes held by globals go at the process's end, in any
// order with this file's statics.
std::vector<unsigned int>& retiredTextures()
{
    static auto* textures = new std::vector<unsigned int>;
    return *textures;
}

void retireTextures(const std::vector<unsigned int>& textures)
{
    retiredTextures().insert(retiredTextures().end(), textures.begin(), textures.end());
}

// Display lists as first and count.
std::vector<std::pair<unsigned int, int32_t>>& retiredLists()
{
    static auto* lists = new std::vector<std::pair<unsigned int, int32_t>>;
    return *lists;
}

void retireLists(unsigned int base, int32_t count) { retiredLists().emplace_back(base, count); }

} // namespace

void decodeSceneImages(Scene& scene)
{
    for (const Material& material : scene.materials)
        if (!material.bitmap.empty())
            GameTextures.load(material.bitmap, material.bitmap);
}

std::vector<DecodedTexture> decodeSceneImagesAside(const Scene& scene, std::set<std::string>* decodedNames)
{
    std::vector<DecodedTexture> images;
    for (const Material& material : scene.materials) {
        // A name that failed gives the same report however often it is
        // tried: once a batch is enough.
        if (material.bitmap.empty() || !decodedNames->insert(material.bitmap).second)
            continue;
        images.push_back(decodeTexture(material.bitmap));
    }
    return images;
}

void addDecodedImages(std::vector<DecodedTexture> images)
{
    for (DecodedTexture& image : images)
        if (!GameTextures.find(image.name))
            GameTextures.add(std::move(image));
}

void uploadSceneTextures(Scene& scene)
{
    if (scene.texturesMade)
        return;
    for (Material& material : scene.materials) {
        if (material.bitmap.empty())
            continue;
        material.textureId = uploadTexture(material.bitmap);
        if (material.textureId != 0)
            scene.ownedTextures.push_back(material.textureId);
    }
    for (SceneNode& node : scene.nodes)
        if (node.materialIndex >= 0)
            node.material.textureId = scene.materials[node.materialIndex].textureId;
    scene.releaseTextures = retireTextures;
    scene.texturesMade = true;
    makeSceneDrawLists(scene);
    if (scene.drawListBase != 0)
        scene.releaseDrawLists = retireLists;
}

void deleteRetiredTextures()
{
    for (const auto& [base, count] : retiredLists())
        glDeleteLists(base, count);
    retiredLists().clear();
    std::vector<unsigned int>& textures = retiredTextures();
    if (textures.empty())
        return;
    glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
    textures.clear();
}
