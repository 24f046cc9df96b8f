#include "headless/headless_platform.h"
#include "render/scene_loading.h"
#include "render/texture_registry.h"
#include "scene_test_support.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <utility>

using namespace scenetest;

namespace {

const std::vector<Pixel> TwoByTwo = {
    {0xFF, 0x00, 0x00, 0xFF},
    {0x00, 0xFF, 0x00, 0x80}, // top row
    {0x00, 0x00, 0xFF, 0x40},
    {0x10, 0x20, 0x30, 0x00}, // bottom row
};

} // namespace

TEST(TextureRegistry, StoresRowsBottomUpAsRgba)
{
    ScratchDir dir;
    writeFile("layout.tga", tga(2, 2, TwoByTwo));
    ASSERT_TRUE(GameTextures.load("layout.tga", "layout.tga"));
    const TextureImage* image = GameTextures.find("layout.tga");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    ASSERT_EQ(image->pixels.size(), 16u);
    const std::vector<uint8_t> expected = {
        0x00, 0x00, 0xFF, 0x40, 0x10, 0x20, 0x30, 0x00, // bottom row first
        0xFF, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x80, // top-left red at byte 8
    };
    EXPECT_EQ(image->pixels, expected);
}

TEST(TextureRegistry, PicturesWithoutAlphaAreOpaqueAndRowsHaveNoPadding)
{
    ScratchDir dir;
    // Three pixels a row: SDL pads the picture's rows of 9 bytes to 12; ours
    // are 12 bytes of RGBA, one after the other.
    std::vector<Pixel> pixels(3 * 2, Pixel{10, 20, 30, 0});
    pixels[0] = {200, 100, 50, 0};
    writeFile("plain.tga", tga(3, 2, pixels, false));
    ASSERT_TRUE(GameTextures.load("plain.tga", "plain.tga"));
    const TextureImage* image = GameTextures.find("plain.tga");
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->pixels.size(), 3u * 2 * 4);
    for (size_t i = 3; i < image->pixels.size(); i += 4)
        EXPECT_EQ(image->pixels[i], 255);
    // Top-left pixel is the first of the second (top) row.
    EXPECT_EQ(image->pixels[12], 200);
    EXPECT_EQ(image->pixels[13], 100);
    EXPECT_EQ(image->pixels[14], 50);
}

TEST(TextureRegistry, DecodesOncePerNameAndFailsWithoutAnEntry)
{
    ScratchDir dir;
    writeFile("once.tga", tga(1, 1, {{5, 5, 5, 255}}));
    ASSERT_TRUE(GameTextures.load("once.tga", "once.tga"));
    // Gone from disk, still present: nothing is decoded again.
    std::filesystem::remove("once.tga");
    EXPECT_TRUE(GameTextures.load("once.tga", "once.tga"));

    EXPECT_FALSE(GameTextures.load("", ""));
    EXPECT_EQ(GameTextures.find(""), nullptr);
    EXPECT_FALSE(GameTextures.load("missing.tga", "missing.tga"));
    writeFile("broken.png", "not a picture");
    EXPECT_FALSE(GameTextures.load("broken.png", "broken.png"));
    EXPECT_EQ(GameTextures.find("broken.png"), nullptr);
}

TEST(TextureRegistry, UploadsMakeNewTexturesAndNoneForAFailedName)
{
    headless::makeContext(16, 16);
    ScratchDir dir;
    writeFile("up.tga", tga(2, 2, TwoByTwo));
    ASSERT_TRUE(GameTextures.load("up.tga", "up.tga"));
    GLuint first = uploadTexture("up.tga");
    GLuint second = uploadTexture("up.tga");
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    // (Its filter and wrap show in every textured golden frame.)
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), second);

    EXPECT_EQ(uploadTexture("missing.tga"), 0u);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), second); // nothing generated or bound
}

// Each material's texture belongs to its Scene and is deleted with it, once,
// though two nodes copied the material; the decoded image stays. A Scene
// can go where no GL call may be made: its textures are retired and deleted
// by the next drawing.
TEST(TextureRegistry, SceneDeletesTheTexturesItsMaterialsMade)
{
    headless::makeContext(16, 16);
    ScratchDir dir;
    writeFile("Textures/skin.tga", tga(2, 2, TwoByTwo));
    std::string text = R"(*MATERIAL_LIST { *MATERIAL_COUNT 2
 *MATERIAL 0 { *MATERIAL_NAME "A" *MATERIAL_AMBIENT 0 0 0 *MATERIAL_DIFFUSE 1 1 1
  *MATERIAL_SPECULAR 0 0 0 *MATERIAL_SHINE 0 *MATERIAL_TRANSPARENCY 0
  *MAP_DIFFUSE { *BITMAP "C:\maps\skin.tga" } }
 *MATERIAL 1 { *MATERIAL_NAME "B" *MATERIAL_AMBIENT 0 0 0 *MATERIAL_DIFFUSE 1 1 1
  *MATERIAL_SPECULAR 0 0 0 *MATERIAL_SHINE 0 *MATERIAL_TRANSPARENCY 0
  *MAP_DIFFUSE { *BITMAP "C:\maps\skin.tga" } } }
)" + squareObject("One", 0, face(0, 0, 1, 2), 1, "*MATERIAL_REF 0\n") +
                       squareObject("Two", 0, face(0, 0, 1, 2), 1, "*MATERIAL_REF 0\n");
    auto scene = loadText(text);
    ASSERT_EQ(scene->ownedTextures.size(), 2u);
    GLuint id = scene->nodes[0].material.textureId;
    EXPECT_NE(id, 0u);
    EXPECT_EQ(scene->nodes[1].material.textureId, id);
    EXPECT_TRUE(glIsTexture(id));
    EXPECT_TRUE(glIsTexture(scene->ownedTextures[1]));
    scene.reset();
    EXPECT_TRUE(glIsTexture(id));
    deleteRetiredTextures();
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_NE(GameTextures.find("C:\\maps\\skin.tga"), nullptr);
}

// Names as Windows exporters write them: backslashes, drive letters and a
// letter case that is not the file's.
TEST(TextureRegistry, ResolvesNamesWrittenOnWindows)
{
    ScratchDir dir;
    writeFile("textures/tile.tga", "");
    writeFile("game/Textures/bullets.jpg", "");
    writeFile("game/Textures/rock.png", "");
    writeFile("game/art/Sky.tga", "");
    writeFile("game/art/sky.tga", "");
    writeFile("game/E:/games/textures/bullets.jpg", ""); // not the drive
    writeFile("game/Textures/Crate.tga", "");
    writeFile("game/art/Crate.tga", ""); // the very path wins over Textures
    std::filesystem::current_path("game");
    const std::string here = dir.path() + "/game";
    const struct {
        const char* name;
        std::string found;
    } cases[] = {
        {"..\\textures\\tile.tga", "../textures/tile.tga"},
        {"..\\Textures\\Tile.TGA", "../textures/tile.tga"},
        {"../TEXTURES\\tile.tga", "../textures/tile.tga"},
        {"..\\textures\\none.tga", ""},
        {"E:\\games\\textures\\bullets.jpg", here + "/Textures/bullets.jpg"},
        {"C:\\maps\\Rock.PNG", here + "/Textures/rock.png"},
        {"Rock.png", here + "/Textures/rock.png"},
        {"art\\sky.tga", "art/sky.tga"}, // the exact name before Sky.tga
        {"ART/Sky.tga", "art/Sky.tga"},
        {"art\\SKY.tga", "art/Sky.tga"}, // the first of the two in sorted order
        {"art/Crate.tga", "art/Crate.tga"},
        {"D:\\models\\art\\Crate.tga", here + "/Textures/Crate.tga"},
        {"/models/x/Crate.tga", here + "/Textures/Crate.tga"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveTexturePath(c.name, here), c.found) << c.name;
}

// The levels made ahead are the bytes gluBuild2DMipmaps makes, level by
// level, for squares, wide and tall images and single rows and columns;
// other sizes are left to GLU.
TEST(TextureRegistry, MipmapsMadeAheadAreThoseOfGlu)
{
    headless::makeContext(16, 16);
    const std::pair<int, int> sizes[] = {{2, 2}, {8, 8},    {16, 4}, {4, 32}, {1, 8},
                                         {8, 1}, {64, 256}, {1, 1},  {6, 4}};
    uint32_t seed = 12345;
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " by " + std::to_string(height));
        DecodedTexture decoded;
        decoded.name = "noise" + std::to_string(width) + "x" + std::to_string(height);
        decoded.decoded = true;
        TextureImage& image = decoded.image;
        image.width = width;
        image.height = height;
        for (int i = 0; i < width * height * 4; ++i) {
            seed = seed * 1664525u + 1013904223u;
            image.pixels.push_back(uint8_t(seed >> 24));
        }
        makeMipmaps(image);
        const bool ahead = (width & (width - 1)) == 0 && (height & (height - 1)) == 0 && width * height > 1;
        EXPECT_EQ(image.mipmaps.empty(), !ahead);
        GLuint glu = 0;
        glGenTextures(1, &glu);
        glBindTexture(GL_TEXTURE_2D, glu);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
        ASSERT_TRUE(GameTextures.add(std::move(decoded)));
        const GLuint ours = uploadTexture("noise" + std::to_string(width) + "x" + std::to_string(height));
        for (int level = 0;; ++level) {
            GLint w = 0, h = 0;
            glBindTexture(GL_TEXTURE_2D, glu);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
            if (w == 0)
                break;
            std::vector<uint8_t> expected(size_t(w) * h * 4), actual(expected.size());
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, expected.data());
            glBindTexture(GL_TEXTURE_2D, ours);
            GLint ourWidth = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &ourWidth);
            EXPECT_EQ(ourWidth, w) << "level " << level;
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, actual.data());
            EXPECT_EQ(actual, expected) << "level " << level;
        }
        GLuint both[] = {glu, ours};
        glDeleteTextures(2, both);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
