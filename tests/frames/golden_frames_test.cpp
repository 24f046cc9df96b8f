// Golden frames: whole frames of the real game, drawn headless at 400 by 300
// on the generated data with scripted keys and a 60 Hz scripted clock,
// compared with the pictures in tests/frames/golden. They hold the pictures
// still while the code beneath them changes shape.
//
// A frame passes when it is identical to its golden picture, or when at most
// 0.01% of its pixels (12) differ, none by more than 2 levels in any channel:
// what a change that only reorders the rasterisation may move, the last
// bits of a float at a triangle's edge. A failure leaves the frame as drawn
// and a diff
// (red: beyond that, yellow: within it, grey: equal) in
// build/tests/frames/.
//
// To record the pictures anew after an intended change, run
//   KESTRAVA_RECORD_GOLDEN=1 ctest --test-dir build -R GoldenFrames
// which writes every frame into tests/frames/golden instead of comparing;
// look at each changed picture before committing it.
//
// Frame numbers count from the game's start-up, one frame a sixtieth of a
// second. Only each picture's own frame is drawn; the others only advance
// (drawing changes nothing of the game's state), so that a whole game takes
// seconds on the software renderer.

#include "flight_test_support.h"
#include "render/image_decoding.h"
#include "screens/info_screens.h"
#include "screens/main_menu.h"
#include "shell/autopilot.h"
#include "world/process_state.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

using namespace flighttest;

namespace {

constexpr int Width = 400;
constexpr int Height = 300;

struct Shot {
    int frame;
    std::string name;
};

void savePng(const std::string& path, std::vector<uint8_t> rgb)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(rgb.data(), Width, Height, 24, Width * 3, SDL_PIXELFORMAT_RGB24);
    ASSERT_TRUE(surface && IMG_SavePNG(surface, path.c_str()) == 0) << path << ": " << SDL_GetError();
    SDL_FreeSurface(surface);
}

// The picture on screen, top row first, RGB.
std::vector<uint8_t> screenRgb()
{
    int w = 0, h = 0;
    const std::vector<uint8_t> rgba = headless::readPixels(&w, &h);
    std::vector<uint8_t> rgb(size_t(Width) * Height * 3);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(size_t(y) * Width + x) * 3 + c] = rgba[(size_t(Height - 1 - y) * Width + x) * 4 + c];
    return rgb;
}

void expectFrame(const std::string& name)
{
    const std::vector<uint8_t> actual = screenRgb();
    const std::string golden = KESTRAVA_FRAMES_GOLDEN_DIR "/" + name + ".png";
    const char* record = std::getenv("KESTRAVA_RECORD_GOLDEN");
    if (record && std::string(record) == "1") {
        savePng(golden, actual);
        return;
    }
    const std::string out = KESTRAVA_FRAMES_OUT_DIR "/" + name;
    int w = 0, h = 0;
    std::vector<uint8_t> expected;
    if (!platformDecodeImage(golden, &w, &h, &expected) || w != Width || h != Height) {
        savePng(out + ".actual.png", actual);
        ADD_FAILURE() << golden << " is missing or not " << Width << " by " << Height
                      << " (KESTRAVA_RECORD_GOLDEN=1 records it); the frame drawn: " << out << ".actual.png";
        return;
    }
    int differing = 0, beyond = 0;
    std::vector<uint8_t> diff(actual.size());
    for (size_t p = 0; p < size_t(Width) * Height; ++p) {
        int most = 0;
        for (int c = 0; c < 3; ++c)
            most = std::max(most, std::abs(int(actual[p * 3 + c]) - int(expected[p * 4 + c])));
        differing += most > 0;
        beyond += most > 2;
        const uint8_t grey = uint8_t(expected[p * 4 + 1] / 3);
        const uint8_t mark[3][3] = {{grey, grey, grey}, {255, 255, 0}, {255, 0, 0}};
        const int kind = most == 0 ? 0 : most <= 2 ? 1 : 2;
        std::copy(mark[kind], mark[kind] + 3, &diff[p * 3]);
    }
    if (beyond == 0 && differing * 10000 <= Width * Height)
        return;
    savePng(out + ".actual.png", actual);
    savePng(out + ".diff.png", diff);
    ADD_FAILURE() << name << ": " << differing << " pixels differ, " << beyond
                  << " of them by more than 2\n  " << out << ".actual.png\n  " << out << ".diff.png";
}

// The game at start-up in the generated data. The menu's falling points are
// seeded from the wall clock: they get a fixed grid and speeds instead, and
// heights spread through their fall, as after a while on the menu. The menu
// starts from rest, whatever ran before in this process.
void startUp()
{
    startGame(false, Width, Height);
    setAutopilot(false);
    Process.pointsFilled = true;
    Process.pointSpacingX = 20;
    Process.pointSpacingZ = 25;
    for (int k = 0; k < FallingPointCount; ++k) {
        Process.PointHeights[k] = -float(unsigned(k) * 104729u % 500u);
        Process.PointSpeeds[k] = float(unsigned(k) * 7919u % 50u + 1u) / 100.0f;
    }
    for (MenuItem& item : Process.MenuItems)
        item.spin = 0.0f;
    Process.rotorAngle = 0.0f;
    Process.bobOffset = 0.0f;
    Process.bobRising = true;
    Process.creditsScroll = -130.0f;
}

// Runs the frame loop up to the last shot at 60 frames a second, `script`
// setting the keys at the start of each frame, and checks each shot.
void play(const std::vector<Shot>& shots, const std::function<void(int frame)>& script)
{
    headless::onFrame([&](int frame) {
        paceAt60(frame);
        script(frame);
    });
    size_t next = 0;
    for (int frame = 0; next < shots.size(); ++frame) {
        const bool shown = frame == shots[next].frame;
        ASSERT_TRUE(runFrame(shown));
        if (shown)
            expectFrame(shots[next++].name);
    }
    headless::onFrame(nullptr);
    ASSERT_TRUE(headless::messageBoxes().empty()) << headless::messageBoxes()[0].text;
}

// A key down for the one frame `at`.
void tap(int frame, int at, int vk) { headless::setKey(vk, frame == at); }

} // namespace

TEST(GoldenFrames, MenuInstructionsAndCredits)
{
    REQUIRE_DATA();
    InDataDir data;
    startUp();
    // Instructions: fires 90 frames from its key; Credits: 54.
    play({{40, "menu_idle"},
          {80, "menu_instructions_spin"},
          {150, "instructions"},
          {190, "menu_credits_spin"},
          {230, "credits_title"},
          {240, "credits_rolled_60"},
          {250, "credits_rolled_140"},
          {260, "credits_end"}},
         [](int frame) {
             tap(frame, 50, 'I');
             tap(frame, 160, VK_ESCAPE);
             tap(frame, 170, 'C');
             // Rolled on as far as minutes of rolling take them.
             if (frame == 240)
                 Process.creditsScroll = -70.0f;
             if (frame == 250)
                 Process.creditsScroll = 10.0f;
             if (frame == 260)
                 Process.creditsScroll = 130.0f;
         });
}

TEST(GoldenFrames, LoadingAndCountdown)
{
    REQUIRE_DATA();
    InDataDir data;
    startUp();
    // Start Game fires 67 frames from its key, and the loading starts in
    // that frame: it runs in frames 76 to 85, the last of which starts the
    // game and its countdown.
    std::vector<Shot> shots = {{35, "menu_start_spin"}};
    for (int step = 1; step <= 10; ++step)
        shots.push_back({75 + step, (step < 10 ? "loading_step_0" : "loading_step_") + std::to_string(step)});
    shots.back().name += "_game_starts";
    // Ready, 3, 2 and 1 a second each from the game's first frame, then the
    // course runs.
    shots.insert(shots.end(), {{85 + 30, "countdown_ready"},
                               {85 + 90, "countdown_3"},
                               {85 + 150, "countdown_2"},
                               {85 + 210, "countdown_1"},
                               {85 + 250, "countdown_go"}});
    play(shots, [](int frame) { tap(frame, 10, 'S'); });
}

// The demo player plays a whole game from the menu and wins.
TEST(GoldenFrames, DemoPlayerFlightCombatAndWin)
{
    REQUIRE_DATA();
    InDataDir data;
    startUp();
    setAutopilot(true);
    // The flights are named by how far along the course they are.
    play({{800, "flight_course_01pct"},
          {1908, "combat_enemies_firing"},
          {2208, "combat_enemy_crash"},
          {2795, "combat_base_wreck"},
          {3600, "flight_course_29pct"},
          {4791, "combat_rocket_explosion"},
          {4900, "combat_damaged_base"},
          {6400, "flight_course_59pct"},
          {8400, "flight_course_80pct"},
          {9600, "flight_course_95pct"},
          {10012, "won"}},
         [](int) {});
    setAutopilot(false);
}

// Nobody at the keys: the enemies shoot the hero down. Started as Start
// Game starts it, without the menu's spin (and so with no loading bar).
TEST(GoldenFrames, NobodyAtTheKeysShotDown)
{
    REQUIRE_DATA();
    InDataDir data;
    startUp();
    enterLoading();
    play({{1650, "flight_hero_hit"}, {4510, "lost"}}, [](int) {});
}
