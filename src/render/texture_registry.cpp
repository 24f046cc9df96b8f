#include "render/texture_registry.h"

#include "platform/platform.h"
#include "scene/damaged_files.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

TextureRegistry GameTextures;

namespace {

bool fileExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

// Where the game looked last for a texture it did not find.
std::string texturePlace(const std::string& fileName)
{
    size_t cut = fileName.find_last_of("\\/");
    return "Textures/" + (cut == std::string::npos ? fileName : fileName.substr(cut + 1));
}

} // namespace

bool TextureUploads = true;

std::string resolveTexturePath(const std::string& fileName, const std::string& currentDir)
{
    if (fileExists(fileName))
        return fileName;
    // Both separators: the exporting machine's backslash and this one's
    // slash.
    size_t cut = fileName.find_last_of("\\/");
    std::string part = cut == std::string::npos ? fileName : fileName.substr(cut + 1);
    if (currentDir.empty())
        return {};
    std::string candidate = currentDir + "/Textures/" + part;
    return fileExists(candidate) ? candidate : std::string();
}

bool TextureRegistry::load(std::string key, std::string fileName)
{
    if (fileName.empty())
        return false;
    if (images_.count(fileName))
        return true;
    std::error_code error;
    std::string currentDir = std::filesystem::current_path(error).string();
    if (error)
        currentDir.clear();
    std::string path = resolveTexturePath(fileName, currentDir);
    if (path.empty()) {
        reportDamagedFile(texturePlace(fileName), "missing");
        return false;
    }

    int width = 0;
    int height = 0;
    std::vector<uint8_t> topDown;
    if (!platformDecodeImage(path, &width, &height, &topDown) || width <= 0 || height <= 0 ||
        static_cast<int64_t>(width) * height >= (int64_t(1) << 30) ||
        topDown.size() < static_cast<size_t>(width) * 4 * height) {
        const bool here = !currentDir.empty() && path.rfind(currentDir + "/", 0) == 0;
        reportDamagedFile(here ? path.substr(currentDir.size() + 1) : path, "the texture cannot be decoded");
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;

    TextureImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(rowBytes * height);
    for (int row = 0; row < height; ++row)
        std::memcpy(image.pixels.data() + rowBytes * (height - 1 - row), topDown.data() + rowBytes * row,
                    rowBytes);
    images_[key] = std::move(image);
    return true;
}

const TextureImage* TextureRegistry::find(const std::string& name) const
{
    auto found = images_.find(name);
    return found == images_.end() ? nullptr : &found->second;
}

unsigned int uploadTexture(std::string name)
{
    const TextureImage* image = GameTextures.find(name);
    if (!image || !TextureUploads)
        return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image->width, image->height, GL_RGBA, GL_UNSIGNED_BYTE,
                      image->pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR_MIPMAP_LINEAR));
    return texture;
}
