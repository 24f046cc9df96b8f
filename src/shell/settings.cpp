#include "shell/settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace {

const char* const FullScreenKey = "fullscreen";
const char* const MutedKey = "muted";

// Every line of the file, or none when it cannot be read.
std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool isSetting(const std::string& line, const char* key)
{
    const std::string prefix = std::string(key) + "=";
    return line.compare(0, prefix.size(), prefix) == 0;
}

bool flag(const std::string& line, const char* key)
{
    return line.substr(std::string(key).size() + 1) == "1";
}

} // namespace

std::string settingsPath()
{
    // Relative directories in these variables are to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/kestrava/settings";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config/kestrava/settings";
    return {};
}

Settings loadSettings(const std::string& path)
{
    Settings settings;
    if (path.empty())
        return settings;
    for (const std::string& line : readLines(path)) {
        if (isSetting(line, FullScreenKey))
            settings.fullScreen = flag(line, FullScreenKey);
        if (isSetting(line, MutedKey))
            settings.muted = flag(line, MutedKey);
    }
    return settings;
}

bool saveSettings(const std::string& path, const Settings& settings)
{
    namespace fs = std::filesystem;
    if (path.empty())
        return false;
    std::ostringstream text;
    for (const std::string& line : readLines(path))
        if (!isSetting(line, FullScreenKey) && !isSetting(line, MutedKey) && !line.empty())
            text << line << '\n';
    text << FullScreenKey << '=' << (settings.fullScreen ? 1 : 0) << '\n';
    text << MutedKey << '=' << (settings.muted ? 1 : 0) << '\n';

    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text.str();
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, path, ec);
    if (ec)
        fs::remove(temporary, ec);
    return !ec;
}
