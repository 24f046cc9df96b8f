// What a player or a packager meets around the game itself: the command
// line, the remembered dialog choice, damaged data told once, the data
// check against the build's manifest, and no loading screen left behind.

#include "flight_test_support.h"
#include "input/platform.h"
#include "scene/damaged_files.h"
#include "scene/scene.h"
#include "scene_test_support.h"
#include "screens/main_menu.h"
#include "shell/data_check.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "world/data_files.h"
#include "world/level_state.h"
#include "world/path_file.h"
#include "world/process_state.h"
#include "world/scene_files.h"
#include "world/sha256.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using flighttest::dataPresent;
using flighttest::InDataDir;
using scenetest::ScratchDir;
using scenetest::writeFile;

namespace {

// The user's configuration directory in a scratch tree while it lives.
class ConfigHome {
  public:
    explicit ConfigHome(const std::string& dir)
    {
        if (const char* was = std::getenv("XDG_CONFIG_HOME"))
            previous_ = was;
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    ~ConfigHome()
    {
        if (previous_.empty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    }

  private:
    std::string previous_;
};

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int quitAtFrame(int n)
{
    headless::onFrame([n](int frame) {
        if (frame == n)
            headless::requestQuit();
    });
    return n;
}

} // namespace

TEST(CommandLine, InformationOptionsOpenNothingAndModeOptionsSkipTheDialog)
{
    headless::reset();
    EXPECT_EQ(gameMain({"--version"}), 0);
    EXPECT_EQ(gameMain({"--help"}), 0);
    EXPECT_EQ(gameMain({"--fullscreen", "--bogus"}), 2);
    EXPECT_FALSE(headless::windowCreated());
    EXPECT_EQ(headless::dialogsShown(), 0);

    Options o = parseOptions({"--check-data", "/opt/data", "--windowed"});
    EXPECT_TRUE(o.checkData);
    EXPECT_EQ(o.checkDirectory, "/opt/data");
    EXPECT_EQ(o.mode, ModeChoice::Windowed);
    EXPECT_EQ(parseOptions({"--check-data", "--demo"}).checkDirectory, "");

    ScratchDir dir;
    ConfigHome home(dir.path());
    for (bool full : {true, false}) {
        headless::reset();
        quitAtFrame(1);
        EXPECT_EQ(gameMain({full ? "--fullscreen" : "--windowed"}), 0);
        EXPECT_EQ(headless::dialogsShown(), 0);
        EXPECT_EQ(headless::lastWindowFullScreen(), full);
    }
    // The options choose for this run only: nothing is remembered.
    EXPECT_FALSE(fs::exists(dir.path() + "/kestrava/settings"));
}

TEST(CommandLine, NoDisplayIsReportedWithStatusOneAndNoDialog)
{
    headless::reset();
    headless::failDisplay("No display could be opened: DISPLAY is \":9\"");
    EXPECT_EQ(gameMain(), 1);
    EXPECT_EQ(headless::dialogsShown(), 0);
    EXPECT_FALSE(headless::windowCreated());
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_NE(headless::messageBoxes()[0].text.find("DISPLAY is \":9\""), std::string::npos);
}

TEST(Settings, TheDialogOffersTheLastChoiceMadeInIt)
{
    ScratchDir dir;
    ConfigHome home(dir.path());
    const std::string file = dir.path() + "/kestrava/settings";

    headless::reset();
    headless::setDialogAnswer(true, true);
    quitAtFrame(1);
    EXPECT_EQ(gameMain(), 0);
    EXPECT_FALSE(headless::dialogOfferedFullScreen()); // nothing remembered yet
    EXPECT_EQ(readAll(file), "fullscreen=1\nmuted=0\n");

    headless::reset();
    headless::setDialogAnswer(false, false); // Exit Game: no window, the choice not taken
    EXPECT_EQ(gameMain(), 0);
    EXPECT_FALSE(headless::windowCreated());
    EXPECT_TRUE(headless::dialogOfferedFullScreen());
    EXPECT_EQ(readAll(file), "fullscreen=1\nmuted=0\n");

    // Lines of other settings survive a change.
    writeFile(file, "volume=3\nfullscreen=1\n");
    headless::reset();
    headless::setDialogAnswer(true, false);
    quitAtFrame(1);
    EXPECT_EQ(gameMain(), 0);
    EXPECT_EQ(readAll(file), "volume=3\nfullscreen=0\nmuted=0\n");
    EXPECT_FALSE(loadSettings(file).fullScreen);
}

// Runs the game with M down in the frames given until a quit in frame
// `quit`; returns whether each frame handed its sounds muted.
std::vector<bool> mutedFrames(const std::vector<std::string>& arguments, std::vector<int> mDown, int quit)
{
    headless::reset();
    headless::onFrame([mDown, quit](int frame) {
        headless::setKey('M', std::count(mDown.begin(), mDown.end(), frame) > 0);
        if (frame == quit)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(arguments), 0);
    std::vector<bool> muted;
    for (const headless::HandedSounds& h : headless::handedSounds())
        muted.push_back(h.muted);
    return muted;
}

TEST(Settings, MTogglesTheSoundAndTheChoiceIsRememberedButMuteHoldsForItsRunOnly)
{
    ScratchDir dir;
    ConfigHome home(dir.path());
    const std::string file = dir.path() + "/kestrava/settings";
    using F = std::vector<bool>;

    // M held over frames 1 and 2 mutes once; pressed again in 4, unmuted.
    EXPECT_EQ(mutedFrames({"--windowed"}, {1, 2, 4}, 6), (F{false, true, true, true, false, false}));
    EXPECT_TRUE(headless::soundOpened());
    EXPECT_TRUE(readAll(file).find("muted=0\n") != std::string::npos);

    // Muted once: remembered for the next run, which starts muted.
    mutedFrames({"--windowed"}, {1}, 3);
    EXPECT_EQ(readAll(file), "fullscreen=0\nmuted=1\n");
    EXPECT_EQ(mutedFrames({"--windowed"}, {}, 2), (F{true, true}));

    // --mute starts muted whatever is remembered, and writes nothing.
    writeFile(file, "muted=0\n");
    EXPECT_EQ(mutedFrames({"--windowed", "--mute"}, {}, 2), (F{true, true}));
    EXPECT_EQ(readAll(file), "muted=0\n");
}

TEST(Settings, AHomeThatCannotBeWrittenChangesNothing)
{
    // A configuration "directory" that is a file cannot be written to,
    // whoever runs the test.
    ScratchDir dir;
    writeFile("home", "");
    ConfigHome home(dir.path() + "/home");
    EXPECT_FALSE(saveSettings(dir.path() + "/home/kestrava/settings", {true}));
    headless::reset();
    headless::setDialogAnswer(true, true);
    quitAtFrame(1);
    EXPECT_EQ(gameMain(), 0);
    EXPECT_TRUE(Process.FullScreen);

    unsetenv("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", "relative/dir", 1); // ignored, as the rules say
    const char* user = std::getenv("HOME");
    EXPECT_EQ(settingsPath(), user && user[0] == '/' ? std::string(user) + "/.config/kestrava/settings" : "");
    EXPECT_FALSE(loadSettings("").fullScreen);
    EXPECT_FALSE(saveSettings("", {true}));
}

TEST(DamagedData, EachFileIsToldOnceInABoxAfterTheFrameThatFoundIt)
{
    ScratchDir dir;
    headless::reset();
    headless::makeContext(8, 8);
    clearDamagedFileReports();
    writeFile("cut->ASE", "*GEOMOBJECT {\n\t*NODE_NAME \"Body\"\n\t*MESH {\n\t\t*MESH_NUMVERTEX 3\n");
    writeFile("noise->ASE", std::string("\x89\x01garbage\xff", 11));
    writeFile("Textures/bad.png", "\x89PNG but not really");
    writeFile("bitmap->ASE", "*MATERIAL_LIST {\n*MATERIAL_COUNT 1\n*MATERIAL 0 {\n*MATERIAL_NAME \"M\"\n"
                             "*MATERIAL_AMBIENT 0 0 0\n*MATERIAL_DIFFUSE 1 1 1\n*MATERIAL_SPECULAR 0 0 0\n"
                             "*MATERIAL_SHINE 0\n*MATERIAL_TRANSPARENCY 0\n*MAP_DIFFUSE {\n"
                             "*BITMAP \"C:\\art\\bad.png\"\n}\n}\n}\n*GEOMOBJECT {\n*NODE_NAME \"Sq\"\n}\n");
    for (int twice = 0; twice < 2; ++twice) {
        const std::unique_ptr<Scene> cut = loadSceneFile("cut->ASE");
        const std::unique_ptr<Scene> noise = loadSceneFile("noise->ASE");
        const std::unique_ptr<Scene> bitmap = loadSceneFile("bitmap->ASE");
    }
    const std::vector<std::string> expected = {
        "cut->ASE: it ends in the middle of a block, as if cut short",
        "noise->ASE: no model could be read from it",
        "Textures/bad.png: the texture cannot be decoded",
    };
    EXPECT_EQ(damagedFileReports(), expected);
    EXPECT_TRUE(headless::messageBoxes().empty()); // not before the frame ends
    showDamagedFiles(platformErrorBox);
    showDamagedFiles(platformErrorBox);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    for (const std::string& report : expected)
        EXPECT_NE(headless::messageBoxes()[0].text.find(report), std::string::npos) << report;
}

TEST(DamagedData, ACourseNeedsAWholeRecordOfFourNumbers)
{
    EXPECT_EQ(wholeCourseRecords("P\n1 2 3 4\n5 6 7 8\n"), 2);
    EXPECT_EQ(wholeCourseRecords("P\n-1.5e2 +2. .3 4\n5 6 7\n"), 1); // the cut one is not whole
    EXPECT_EQ(wholeCourseRecords(""), 0);
    EXPECT_EQ(wholeCourseRecords("P\n1 2 3\n"), 0);
    EXPECT_EQ(wholeCourseRecords("P\nx\xff\x01 2 3 4 nan\n"), 0);
    EXPECT_EQ(wholeCourseRecords("1 2 3 4"), 0);                              // the first word is the header
    EXPECT_EQ(wholeCourseRecords("P\n1 2 3 4\n5 6 7 8\n9 10 11 12\n", 2), 2); // enough

    ScratchDir dir;
    clearDamagedFileReports();
    loadPathText();
    writeFile("Patho.txt", std::string("\x00\x13\x88 garbage \xfe", 14));
    loadPathText();
    Level.PathFile.reset();
    const std::vector<std::string> expected = {
        "Patho.txt: missing",
        "Patho.txt: it holds no whole course record (four numbers: x, y, z and heading)"};
    EXPECT_EQ(damagedFileReports(), expected);
}

TEST(DataCheck, Sha256MatchesTheStandardsVectors)
{
    auto digest = [](const std::string& text) {
        Sha256 h;
        h.add(text.data(), text.size());
        return h.hex();
    };
    EXPECT_EQ(digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    Sha256 million; // in uneven pieces, across the block boundaries
    const std::string piece(999, 'a');
    for (int i = 0; i < 1001; ++i)
        million.add(piece.data(), piece.size());
    million.add("a", 1);
    EXPECT_EQ(million.hex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(DataCheck, TheBuiltDataIsWholeAndEveryKindOfDamageIsOneLine)
{
    REQUIRE_DATA();
    EXPECT_EQ(checkDataDirectory(KESTRAVA_DATA_DIR), std::vector<std::string>{});
    EXPECT_EQ(checkDataCommand(KESTRAVA_DATA_DIR), 0);

    ScratchDir dir;
    fs::copy(KESTRAVA_DATA_DIR, "data", fs::copy_options::recursive);
    std::string menu = readAll("data/main.ASE");
    for (size_t at; (at = menu.find("\"BoxExit\"")) != std::string::npos;)
        menu.replace(at, 9, "\"BoxExiT\""); // the same size, other bytes
    writeFile("data/main.ASE", menu);
    fs::remove("data/map2.ASE");
    fs::resize_file("data/Patho.txt", 1000);
    writeFile("data/Textures/sky.png",
              std::string(fs::file_size(KESTRAVA_DATA_DIR "/Textures/sky.png"), 'x'));
    writeFile("data/Sounds/gun_shot.wav",
              std::string(fs::file_size(KESTRAVA_DATA_DIR "/Sounds/gun_shot.wav"), 'x'));
    fs::remove("data/Sounds/won.wav");
    const std::vector<std::string> expected = {
        "Patho.txt: 1000 bytes where the build made " +
            std::to_string(fs::file_size(KESTRAVA_DATA_DIR "/Patho.txt")),
        "Sounds/gun_shot.wav: its bytes differ from those the build made",
        "Sounds/won.wav: missing",
        "Textures/sky.png: its bytes differ from those the build made",
        "main.ASE: its bytes differ from those the build made",
        "map2.ASE: missing",
        "main.ASE: the node BoxExit is missing",
        "Sounds/gun_shot.wav: not a WAV file",
        "Textures/sky.png: the texture cannot be decoded",
    };
    EXPECT_EQ(checkDataDirectory("data"), expected);
    EXPECT_EQ(checkDataCommand("data"), 1);
    EXPECT_EQ(fs::current_path(), fs::path(dir.path()));

    fs::remove("data/MANIFEST");
    const std::vector<std::string> withoutList = checkDataDirectory("data");
    ASSERT_FALSE(withoutList.empty());
    EXPECT_EQ(withoutList[0].rfind("MANIFEST: missing", 0), 0u);
    EXPECT_EQ(checkDataCommand("no-such-dir"), 1);

    // What the reader has to replace is a problem too, one line each.
    std::string rocket = readAll("data/Rocket.ASE");
    rocket.replace(rocket.find("*MATERIAL_REF 0"), 15, "*MATERIAL_REF 9");
    writeFile("data/Rocket.ASE", rocket);
    const std::vector<std::string> warned = checkDataDirectory("data");
    EXPECT_EQ(std::count_if(warned.begin(), warned.end(),
                            [](const std::string& problem) {
                                return problem.rfind("Rocket.ASE: object", 0) == 0 &&
                                       problem.find("MATERIAL_REF 9 names none") != std::string::npos;
                            }),
              1);
}

TEST(DataCheck, AManifestIsReadOnlyWhenEveryLineIsAnEntry)
{
    ScratchDir dir;
    const std::string hash(64, 'a');
    std::vector<ManifestEntry> entries;
    writeFile("ok", "# comment\n" + hash + " 12 DestroyHeli(1).ASE\n" + hash + " 3 Textures/a b.png\n");
    ASSERT_TRUE(readManifest("ok", &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "DestroyHeli(1).ASE");
    EXPECT_EQ(entries[1].name, "Textures/a b.png");
    EXPECT_EQ(entries[1].size, 3u);
    for (const std::string& bad :
         {hash + " x name\n", std::string("abc 1 name\n"), hash + " 1 ../../etc/passwd\n",
          hash + " 1 /etc/passwd\n", hash + " 1\n"}) {
        writeFile("bad", bad);
        EXPECT_FALSE(readManifest("bad", &entries)) << bad;
    }
    EXPECT_FALSE(readManifest("absent", &entries));
}

TEST(Release, EveryStartGameFreesTheLoadingScreenOfTheGameBefore)
{
    REQUIRE_DATA();
    InDataDir data;
    flighttest::startGame(false, 80, 60);
    const int menuScenes = Scene::alive();
    for (int game = 0; game < 3; ++game) {
        headless::setKey('S', true);
        for (int frame = 0; frame < 200 && !Process.GameActive; ++frame) {
            flighttest::paceAt60(frame);
            runFrame();
        }
        headless::setKey('S', false);
        ASSERT_TRUE(Process.GameActive);
        flighttest::pressAndRelease(0x1B); // Escape
        runFrame();
        ASSERT_TRUE(Process.MenuActive);
        EXPECT_EQ(Scene::alive(), menuScenes) << "game " << game;
    }
    EXPECT_TRUE(damagedFileReports().empty());
}

TEST(Release, AGameThatEndsFreesItsScenesAndALoadingScreenStillUp)
{
    REQUIRE_DATA();
    InDataDir data;
    // Ended on the menu: nothing the run loaded is left, however often the
    // game runs in one process.
    for (int run = 0; run < 2; ++run) {
        headless::reset();
        quitAtFrame(3);
        ASSERT_EQ(gameMain({"--windowed"}), 0);
        EXPECT_EQ(Scene::alive(), 0) << "run " << run;
    }

    // Ended in the first frame of the loading screen.
    headless::reset();
    headless::onFrame([](int frame) {
        headless::setKey('S', frame == 1);
        if (Process.LoadingActive)
            headless::requestQuit();
    });
    ASSERT_EQ(gameMain({"--windowed"}), 0);
    EXPECT_EQ(Level.LoadingScene.get(), nullptr);
}
