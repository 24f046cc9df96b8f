// The game's icons: averaging a large render down, and the render itself
// (the helicopter filling a transparent square) as modelshot writes it.
#include "icon.h"

#include "headless/headless_platform.h"
#include "render/image_decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

Image filled(int w, int h, int r, int g, int b, int a)
{
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.set(x, y, r, g, b, a);
    return image;
}

double alphaSum(const Image& image)
{
    double sum = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            sum += image.at(x, y)[3];
    return sum;
}

bool haveData() { return std::filesystem::exists(std::filesystem::path(KESTRAVA_DATA_DIR) / "HeroHeli.ASE"); }

} // namespace

TEST(IconDownscale, AnEvenColourStaysExactAtEveryRatio)
{
    // Ratios that do not divide: a pixel's weights must still add up to its
    // whole area.
    Image source = filled(100, 100, 30, 140, 200, 255);
    for (int size : {48, 22, 16, 7, 1}) {
        Image out = downscale(source, size, size);
        ASSERT_EQ(out.width, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint8_t* p = out.at(x, y);
                ASSERT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{30, 140, 200, 255}))
                    << size << " at " << x << "," << y;
            }
    }
}

TEST(IconDownscale, TheTransparentBackgroundNeverDarkensAnEdge)
{
    // White on the left 4 of 10 columns, transparent black beside it: the
    // pixel that straddles the edge is white, partly covered.
    Image source = filled(10, 10, 0, 0, 0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 4; ++x)
            source.set(x, y, 255, 255, 255, 255);
    Image out = downscale(source, 3, 3);
    const uint8_t* edge = out.at(1, 1);
    EXPECT_EQ(edge[0], 255);
    EXPECT_EQ(edge[1], 255);
    EXPECT_EQ(edge[2], 255);
    // Columns 3.33 to 6.67 of the source: 0.67 of a column of white in 3.33.
    EXPECT_NEAR(edge[3], 255 * 0.2, 1.0);
    EXPECT_EQ(out.at(0, 1)[3], 255);
    EXPECT_EQ(out.at(2, 1)[3], 0);
}

TEST(IconDownscale, CoverageIsKeptAcrossFractionalPixels)
{
    // A disc: each output pixel's alpha is its share of the disc, so the
    // sums agree whatever the ratio (to within rounding per pixel).
    Image source = filled(300, 300, 0, 0, 0, 0);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            if (std::hypot(x - 140.5, y - 161.5) < 97)
                source.set(x, y, 90, 120, 40, 255);
    double sourceShare = alphaSum(source) / (300.0 * 300.0);
    for (int size : {128, 48, 22, 16}) {
        Image out = downscale(source, size, size);
        EXPECT_NEAR(alphaSum(out) / (double(size) * size), sourceShare, 0.5 / 255 + 1e-3) << size;
    }
}

TEST(IconSizes, AListOfSizesOrNothing)
{
    EXPECT_EQ(parseIconSizes("16,22,24,32,48,64,128,256,512"),
              (std::vector<int>{16, 22, 24, 32, 48, 64, 128, 256, 512}));
    EXPECT_EQ(parseIconSizes(std::to_string(IconRenderSize)), std::vector<int>{IconRenderSize});
    for (const char* bad : {"", "16,,32", "0", "16x16", "-16", "4096", "16;32"})
        EXPECT_TRUE(parseIconSizes(bad).empty()) << bad;
}

TEST(IconRender, TheHelicopterFillsATransparentSquareInItsOwnColours)
{
    if (!haveData())
        GTEST_SKIP() << "the build has not generated the game data";
    headless::reset();
    std::filesystem::current_path(KESTRAVA_DATA_DIR);
    const int size = 256, margin = size / 32;
    Image icon = renderIcon(size);
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);

    int x0 = size, y0 = size, x1 = -1, y1 = -1;
    long covered = 0;
    double brightness = 0;
    int minLevel = 255, maxLevel = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const uint8_t* p = icon.at(x, y);
            ASSERT_TRUE(p[3] == 0 || p[3] == 255) << "a render is either covered or not";
            if (p[3] == 0)
                continue;
            ++covered;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
            int level = (p[0] + p[1] + p[2]) / 3;
            brightness += level;
            minLevel = std::min(minLevel, level);
            maxLevel = std::max(maxLevel, level);
        }
    ASSERT_GT(covered, 0);
    // The larger extent reaches the margins; the other is centred.
    int width = x1 - x0 + 1, height = y1 - y0 + 1;
    EXPECT_NEAR(std::max(width, height), size - 2 * margin, 2);
    EXPECT_NEAR(x0, size - 1 - x1, 2);
    EXPECT_NEAR(y0, size - 1 - y1, 2);
    // A helicopter, not a blob: it covers a good part of the square but
    // leaves the corners to the background, ...
    EXPECT_GT(covered, size * size / 5);
    EXPECT_LT(covered, size * size * 3 / 4);
    EXPECT_EQ(icon.at(0, 0)[3], 0);
    EXPECT_EQ(icon.at(size - 1, size - 1)[3], 0);
    // ... lit and painted: dark rotor and skids beside a lighter body, not a
    // black silhouette.
    brightness /= double(covered);
    EXPECT_GT(brightness, 50);
    EXPECT_LT(brightness, 200);
    EXPECT_LT(minLevel, 40);
    EXPECT_GT(maxLevel, 150);
}

TEST(IconRender, EachSizeIsWrittenWhereTheIconThemeLooksForIt)
{
    if (!haveData())
        GTEST_SKIP() << "the build has not generated the game data";
    headless::reset();
    std::filesystem::current_path(KESTRAVA_DATA_DIR);
    std::filesystem::path theme = std::filesystem::temp_directory_path() / "kestrava-icon-test";
    std::filesystem::remove_all(theme);
    ASSERT_TRUE(writeIcons(theme.string(), {16, 48}));
    for (int size : {16, 48}) {
        std::string path =
            (theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps" / "kestrava.png").string();
        int w = 0, h = 0;
        std::vector<uint8_t> rgba;
        ASSERT_TRUE(platformDecodeImage(path, &w, &h, &rgba)) << path;
        EXPECT_EQ(w, size);
        EXPECT_EQ(h, size);
        EXPECT_EQ(rgba[3], 0) << "top-left corner";
        size_t centre = (size_t(size / 2) * size_t(size) + size_t(size / 2)) * 4;
        EXPECT_GT(rgba[centre + 3], 0) << "centre";
    }
    std::filesystem::remove_all(theme);
}
