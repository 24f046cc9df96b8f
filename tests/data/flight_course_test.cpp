// The course text: how it falls into tokens, and how the control step plays
// it back into the camera, alone and through whole frames.

#include "flight_test_support.h"
#include "game/course.h"
#include "world/level_layout.h"
#include "world/level_state.h"
#include "world/path_file.h"

#include <clocale>
#include <cstring>

using namespace flighttest;

namespace {

void loadCourse(const std::string& text)
{
    scenetest::writeFile("Patho.txt", text);
    loadPathText();
    Game = GameState{};
}

void expectCamera(float x, float y, float z, float yaw)
{
    EXPECT_FLOAT_EQ(Game.PathX, x);
    EXPECT_FLOAT_EQ(Game.PathY, y);
    EXPECT_FLOAT_EQ(Game.PathZ, z);
    EXPECT_FLOAT_EQ(Game.PathYaw, yaw);
}

} // namespace

TEST(CourseText, ThirteenTokensGiveOneRecordAtNormalSpeed)
{
    scenetest::ScratchDir dir;
    loadCourse("P 1 2 3 0 5 6 7 90 9 10 11 180");
    advanceCourse();
    expectCamera(5, 6, 7, 90);
    advanceCourse(); // 9 10 11 180 skipped, nothing left to take
    expectCamera(5, 6, 7, 90);
    EXPECT_EQ(Game.courseCursor, nullptr);
    advanceCourse();
    expectCamera(5, 6, 7, 90);
}

TEST(CourseText, DoubleSpeedSkipsEightTokens)
{
    scenetest::ScratchDir dir;
    std::vector<Record> records;
    for (int i = 0; i < 12; ++i)
        records.push_back({float(i), float(i) + 0.5f, float(100 * i), float(i)});
    loadCourse(courseText(records));
    Game.PathSpeed = 2.0f;
    advanceCourse();
    expectCamera(2, 2.5f, 200, 2); // records 0 and 1 skipped
    advanceCourse();
    expectCamera(5, 5.5f, 500, 5);
    Game.PathSpeed = 1.0f;
    advanceCourse();
    expectCamera(7, 7.5f, 700, 7);
}

TEST(CourseText, SeparatorsAreInterchangeableAndCrLfReadsAsLf)
{
    scenetest::ScratchDir dir;
    loadCourse("P\n(1, 2, 3) * 4\n");
    advanceCourse();
    // The first frame skips four tokens: nothing is left for a record.
    expectCamera(0, 0, 24, 0);

    loadCourse("P 0 0 0 0 \"(1, 2, 3) * 4\"\tx\n");
    advanceCourse();
    expectCamera(1, 2, 3, 4);

    // A space before a CR LF line end: the CR must not become a token of
    // its own and shift the records.
    loadCourse("P \r\n0 0 0 0 \r\n1 2 3 4 \r\n9 9 9 9 \r\n5 6 7 8 \r\n");
    advanceCourse();
    expectCamera(1, 2, 3, 4);
    advanceCourse();
    expectCamera(5, 6, 7, 8);
    EXPECT_EQ(std::strchr(Level.PathText.data(), '\r'), nullptr);
}

TEST(CourseText, AMissingOrEmptyCourseLeavesTheCameraStill)
{
    scenetest::ScratchDir dir;
    loadCourse("");
    std::remove("Patho.txt");
    loadPathText();
    EXPECT_EQ(Level.PathFile, nullptr);
    EXPECT_EQ(Level.PathText[0], '\0');
    Game = GameState{};
    advanceCourse();
    advanceCourse();
    expectCamera(0, 0, 24, 0);
    Level.PathFile.reset(); // nothing was opened: nothing to close

    loadCourse(" ,\n\t ");
    EXPECT_NE(Level.PathFile, nullptr);
    for (int i = 0; i < 5; ++i)
        advanceCourse();
    expectCamera(0, 0, 24, 0);
    Level.PathFile.reset();
    EXPECT_EQ(Level.PathFile, nullptr);
}

TEST(CourseText, ACourseEndingInsideARecordKeepsTheLastWholeRecord)
{
    scenetest::ScratchDir dir;
    for (const char* tail : {" 13", " 13 14", " 13 14 15"}) {
        loadCourse(std::string("P 1 2 3 0 5 6 7 90 9 10 11 180") + tail);
        advanceCourse();
        advanceCourse();
        expectCamera(5, 6, 7, 90);
        EXPECT_EQ(Game.courseCursor, nullptr) << tail;
    }
}

TEST(CourseText, NumbersFollowAtofWithADecimalPointWhateverTheLocale)
{
    scenetest::ScratchDir dir;
    if (!scenetest::useDecimalCommaLocale(dir.path()))
        GTEST_SKIP() << "localedef could not build a decimal-comma locale";
    ASSERT_EQ(std::atof("1.5"), 1.0) << "the locale reads a decimal comma";
    loadCourse("P 0 0 0 0 1.5 -2.25e1 +7x abc");
    advanceCourse();
    std::setlocale(LC_ALL, "C");
    expectCamera(1.5f, -22.5f, 7, 0);
}

TEST(CourseText, ALongFileFillsAllButTheLastByte)
{
    scenetest::ScratchDir dir;
    scenetest::writeFile("Patho.txt", std::string(PathTextSize + 100, '7'));
    loadPathText();
    EXPECT_EQ(std::strlen(Level.PathText.data()), PathTextSize - 1);
    Level.PathFile.reset();
}

// Through whole frames: the course waits 4 seconds after the first control
// step, then moves two records a frame.
TEST(CourseFlight, TheCourseStartsAfterFourSecondsOfTheScriptedClock)
{
    scenetest::ScratchDir dir;
    std::vector<Record> records;
    for (int i = 0; i < 20; ++i)
        records.push_back({0, 0, 30.0f + 10 * i, 0});
    scenetest::writeFile("Patho.txt", courseText(records));
    startGame();
    headless::setMilliseconds(5000);
    loadLevel();
    EXPECT_FLOAT_EQ(Game.PathZ, 24);

    runFrame(); // the first control step: the delay starts
    headless::advanceMilliseconds(4000);
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathZ, 24); // exactly 4000 ms: still waiting
    headless::advanceMilliseconds(1);
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathZ, 40); // record 1
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathZ, 60); // record 3

    // The camera of this frame is what the world is drawn under.
    Draws.clear();
    runFrame();
    ASSERT_EQ(countDraws(Level.Map1Scene.get()), 1);
    EXPECT_FLOAT_EQ(Game.PathZ, 80);
    const Drawn& map = drawnAt(Level.Map1Scene.get());
    // The camera, then the map's placement.
    EXPECT_FLOAT_EQ(map.modelview[12], layout::PlacementOffset.x);
    EXPECT_FLOAT_EQ(map.modelview[14], 80 + layout::PlacementOffset.z);
}
