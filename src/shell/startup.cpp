#include "shell/startup.h"

#include "platform/platform.h"
#include "shell/autopilot.h"
#include "shell/frame_loop.h"

#include <cstdio>

#include <filesystem>
#include <system_error>

#ifndef KESTRAVA_INSTALL_DATA_DIR
#define KESTRAVA_INSTALL_DATA_DIR "/usr/local/share/kestrava"
#endif

int ScreenWidth = 0;
int ScreenHeight = 0;
bool FullScreen = false;
bool ExitRequested = false;

void centreWindow(int* outX, int* outY, int width, int height)
{
    *outX = 0;
    *outY = 0;
    if (width < ScreenWidth && height < ScreenHeight) {
        *outX = (ScreenWidth - width) / 2;
        *outY = (ScreenHeight - height) / 2;
    }
}

std::vector<std::string> dataDirectoryCandidates()
{
    std::vector<std::string> candidates;
    std::string exeDir = platformExecutableDir();
    if (!exeDir.empty()) {
        candidates.push_back(exeDir + "data");              // the build tree
        candidates.push_back(exeDir + "../share/kestrava"); // an installed prefix
    }
    candidates.push_back(KESTRAVA_INSTALL_DATA_DIR);
    return candidates;
}

std::string chooseDataDirectory()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists("main.ASE", ec))
        return {};
    for (const std::string& dir : dataDirectoryCandidates()) {
        if (!fs::exists(fs::path(dir) / "main.ASE", ec))
            continue;
        fs::current_path(dir, ec);
        if (!ec)
            return dir;
    }
    return {};
}

const char* const Usage = "usage: kestrava [--demo]\n"
                          "  --demo   watch the game play itself: it starts a game, aims, fires and\n"
                          "           dodges as a player would, tells on standard output what it\n"
                          "           sees happen, and starts again after each game\n"
                          "  --help   this text\n";

Options parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    for (const std::string& a : arguments) {
        if (a == "--demo")
            options.demo = true;
        else if (a == "--help" || a == "-h")
            options.help = true;
        else if (options.unknown.empty())
            options.unknown = a;
    }
    return options;
}

int gameMain(const std::vector<std::string>& arguments)
{
    const Options options = parseOptions(arguments);
    if (!options.unknown.empty()) {
        std::fprintf(stderr, "kestrava: unknown argument '%s'\n%s", options.unknown.c_str(), Usage);
        return 2;
    }
    if (options.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    setAutopilot(options.demo, options.demo);
    chooseDataDirectory();

    DisplaySize usable = platformUsableDisplaySize();
    ScreenWidth = usable.width;
    ScreenHeight = usable.height;

    bool fullScreen = false;
    if (!platformRunDisplayDialog(&fullScreen)) {
        ExitRequested = true;
        return 0;
    }
    FullScreen = fullScreen;

    WindowRequest request;
    request.fullScreen = FullScreen;
    if (!FullScreen)
        centreWindow(&request.x, &request.y, request.width, request.height);

    std::string error;
    if (!platformCreateWindow(request, &error)) {
        platformErrorBox(error.c_str(), "Kestrava");
        platformShutdown();
        return 1;
    }

    initGame();
    while (runFrame()) {
    }
    platformShutdown();
    return 0;
}
