// The drawing of one Scene against its pixels: colours, lighting, textures,
// each node from its own vertices, display lists and the rectangles a
// drawing touches. (That it leaves GL as it found it, every golden frame and
// the menu picture test show: a material left on after a Scene fails them.)

#include "headless/headless_platform.h"
#include "render/scene_loading.h"
#include "render/texture_registry.h"
#include "scene_test_support.h"
#include "shell/frame_loop.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

using namespace scenetest;

namespace {

constexpr int Size = 32;

// A material list entry; `bitmap` empty for none.
std::string material(const std::string& name, const std::string& diffuse, float transparency,
                     const std::string& bitmap = "")
{
    return "*MATERIAL 0 { *MATERIAL_NAME \"" + name + "\" *MATERIAL_AMBIENT 1 1 1 *MATERIAL_DIFFUSE " +
           diffuse + " *MATERIAL_SPECULAR 0 0 0 *MATERIAL_SHINE 0 *MATERIAL_TRANSPARENCY " +
           std::to_string(transparency) +
           (bitmap.empty() ? "" : " *MAP_DIFFUSE { *BITMAP \"" + bitmap + "\" }") + " }\n";
}

// A rectangle from (x0, -1) to (x1, 1) facing the viewer, as two faces that
// both start at corner 0, with normals and texture coordinates.
std::string rectangle(const std::string& name, float x0, float x1, int materialRef)
{
    auto v = [](int i, float x, float y) {
        return "*MESH_VERTEX " + std::to_string(i) + " " + std::to_string(x) + " " + std::to_string(y) +
               " 0\n";
    };
    std::string normals = "*MESH_NORMALS {\n";
    for (int f = 0; f < 2; ++f) {
        normals += "*MESH_FACENORMAL " + std::to_string(f) + " 0 0 1\n";
        for (int k = 0; k < 3; ++k)
            normals += "*MESH_VERTEXNORMAL 0 0 0 1\n";
    }
    normals += "}\n";
    return "*GEOMOBJECT {\n*NODE_NAME \"" + name + "\"\n*MESH {\n*MESH_NUMVERTEX 4\n*MESH_NUMFACES 2\n" +
           "*MESH_VERTEX_LIST {\n" + v(0, x0, -1) + v(1, x1, -1) + v(2, x1, 1) + v(3, x0, 1) + "}\n" +
           "*MESH_FACE_LIST {\n" + face(0, 0, 1, 2) + face(1, 0, 2, 3) + "}\n" +
           "*MESH_NUMTVERTEX 1\n*MESH_TVERTLIST {\n*MESH_TVERT 0 0.5 0.5 0\n}\n"
           "*MESH_NUMTVFACES 2\n*MESH_TFACELIST {\n*MESH_TFACE 0 0 0 0\n*MESH_TFACE 1 0 0 0\n}\n" +
           normals + "}\n*MATERIAL_REF " + std::to_string(materialRef) + "\n}\n";
}

void setUp(float r, float g, float b)
{
    headless::makeContext(Size, Size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setupLight();
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::vector<uint8_t> pixelAt(int x, int y)
{
    int w = 0, h = 0;
    std::vector<uint8_t> pixels = headless::readPixels(&w, &h);
    size_t at = (static_cast<size_t>(y) * w + x) * 4;
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

void expectPixelNear(const std::vector<uint8_t>& pixel, int r, int g, int b, int tolerance = 2)
{
    EXPECT_NEAR(pixel[0], r, tolerance);
    EXPECT_NEAR(pixel[1], g, tolerance);
    EXPECT_NEAR(pixel[2], b, tolerance);
}

} // namespace

TEST(Drawing, BlendedUntexturedNodeShowsItsDiffuseAtOneMinusTransparency)
{
    setUp(0, 0, 1);
    ScratchDir dir;
    auto scene = loadText("*MATERIAL_LIST { *MATERIAL_COUNT 1\n" + material("Glass", "1 0 0", 0.25f) + "}\n" +
                          rectangle("Pane", -1, 1, 0));
    TextureRegistry::draw(scene.get());
    // 0.75 of red over 0.25 of the blue background, unlit.
    expectPixelNear(pixelAt(Size / 2, Size / 2), 191, 0, 64);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.75f);
}

TEST(Drawing, OpaqueTexturedNodeIsLitAndModulated)
{
    setUp(0, 0, 0);
    ScratchDir dir;
    writeFile("Textures/leaf.tga", tga(2, 2, std::vector<Pixel>(4, {0, 255, 0, 255}))); // green
    auto scene =
        loadText("*MATERIAL_LIST { *MATERIAL_COUNT 1\n" +
                 material("Leaf", "1 1 1", 0.0f, "C:\\art\\leaf.tga") + "}\n" + rectangle("Leaf", -1, 1, 0));
    ASSERT_NE(scene->nodes[0].material.textureId, 0u);
    TextureRegistry::draw(scene.get());
    // Light 0 ambient 0.5 plus the default scene ambient 0.2 on a material
    // ambient of 1, and the directional light from (0, 10, 1) at a grazing
    // angle: about 0.8 of the texture's green.
    std::vector<uint8_t> pixel = pixelAt(Size / 2, Size / 2);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_NEAR(pixel[1], 0.7995 * 255, 3);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
}

// A loaded Scene draws from display lists made at its load, one a node: the
// same pixels as its triangles sent one by one, each node its own share of
// the vertices; and the lists go with the Scene.
TEST(Drawing, DisplayListsDrawWhatImmediateModeDrawsAndGoWithTheScene)
{
    setUp(0, 0, 0);
    ScratchDir dir;
    auto scene = loadText("*MATERIAL_LIST { *MATERIAL_COUNT 2\n" + material("Red", "1 0 0", 0.0f) +
                          material("Green", "0 1 0", 0.001f) + "}\n" + rectangle("Left", -1, 0, 0) +
                          rectangle("Right", 0.25f, 1, 1));
    const unsigned int base = scene->drawListBase;
    ASSERT_NE(base, 0u);
    ASSERT_EQ(scene->drawListCount, 2);
    glRotatef(20.0f, 0, 0, 1);
    TextureRegistry::draw(scene.get());
    int w = 0, h = 0;
    const std::vector<uint8_t> fromLists = headless::readPixels(&w, &h);
    scene->drawListBase = 0; // sent in immediate mode
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    TextureRegistry::draw(scene.get());
    EXPECT_EQ(headless::readPixels(&w, &h), fromLists);
    // Both nodes drawn, each where its own vertices are.
    EXPECT_GT(pixelAt(Size / 4, Size / 2)[0], 50);
    expectPixelNear(pixelAt(3 * Size / 4, Size / 2), 0, 255, 0);
    scene->drawListBase = base;

    for (unsigned int list : {base, base + 1})
        EXPECT_TRUE(glIsList(list)) << list;
    scene.reset();
    EXPECT_TRUE(glIsList(base)); // until the drawing deletes what went
    deleteRetiredTextures();
    for (unsigned int list : {base, base + 1})
        EXPECT_FALSE(glIsList(list)) << list;
}

// The rectangles a Scene's drawing can touch, counted in the viewport: they
// hold every pixel it draws and go at most three pixels beyond, and a node
// that reaches behind the eye takes the whole viewport.
TEST(Drawing, SceneRectsHoldWhatTheDrawingTouches)
{
    setUp(0, 0, 0);
    ScratchDir dir;
    auto scene = loadText("*MATERIAL_LIST { *MATERIAL_COUNT 2\n" + material("Red", "1 0 0", 0.001f) +
                          material("Green", "0 1 0", 0.001f) + "}\n" + rectangle("Left", -1, -0.2f, 0) +
                          rectangle("Right", 0.25f, 0.9f, 1));
    const GLint viewport[4] = {5, 3, 22, 26};
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    std::vector<PixelRect> rects;
    for (int turn = 0; turn < 12; ++turn) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.2f - 0.03f * turn, -0.3f + 0.05f * turn, -3.0f);
        glRotatef(25.0f + 30.0f * turn, 0, 0, 1);
        glRotatef(35.0f, 1, 0, 0);
        rects.clear();
        addSceneRects(scene.get(), rects);
        ASSERT_EQ(rects.size(), 2u);
        TextureRegistry::draw(scene.get());
        int w = 0, h = 0;
        const std::vector<uint8_t> pixels = headless::readPixels(&w, &h);
        for (int node = 0; node < 2; ++node) {
            // Node 0 is red, node 1 green: the extent of each one's pixels.
            PixelRect drawn{w, h, -1, -1};
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (pixels[(static_cast<size_t>(y) * w + x) * 4 + node] > 0)
                        drawn = {
                            std::min(drawn.left, x - viewport[0]), std::min(drawn.bottom, y - viewport[1]),
                            std::max(drawn.right, x - viewport[0]), std::max(drawn.top, y - viewport[1])};
            const PixelRect& r = rects[static_cast<size_t>(node)];
            EXPECT_TRUE(r.left <= drawn.left && r.bottom <= drawn.bottom && r.right >= drawn.right &&
                        r.top >= drawn.top)
                << "turn " << turn << ", node " << node;
            EXPECT_TRUE(r.left >= drawn.left - 3 && r.bottom >= drawn.bottom - 3 &&
                        r.right <= drawn.right + 3 && r.top <= drawn.top + 3)
                << "turn " << turn << ", node " << node;
        }
    }
    // Turned edge on to the eye and reaching past it.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -0.5f);
    glRotatef(80.0f, 0, 1, 0);
    glScalef(2.0f, 1.0f, 1.0f);
    rects.clear();
    addSceneRects(scene.get(), rects);
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].left, 0);
    EXPECT_EQ(rects[0].bottom, 0);
    EXPECT_EQ(rects[0].right, viewport[2] - 1);
    EXPECT_EQ(rects[0].top, viewport[3] - 1);
}
