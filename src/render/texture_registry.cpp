#include "render/texture_registry.h"

#include "render/image_decoding.h"
#include "scene/damaged_files.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <mutex>
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

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string joinPath(const std::string& base, const std::string& name)
{
    if (base.empty())
        return name;
    return base.back() == '/' ? base + name : base + "/" + name;
}

// The entry `name` of the directory `base` (empty for the current
// directory), or else the one whose name differs from it only in letter case,
// the first in sorted order where several do; a directory where `directory`
// is asked for. Empty when there is none.
std::string findEntry(const std::string& base, const std::string& name, bool directory)
{
    std::string exact = joinPath(base, name);
    if (fileExists(exact))
        return exact;
    if (name == "." || name == "..")
        return {};
    std::string found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(base.empty() ? "." : base, error), end;
         !error && entry != end; entry.increment(error)) {
        std::string candidate = entry->path().filename().string();
        if (!sameIgnoringCase(candidate, name) || (!found.empty() && candidate >= found))
            continue;
        std::error_code typeError;
        if (!directory || entry->is_directory(typeError))
            found = candidate;
    }
    return found.empty() ? std::string() : joinPath(base, found);
}

// `path` (slashes only) followed component by component from the directory
// `from` (empty for the current one; an absolute path starts at the root),
// each component as written or else differing only in letter case. Empty
// when a component is missing.
std::string findIgnoringCase(const std::string& from, const std::string& path)
{
    std::string base = !path.empty() && path[0] == '/' ? std::string(1, '/') : from;
    bool any = false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start) {
            const bool last = path.find_first_not_of('/', end) == std::string::npos;
            base = findEntry(base, path.substr(start, end - start), !last);
            if (base.empty())
                return {};
            any = true;
        }
        start = end + 1;
    }
    return any ? base : std::string();
}

} // namespace

bool TextureUploads = true;

std::string resolveTexturePath(const std::string& fileName, const std::string& currentDir)
{
    // The game's own names are exact: one look.
    if (fileExists(fileName))
        return fileName;
    // Both separators: the exporting machine's backslash and this one's
    // slash. A path on a drive (E:\games\...) names another machine's disk.
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    const bool drive =
        path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    if (!drive) {
        std::string found = findIgnoringCase({}, path);
        if (!found.empty())
            return found;
    }
    size_t cut = path.find_last_of('/');
    std::string part = cut == std::string::npos ? path : path.substr(cut + 1);
    if (currentDir.empty())
        return {};
    std::string candidate = currentDir + "/Textures/" + part;
    if (fileExists(candidate))
        return candidate;
    return findIgnoringCase(currentDir, "Textures/" + part);
}

DecodedTexture decodeTexture(const std::string& fileName)
{
    DecodedTexture decoded;
    decoded.name = fileName;
    std::error_code error;
    std::string currentDir = std::filesystem::current_path(error).string();
    if (error)
        currentDir.clear();
    std::string path = resolveTexturePath(fileName, currentDir);
    if (path.empty()) {
        decoded.damagedPlace = texturePlace(fileName);
        decoded.problem = "missing";
        return decoded;
    }

    int width = 0;
    int height = 0;
    std::vector<uint8_t> topDown;
    bool decodedFile = false;
    {
        // The loading's worker decodes while the main thread may decode a
        // loading screen's image: the platform's decoder is not promised to
        // be safe on two threads at once.
        static std::mutex decoding;
        std::lock_guard<std::mutex> lock(decoding);
        decodedFile = platformDecodeImage(path, &width, &height, &topDown);
    }
    if (!decodedFile || width <= 0 || height <= 0 ||
        static_cast<int64_t>(width) * height >= (int64_t(1) << 30) ||
        topDown.size() < static_cast<size_t>(width) * 4 * height) {
        const bool here = !currentDir.empty() && path.rfind(currentDir + "/", 0) == 0;
        decoded.damagedPlace = here ? path.substr(currentDir.size() + 1) : path;
        decoded.problem = "the texture cannot be decoded";
        return decoded;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;

    // Turned upside down in place: a second copy of a big image would
    // double what decoding it takes.
    topDown.resize(rowBytes * height);
    for (int row = 0; row < height / 2; ++row)
        std::swap_ranges(topDown.begin() + rowBytes * row, topDown.begin() + rowBytes * (row + 1),
                         topDown.begin() + rowBytes * (height - 1 - row));
    TextureImage& image = decoded.image;
    image.width = width;
    image.height = height;
    image.pixels = std::move(topDown);
    makeMipmaps(image);
    decoded.decoded = true;
    return decoded;
}

bool TextureRegistry::load(std::string key, std::string fileName)
{
    if (fileName.empty())
        return false;
    if (images_.count(fileName))
        return true;
    DecodedTexture decoded = decodeTexture(fileName);
    decoded.name = std::move(key);
    return add(std::move(decoded));
}

bool TextureRegistry::add(DecodedTexture decoded)
{
    if (!decoded.decoded) {
        reportDamagedFile(decoded.damagedPlace, decoded.problem);
        return false;
    }
    images_.insert_or_assign(std::move(decoded.name), std::move(decoded.image));
    return true;
}

const TextureImage* TextureRegistry::find(const std::string& name) const
{
    auto found = images_.find(name);
    return found == images_.end() ? nullptr : &found->second;
}

void makeMipmaps(TextureImage& image)
{
    image.mipmaps.clear();
    const auto powerOfTwo = [](int32_t n) { return n > 0 && (n & (n - 1)) == 0; };
    if (!powerOfTwo(image.width) || !powerOfTwo(image.height) || (image.width == 1 && image.height == 1))
        return;
    size_t levels = 0;
    for (int32_t side = std::max(image.width, image.height); side > 1; side /= 2)
        ++levels;
    image.mipmaps.reserve(levels);
    int32_t width = image.width;
    int32_t height = image.height;
    while (width > 1 || height > 1) {
        const uint8_t* from = image.mipmaps.empty() ? image.pixels.data() : image.mipmaps.back().data();
        const int32_t halfWidth = std::max(1, width / 2);
        const int32_t halfHeight = std::max(1, height / 2);
        std::vector<uint8_t> level(size_t(halfWidth) * halfHeight * 4);
        if (width > 1 && height > 1) {
            const size_t row = size_t(width) * 4;
            for (int32_t y = 0; y < halfHeight; ++y) {
                const uint8_t* below = from + 2 * y * row;
                uint8_t* to = level.data() + size_t(y) * halfWidth * 4;
                for (size_t x = 0; x < size_t(halfWidth) * 4; x += 4)
                    for (size_t c = 0; c < 4; ++c) {
                        const size_t at = 2 * x + c;
                        to[x + c] = uint8_t(
                            (below[at] + below[at + 4] + below[row + at] + below[row + at + 4] + 2) / 4);
                    }
            }
        } else {
            // A single row or column: the two pixels are neighbours in
            // memory either way.
            for (size_t i = 0; i < level.size(); i += 4)
                for (size_t c = 0; c < 4; ++c)
                    level[i + c] = uint8_t((from[2 * i + c] + from[2 * i + 4 + c]) / 2);
        }
        image.mipmaps.push_back(std::move(level));
        width = halfWidth;
        height = halfHeight;
    }
}

unsigned int uploadTexture(std::string name)
{
    const TextureImage* image = GameTextures.find(name);
    if (!image || !TextureUploads)
        return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (!image->mipmaps.empty() && image->width <= largest && image->height <= largest) {
        // The levels made ahead: GLU would make the same ones here, in the
        // frame.
        glTexImage2D(GL_TEXTURE_2D, 0, 4, image->width, image->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     image->pixels.data());
        GLsizei width = image->width;
        GLsizei height = image->height;
        for (size_t level = 0; level < image->mipmaps.size(); ++level) {
            width = std::max(1, width / 2);
            height = std::max(1, height / 2);
            glTexImage2D(GL_TEXTURE_2D, GLint(level + 1), 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         image->mipmaps[level].data());
        }
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image->width, image->height, GL_RGBA, GL_UNSIGNED_BYTE,
                          image->pixels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR_MIPMAP_LINEAR));
    return texture;
}
