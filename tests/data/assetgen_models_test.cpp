// The models as the game places them: each within its view, its budget and
// the shape the game's code expects.
#include "data_writer.h"
#include "heli_parts.h"
#include "models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

struct Box3 {
    V3 lo, hi;
};

Box3 boundsOf(const AseScene& scene, const char* node = nullptr)
{
    Box3 b{{1e9, 1e9, 1e9}, {-1e9, -1e9, -1e9}};
    for (const AseObject& o : scene.objects) {
        if (node && o.name != node)
            continue;
        V3 lo, hi;
        o.mesh.bounds(lo, hi);
        b.lo = {std::min(b.lo.x, lo.x), std::min(b.lo.y, lo.y), std::min(b.lo.z, lo.z)};
        b.hi = {std::max(b.hi.x, hi.x), std::max(b.hi.y, hi.y), std::max(b.hi.z, hi.z)};
    }
    return b;
}

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(AssetgenModels, MenuItemsStandInViewBelowTheHelicopter)
{
    AseScene menu = buildMainMenu();
    for (const char* name : {"StartGame", "BoxStartGame", "Instructions", "BoxInstructions", "Credits",
                             "BoxCredits", "Exit", "BoxExit"}) {
        const AseObject* o = menu.find(name);
        ASSERT_NE(o, nullptr) << name;
        Box3 b = boundsOf(menu, name);
        EXPECT_GT(b.lo.x, -77.0) << name;
        EXPECT_LT(b.hi.x, 77.0) << name;
        EXPECT_GT(b.lo.y, -57.0) << name;
        // The menu helicopter reaches down to about y = -8 at its lowest bob.
        EXPECT_LT(b.hi.y, -9.0) << name;
    }
    // Whatever stands still while an item spins keeps clear of the items.
    const std::vector<std::string> items = {"StartGame", "BoxStartGame", "Instructions", "BoxInstructions",
                                            "Credits",   "BoxCredits",   "Exit",         "BoxExit"};
    Box3 plates = boundsOf(menu, "BoxStartGame");
    plates.lo.y = boundsOf(menu, "BoxExit").lo.y;
    for (const AseObject& o : menu.objects) {
        if (std::find(items.begin(), items.end(), o.name) != items.end())
            continue;
        Box3 b = boundsOf(menu, o.name.c_str());
        EXPECT_TRUE(b.lo.y > plates.hi.y || b.hi.y < plates.lo.y) << o.name << " overlaps the items";
    }
    // Each caption turns about its own box's vertical axis: the box's pivot
    // lies inside the caption's span.
    for (auto [caption, box] : {std::pair{"StartGame", "BoxStartGame"}, {"Exit", "BoxExit"}}) {
        V3 pivot = menu.find(box)->tm.column(3);
        Box3 c = boundsOf(menu, caption);
        EXPECT_GT(pivot.y, c.lo.y - 3.0);
        EXPECT_LT(pivot.y, c.hi.y + 3.0);
    }
}

TEST(AssetgenModels, HelicopterHasItsSizePivotsAndFewFaces)
{
    AseScene heli = buildHeroHeli();
    ASSERT_NE(heli.find("HeliBody"), nullptr);
    ASSERT_NE(heli.find("HeliRotor"), nullptr);
    EXPECT_LE(heli.totalFaces(), 2000);
    Box3 body = boundsOf(heli, "HeliBody"), rotor = boundsOf(heli, "HeliRotor");
    EXPECT_NEAR(body.hi.z - body.lo.z, 3.2, 0.4); // about 3 long
    EXPECT_LT(body.lo.z, -0.8);                   // the nose toward -z
    V3 hub = heli.find("HeliRotor")->tm.column(3);
    double reach = 0.0;
    for (const V3& v : heli.find("HeliRotor")->mesh.vertices)
        reach = std::max(reach, std::hypot(v.x - hub.x, v.z - hub.z));
    EXPECT_NEAR(2 * reach, 3.1, 0.3); // a rotor about as wide as the helicopter is long
    EXPECT_NEAR((rotor.lo.x + rotor.hi.x) * 0.5, hub.x, 0.05); // spins about its hub
    EXPECT_NEAR((rotor.lo.z + rotor.hi.z) * 0.5, hub.z, 0.05);
    EXPECT_GT(hub.y, body.hi.y - 0.3);
    V3 origin = heli.find("HeliBody")->tm.column(3);
    EXPECT_LT(length(origin), 0.3); // the enemies turn about the body's centre
}

TEST(AssetgenModels, LoadingBarFillsItsFrameAtTheLastStep)
{
    AseScene loading = buildLoading();
    const AseObject* bar = loading.find("Bar");
    ASSERT_NE(bar, nullptr);
    V3 z = bar->tm.column(2), pivot = bar->tm.column(3);
    EXPECT_NEAR(z.x, 1.0, 1e-9); // stretched along the screen's x
    Box3 b = boundsOf(loading, "Bar"), frame = boundsOf(loading, "BarFrame");
    EXPECT_NEAR(b.lo.x, pivot.x, 1e-9); // pivot at the bar's left end
    double full = pivot.x + (b.hi.x - pivot.x) * 2.1;
    EXPECT_NEAR(full, frame.hi.x - 1.2, 1e-6); // the frame's inner right side
    Box3 all = boundsOf(loading);
    EXPECT_GT(all.lo.x, -29.6);
    EXPECT_LT(all.hi.x, 39.6);
    EXPECT_GT(all.lo.y, -26.0);
    EXPECT_LT(all.hi.y, 26.0);
}

TEST(AssetgenModels, PagesFitTheirViews)
{
    Box3 page = boundsOf(buildInstructions());
    EXPECT_GE(page.lo.x, -40.5);
    EXPECT_LE(page.hi.x, 39.5);
    EXPECT_GE(page.lo.y, -30.5);
    EXPECT_LE(page.hi.y, 30.5);
    // The credits roll from y = 130 down to its last block at -130.
    double top = -1e9, bottom = 1e9;
    for (int i = 0; i < 4; ++i) {
        Box3 b = boundsOf(buildCredits(i));
        top = std::max(top, b.hi.y);
        bottom = std::min(bottom, b.lo.y);
        EXPECT_LT(b.hi.x - b.lo.x, 2 * 0.77 * 40); // readable across the view at 40
    }
    EXPECT_LE(top, 130.0 + 20.0);
    EXPECT_GT(top, 110.0);
    EXPECT_LT(bottom, -120.0);
    EXPECT_GT(bottom, -140.0);
}

TEST(AssetgenModels, HudPiecesStayFlatAndInPlace)
{
    Box3 fuel = boundsOf(buildFuelGauge());
    EXPECT_GE(fuel.lo.z, -0.4);
    EXPECT_LE(fuel.hi.z, 0.4);
    EXPECT_LT(fuel.lo.x, -19.5); // around the bar's area
    EXPECT_GT(fuel.hi.x, 27.3);
    EXPECT_GT(300 + 2.2 * fuel.hi.x, 360.0);
    EXPECT_LT(300 + 2.2 * fuel.hi.x, 400.0); // still on screen
    Box3 life = boundsOf(buildLivesIcon());
    EXPECT_LE(life.hi.x - life.lo.x, 70.0);
    EXPECT_GE(life.lo.z, -4.0);
    EXPECT_LE(life.hi.z, 0.0);
    Box3 meters = boundsOf(buildHeliMeters());
    EXPECT_GE(meters.lo.y, -150.0);
    EXPECT_LE(meters.hi.y, -110.0); // below the hero
    EXPECT_GE(meters.lo.x * 2.5, -400.0);
    EXPECT_LE(meters.hi.x * 2.5, 400.0);
    EXPECT_GE(meters.lo.z, -1.0);
    EXPECT_LE(meters.hi.z, 1.0);
}

TEST(AssetgenModels, CaptionsFillTheirViews)
{
    // Ready and the numbers at 100 (half-height 57.7), the end captions at
    // 150 (86.6): big, and inside the view.
    for (const AseScene& s : {buildReady(), buildNumber(3), buildNumber(2), buildNumber(1)}) {
        Box3 b = boundsOf(s);
        EXPECT_GT(b.hi.y - b.lo.y, 15.0);
        EXPECT_LT(std::max(std::fabs(b.lo.x), std::fabs(b.hi.x)), 0.77 * 100);
        EXPECT_LT(std::max(std::fabs(b.lo.y), std::fabs(b.hi.y)), 0.577 * 100);
    }
    for (const AseScene& s : {buildWinning(), buildLoosing(), buildPaused()}) {
        Box3 b = boundsOf(s);
        EXPECT_LT(std::max(std::fabs(b.lo.x), std::fabs(b.hi.x)), 0.77 * 150);
        EXPECT_LT(std::max(std::fabs(b.lo.y), std::fabs(b.hi.y)), 0.577 * 150);
    }
}

TEST(AssetgenModels, BasesShotsAndBlastHaveTheirSizes)
{
    for (int look = 0; look < 3; ++look) {
        AseScene base = buildMilitaryBase(look);
        EXPECT_LE(base.totalFaces(), 1500) << look;
        Box3 b = boundsOf(base);
        double across = std::max(b.hi.x - b.lo.x, b.hi.y - b.lo.y);
        EXPECT_GE(across, 30.0);
        EXPECT_LE(across, 60.0);
        EXPECT_NEAR(b.lo.x + b.hi.x, 0.0, 6.0); // origin at the ground's centre
        EXPECT_NEAR(b.lo.y + b.hi.y, 0.0, 6.0);
        EXPECT_GT(b.lo.z, -4.0); // rubble may sink a little into the ground, nothing more
    }
    EXPECT_LE(buildRoad().totalFaces(), 4000); // the map and the sky: in the level proof
    Box3 bullet = boundsOf(buildBullet()), rocket = boundsOf(buildRocket());
    EXPECT_NEAR(bullet.hi.z - bullet.lo.z, 0.3, 0.05);
    EXPECT_NEAR(rocket.hi.z - rocket.lo.z, 1.6, 0.3);
    EXPECT_LT(boundsOf(buildRocket(), "Rocket").lo.z, -0.7); // the nose toward -z
    Box3 blast = boundsOf(buildExplosion());
    // Smaller than a base, about a helicopter's length or two: a bullet
    // bursts 20 to 30 units ahead and must not hide the view.
    EXPECT_GT(blast.hi.x - blast.lo.x, 6.0);
    EXPECT_LT(blast.hi.x - blast.lo.x, 10.0);
}

TEST(AssetgenModels, CrashKeysPlayAsTheGameSteps)
{
    AseScene crash = buildDestroyHeli();
    ASSERT_LE(crash.objects.size(), 100u);
    // How long it plays is checked on the file, as the game plays it.
    size_t keys = crash.objects[0].positionKeys.size();
    for (const AseObject& o : crash.objects) {
        // Every node ends its tracks in the same frame, or the shared end
        // of the animation would come early.
        ASSERT_EQ(o.positionKeys.size(), keys) << o.name;
        ASSERT_EQ(o.rotationKeys.size(), keys) << o.name;
        EXPECT_EQ(o.positionKeys[0].time, 0);
        for (size_t k = 1; k < keys; ++k) {
            EXPECT_GT(o.rotationKeys[k].angle, 0.0) << o.name; // an angle of 0 divides by sin 0
            EXPECT_LT(o.rotationKeys[k].angle, 3.0) << o.name;
        }
    }
}

TEST(AssetgenOutput, TwoRunsWriteTheSameBytes)
{
    auto base = std::filesystem::temp_directory_path() / ("assetgen_twice_" + std::to_string(::getpid()));
    DataWriter first(base / "a"), second(base / "b");
    writeAllData(first);
    writeAllData(second);
    ASSERT_EQ(first.written(), second.written());
    EXPECT_GE(first.written().size(), 30u + 4u); // 29 models, the course and the textures
    for (const std::string& name : first.written()) {
        std::string a = slurp(base / "a" / name);
        EXPECT_EQ(a, slurp(base / "b" / name)) << name;
        EXPECT_LT(a.size(), 6000000u) << name;
    }
    std::filesystem::remove_all(base);
}
