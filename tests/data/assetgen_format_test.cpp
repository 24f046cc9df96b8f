// The generator's building blocks: number formatting, random numbers, the
// PNG encoder and the ASE writer's checks.
#include "ase.h"
#include "image.h"
#include "numfmt.h"
#include "random.h"
#include "shapes.h"

#include "render/image_decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <string_view>

// A decimal-comma locale, where the machine has one, must not matter;
// negative zero and values that are not finite print as zero.
TEST(AssetgenNumbers, FixedDecimalsWithAPointWhateverTheLocale)
{
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {1.5, 4, "1.5000"},       {-115.7, 4, "-115.7000"},
        {2.0 / 3.0, 4, "0.6667"}, {7328.456, 2, "7328.46"},
        {-0.0, 4, "0.0000"},      {-0.00004, 4, "0.0000"},
        {INFINITY, 1, "0.0"},     {std::nan(""), 4, "0.0000"},
        {-0.00005, 4, "-0.0001"}, // rounds away from zero: a real value
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
    std::setlocale(LC_ALL, "C");
}

TEST(AssetgenRandom, SameSeedSameStreamOtherSeedOtherStream)
{
    Random a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        double x = a.unit();
        EXPECT_EQ(x, b.unit());
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
        differs = differs || x != c.unit();
    }
    EXPECT_TRUE(differs);
    // The noise is continuous: neighbouring samples stay close.
    for (double x = 0.0; x < 5.0; x += 0.01)
        EXPECT_LT(std::fabs(valueNoise(x, 1.3, 7) - valueNoise(x + 0.001, 1.3, 7)), 0.02);
}

TEST(AssetgenPng, EncodedPictureDecodesToTheSamePixels)
{
    Image image(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            image.set(x, y, x * 30, y * 60, 255 - x * 20, 100 + x + y);
    std::vector<uint8_t> png = encodePng(image);
    EXPECT_EQ(png, encodePng(image)); // the same bytes every time
    auto path = std::filesystem::temp_directory_path() / "assetgen_png_test.png";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(platformDecodeImage(path.string(), &w, &h, &rgba));
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(rgba, image.pixels);
    std::filesystem::remove(path);
}

TEST(AssetgenAse, RefusesWhatTheGameCouldNotReadBack)
{
    AseScene scene;
    scene.addMaterial({});
    scene.materials[0].name = "Paint";
    scene.addObject("Two words", box({0, 0, 0}, {1, 1, 1}, {}), 0);
    EXPECT_THROW(writeAse(scene), std::invalid_argument); // the reader keeps only "Two"
    scene.objects[0].name = "Box";
    scene.objects[0].material = 1;
    EXPECT_THROW(writeAse(scene), std::out_of_range);
    scene.objects[0].material = 0;
    scene.objects[0].mesh = Mesh{};
    EXPECT_THROW(writeAse(scene), std::invalid_argument); // an empty mesh would take a later node's entries
    scene.objects[0].mesh = box({0, 0, 0}, {1, 1, 1}, {});
    scene.materials[0].bitmap = "ground(1).png";
    EXPECT_THROW(writeAse(scene), std::invalid_argument); // the path would be cut at "("
}

TEST(AssetgenAse, WritesKeywordsInTheOrderTheReaderTakesThem)
{
    AseScene scene;
    AseMaterial m;
    m.name = "Paint";
    m.bitmap = "palette.png";
    scene.addMaterial(m);
    AseObject& o = scene.addObject("Box", box({0, 0, 0}, {1, 1, 1}, {}), 0, Affine::translate({1, 2, 3}));
    o.positionKeys = {{0, {}}, {800, {0, -1, 0}}};
    o.rotationKeys = {{0, {0, 1, 0}, 0.5}, {800, {0, 1, 0}, 0.5}};
    std::string text = writeAse(scene);
    // Block by block, each keyword ('|' between them) after the one before.
    size_t at = 0;
    for (std::string_view keywords : {
             "*MATERIAL_COUNT 1|*MATERIAL_NAME|*MATERIAL_AMBIENT|*MATERIAL_DIFFUSE|*MATERIAL_SPECULAR",
             "*MATERIAL_SHINE |*MATERIAL_TRANSPARENCY|*MAP_DIFFUSE|*BITMAP \"palette.png\"",
             "*GEOMOBJECT|*NODE_NAME \"Box\"|*TM_ROW0|*TM_ROW3 1.0000\t2.0000\t3.0000|*TM_POS|*TM_ROTAXIS",
             "*TM_ROTANGLE|*MESH_NUMVERTEX 24|*MESH_NUMFACES 12|*MESH_VERTEX 0|*MESH_FACE_LIST",
             "*MESH_FACE 0: A: 0 B: 1 C: 2|*MESH_NUMTVERTEX|*MESH_TVERT 0|*MESH_TFACELIST|*MESH_TFACE 0",
             "*MESH_NORMALS|*MESH_FACENORMAL 0|*MESH_VERTEXNORMAL|*TM_ANIMATION|*CONTROL_POS_TRACK",
             "*CONTROL_POS_SAMPLE 800\t0.0000\t-1.0000\t0.0000|*CONTROL_ROT_TRACK",
             "*CONTROL_ROT_SAMPLE 800\t0.0000\t1.0000\t0.0000\t0.5000|*MATERIAL_REF 0",
         }) {
        while (!keywords.empty()) {
            const std::string keyword(keywords.substr(0, keywords.find('|')));
            keywords.remove_prefix(std::min(keywords.size(), keyword.size() + 1));
            const size_t found = text.find(keyword, at);
            ASSERT_NE(found, std::string::npos) << keyword << " missing or out of order";
            at = found;
        }
    }
    // Nothing that closes the material comes between its transparency and
    // its diffuse map, or the reader would take the material as untextured.
    size_t t = text.find("*MATERIAL_TRANSPARENCY"), d = text.find("*MAP_DIFFUSE");
    EXPECT_EQ(text.substr(t, d - t).find('}'), std::string::npos);
}
