// The mesh builder and the palette the models are painted with.
#include "data_writer.h"
#include "palette.h"
#include "shapes.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(AssetgenMesh, NormalsFollowTheSurfaceThroughAnyTransform)
{
    // Stretching, turning and mirroring must keep every stored normal on the
    // outside of its face and square to it.
    const Affine transforms[] = {
        Affine::scale({3.0, 1.0, 0.25}),
        Affine::rotate({1, 2, 3}, 37.0) * Affine::scale({1.0, 4.0, 1.0}),
        Affine::scale({-1.0, 1.0, 1.0}),
        Affine::translate({5, -2, 1}) * Affine::scale({2.0, -0.5, 1.0}) * Affine::rotateZ(20.0),
    };
    for (const Affine& t : transforms) {
        Mesh m = box({-1, -1, -1}, {1, 2, 3}, {});
        m.transform(t);
        V3 lo, hi;
        m.bounds(lo, hi);
        V3 centre = (lo + hi) * 0.5;
        for (const Mesh::Face& f : m.faces) {
            V3 geometric = m.faceNormal(f);
            V3 a = m.vertices[size_t(f.v[0])];
            EXPECT_GT(dot(geometric, a - centre), 0.0); // wound outward
            for (const V3& n : f.n)
                EXPECT_NEAR(dot(n, geometric), 1.0, 1e-9);
        }
    }
}

TEST(AssetgenMesh, AppendKeepsEachPartsOwnCorners)
{
    Mesh a = box({0, 0, 0}, {1, 1, 1}, {0.1, 0.1});
    Mesh b = box({0, 0, 0}, {1, 1, 1}, {0.9, 0.9});
    Mesh both = a;
    both.append(b, Affine::translate({10, 0, 0}));
    ASSERT_EQ(both.faces.size(), a.faces.size() * 2);
    for (size_t i = a.faces.size(); i < both.faces.size(); ++i) {
        const Mesh::Face& f = both.faces[i];
        EXPECT_GE(both.vertices[size_t(f.v[0])].x, 10.0);
        EXPECT_EQ(both.tvertices[size_t(f.t[0])].u, 0.9);
    }
}

TEST(AssetgenPalette, EveryColourSitsWhereItsCoordinatesPoint)
{
    Image image = paletteImage();
    for (int i = 0; i < 16; ++i) {
        Colour c = Colour(i);
        UV uv = paletteUV(c);
        // Texture v runs from the bottom of the picture; image rows from the top.
        int x = int(uv.u * image.width), y = image.height - 1 - int(uv.v * image.height);
        int rgb[3];
        paletteRGB(c, rgb);
        const uint8_t* p = image.at(x, y);
        EXPECT_EQ(p[0], rgb[0]) << i;
        EXPECT_EQ(p[1], rgb[1]) << i;
        EXPECT_EQ(p[2], rgb[2]) << i;
        // The whole cell is one colour, so the first mipmaps keep it pure.
        for (int dy = -7; dy <= 7; ++dy)
            for (int dx = -7; dx <= 7; ++dx)
                EXPECT_EQ(image.at(x + dx, y + dy)[0], rgb[0]);
    }
}

TEST(AssetgenOutput, RefusesTexturesTheGameCannotUse)
{
    auto dir = std::filesystem::temp_directory_path() / ("assetgen_textures_" + std::to_string(::getpid()));
    DataWriter out(dir);
    EXPECT_THROW(out.texture("odd.png", Image(100, 64)), std::invalid_argument);
    EXPECT_THROW(out.texture("huge.png", Image(2048, 64)), std::invalid_argument);
    EXPECT_NO_THROW(out.texture("fine.png", Image(1024, 8)));
    EXPECT_TRUE(std::filesystem::exists(dir / "Textures" / "fine.png"));
    std::filesystem::remove_all(dir);
}
