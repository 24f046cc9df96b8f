// One whole menu frame on the headless software renderer, at several
// spacings of the falling points: the grid runs from 400 points (spacing
// 49) up to a million (spacing 1). The second argument, 0, draws the points
// one by one where they would go as one picture; the third is the
// window's height: 600 for 800x600, else a 16:9 window.

#include "headless/headless_platform.h"
#include "screens/falling_points_image.h"
#include "screens/main_menu.h"
#include "shell/frame_loop.h"
#include "world/process_state.h"

#include <benchmark/benchmark.h>

#include <filesystem>

static void MenuFrame(benchmark::State& state)
{
    headless::reset();
    std::filesystem::path data = KESTRAVA_DATA_DIR;
    if (std::filesystem::exists(data / "main.ASE"))
        std::filesystem::current_path(data);
    const int height = static_cast<int>(state.range(2));
    headless::makeContext(height == 600 ? 800 : height * 16 / 9, height);
    initGame();
    runFrame(); // fills the points
    Process.pointSpacingX = Process.pointSpacingZ = static_cast<int>(state.range(0));
    // Heights spread through the fall, as after a while on the menu (at
    // the first frame every point starts at the top, above the view).
    for (int k = 0; k < FallingPointCount; ++k)
        Process.PointHeights[k] = -float(unsigned(k) * 104729u % 500u);
    FallingPointsImageAllowed = state.range(1) != 0;
    for (auto _ : state)
        runFrame();
    FallingPointsImageAllowed = true;
    releaseGame(); // its scenes' textures and lists go with this context
    state.counters["points"] =
        static_cast<double>((999 / Process.pointSpacingX + 1) * (999 / Process.pointSpacingZ + 1));
}
BENCHMARK(MenuFrame)
    ->Args({49, 1, 600})
    ->Args({10, 1, 600})
    ->Args({3, 1, 600})
    ->Args({2, 0, 600})
    ->Args({2, 1, 600})
    ->Args({1, 0, 600})
    ->Args({1, 1, 600})
    ->Args({49, 1, 1080})
    ->Args({1, 1, 1080})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
