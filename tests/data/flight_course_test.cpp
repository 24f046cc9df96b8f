// The course text: how it falls into tokens, and how the control step plays
// it back into the camera, alone and through whole frames.

#include "flight_test_support.h"
#include "game/course.h"
#include "world/level_state.h"
#include "world/path_file.h"

#include <algorithm>
#include <clocale>
#include <cstring>

using namespace flighttest;

namespace {

// Writes the course, unless there is none, and loads it for a new game.
void loadCourse(const char* text)
{
    if (text)
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

// The course is read as text: a carriage return before a line feed goes,
// any other stays; the text holds at most PathTextSize - 1 bytes, the rest
// zero bytes. The file is read in blocks: the runs cross their edges.
TEST(CourseText, ReadsCarriageReturnsAsTextModeDoes)
{
    scenetest::ScratchDir dir;
    const std::string big(70000, '7'); // beyond one block of the reader
    const std::string full(PathTextSize - 1, '8');
    const struct {
        std::string file;
        std::string text;
    } cases[] = {
        {"P\r\n1 2 3 4\r\n", "P\n1 2 3 4\n"},
        {"P\r1\r\r\n2\r", "P\r1\r\n2\r"}, // lone returns stay, the last one too
        {big + "\r\n" + big + "\r", big + "\n" + big + "\r"},
        {std::string(65535, 'x') + "\r\n", std::string(65535, 'x') + "\n"}, // CR at a block's end
        {full + "\r\n", full},
        {full.substr(1) + "\r\n", full.substr(1) + "\n"},
        {full.substr(1) + "\rx", full.substr(1) + "\r"},
        {full + "999", full}, // a longer file fills all but the last byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 20) + "... of " + std::to_string(c.file.size()) + " bytes");
        scenetest::writeFile("Patho.txt", c.file);
        loadPathText();
        EXPECT_EQ(std::string(Level.PathText.data(), c.text.size()), c.text);
        EXPECT_EQ(std::count(Level.PathText.begin() + c.text.size(), Level.PathText.end(), '\0'),
                  std::ptrdiff_t(PathTextSize - c.text.size()));
    }
}

// Each step skips four tokens a unit of speed, then takes a record of four;
// a course that ends inside a record keeps the camera at the last whole
// one, and a cursor at the end stays there.
TEST(CourseText, EachStepSkipsThenTakesARecord)
{
    scenetest::ScratchDir dir;
    std::vector<Record> records;
    for (int i = 0; i < 12; ++i)
        records.push_back({float(i), float(i) + 0.5f, float(100 * i), float(i)});
    const std::string twelve = courseText(records), thirteen = "P 1 2 3 0 5 6 7 90 9 10 11 180";
    // A space before a CR LF line end: the CR must not become a token of
    // its own and shift the records.
    const std::string crlf = "P \r\n0 0 0 0 \r\n1 2 3 4 \r\n9 9 9 9 \r\n5 6 7 8 \r\n";
    const struct {
        std::string text;
        float speed;
        int steps;
        Record camera;
        bool ended;
    } cases[] = {
        {thirteen, 1, 1, {5, 6, 7, 90}, false},
        {thirteen, 1, 2, {5, 6, 7, 90}, true},
        {thirteen, 1, 3, {5, 6, 7, 90}, true},
        {thirteen + " 13", 1, 2, {5, 6, 7, 90}, true},
        {thirteen + " 13 14", 1, 2, {5, 6, 7, 90}, true},
        {thirteen + " 13 14 15", 1, 2, {5, 6, 7, 90}, true},
        {twelve, 2, 1, {2, 2.5f, 200, 2}, false}, // double speed skips eight tokens
        {twelve, 2, 2, {5, 5.5f, 500, 5}, false},
        {"P\n(1, 2, 3) * 4\n", 1, 1, {0, 0, 24, 0}, true}, // all separators alike
        {"P 0 0 0 0 \"(1, 2, 3) * 4\"\tx\n", 1, 1, {1, 2, 3, 4}, false},
        {crlf, 1, 1, {1, 2, 3, 4}, false},
        {crlf, 1, 2, {5, 6, 7, 8}, false},
        {" ,\n\t ", 1, 5, {0, 0, 24, 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " at speed " + std::to_string(c.speed) + ", step " + std::to_string(c.steps));
        loadCourse(c.text.c_str());
        EXPECT_EQ(std::strchr(Level.PathText.data(), '\r'), nullptr);
        Game.PathSpeed = c.speed;
        for (int i = 0; i < c.steps; ++i)
            advanceCourse();
        expectCamera(c.camera.x, c.camera.y, c.camera.z, c.camera.yaw);
        EXPECT_EQ(Game.courseCursor == nullptr, c.ended);
    }
    // Without a file: nothing opened, nothing to read, the camera still.
    std::remove("Patho.txt");
    loadCourse(nullptr);
    EXPECT_EQ(Level.PathFile, nullptr);
    EXPECT_EQ(Level.PathText[0], '\0');
    advanceCourse();
    expectCamera(0, 0, 24, 0);
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

// Through whole frames: the course waits 4 seconds after the first control
// step, then moves two records a frame. (That the world is drawn under the
// camera of the same frame, the golden flight frames show.)
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
}
