#include "shell/startup.h"

#include "input/platform.h"
#include "shell/autopilot.h"
#include "shell/data_check.h"
#include "shell/frame_loop.h"
#include "shell/settings.h"
#include "world/process_state.h"

#include <cstdio>

#include <filesystem>
#include <system_error>

#ifndef KESTRAVA_VERSION
#define KESTRAVA_VERSION "0.0"
#endif
#ifndef KESTRAVA_INSTALL_DATA_DIR
#define KESTRAVA_INSTALL_DATA_DIR "/usr/local/share/kestrava"
#endif

void centreWindow(int* outX, int* outY, int width, int height)
{
    *outX = 0;
    *outY = 0;
    if (width < Process.ScreenWidth && height < Process.ScreenHeight) {
        *outX = (Process.ScreenWidth - width) / 2;
        *outY = (Process.ScreenHeight - height) / 2;
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

const char* const Usage = "usage: kestrava [--windowed | --fullscreen] [--demo] [--mute]\n"
                          "       kestrava --check-data [DIRECTORY]\n"
                          "  --windowed      start in an 800 by 600 window, without the start-up dialog\n"
                          "  --fullscreen    start full screen, without the start-up dialog\n"
                          "  --demo          watch the game play itself: it starts a game, aims, fires\n"
                          "                  and dodges as a player would, tells on standard output what\n"
                          "                  it sees happen, and starts again after each game\n"
                          "  --mute          start with the sound off (M turns it on and off in the game)\n"
                          "  --check-data    check the game's data files (or those in DIRECTORY) against\n"
                          "                  the list the build made and the game's reader; prints one\n"
                          "                  line per problem and exits with status 1 if there is any\n"
                          "  --version       the game's version\n"
                          "  --help          this text\n";

const char* const VersionText = "kestrava " KESTRAVA_VERSION "\n";

Options parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--demo")
            options.demo = true;
        else if (a == "--mute")
            options.mute = true;
        else if (a == "--help" || a == "-h")
            options.help = true;
        else if (a == "--version")
            options.version = true;
        else if (a == "--windowed")
            options.mode = ModeChoice::Windowed;
        else if (a == "--fullscreen")
            options.mode = ModeChoice::FullScreen;
        else if (a == "--check-data") {
            options.checkData = true;
            if (i + 1 < arguments.size() && arguments[i + 1].rfind("-", 0) != 0)
                options.checkDirectory = arguments[++i];
        } else if (options.unknown.empty())
            options.unknown = a;
    }
    return options;
}

namespace {

// The display mode: from the command line, else from the dialog, which
// offers the last choice made in it and remembers the new one. False when
// the player left the dialog.
bool chooseDisplayMode(const Options& options, bool* fullScreen)
{
    if (options.mode != ModeChoice::Dialog) {
        *fullScreen = options.mode == ModeChoice::FullScreen;
        return true;
    }
    const std::string path = settingsPath();
    Settings settings = loadSettings(path);
    *fullScreen = settings.fullScreen;
    if (!platformRunDisplayDialog(fullScreen))
        return false;
    if (settings.fullScreen != *fullScreen) {
        settings.fullScreen = *fullScreen;
        saveSettings(path, settings);
    }
    return true;
}

} // namespace

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
    if (options.version) {
        std::fputs(VersionText, stdout);
        return 0;
    }
    if (options.checkData)
        return checkDataCommand(options.checkDirectory);
    setAutopilot(options.demo, options.demo);
    chooseDataDirectory();

    std::string error;
    if (!platformOpenDisplay(&error)) {
        platformErrorBox(error.c_str(), "Kestrava");
        return 1;
    }
    DisplaySize usable = platformUsableDisplaySize();
    Process.ScreenWidth = usable.width;
    Process.ScreenHeight = usable.height;

    bool fullScreen = false;
    if (!chooseDisplayMode(options, &fullScreen)) {
        Process.ExitRequested = true;
        platformShutdown();
        return 0;
    }
    Process.FullScreen = fullScreen;
    // --mute holds for this run; M's choice is the one remembered.
    Process.Muted = options.mute || loadSettings(settingsPath()).muted;

    WindowRequest request;
    request.fullScreen = Process.FullScreen;
    if (!Process.FullScreen)
        centreWindow(&request.x, &request.y, request.width, request.height);

    if (!platformCreateWindow(request, &error)) {
        platformErrorBox(error.c_str(), "Kestrava");
        platformShutdown();
        return 1;
    }

    platformOpenSound();
    initGame();
    while (runFrame()) {
    }
    releaseGame();
    platformShutdown();
    return 0;
}
