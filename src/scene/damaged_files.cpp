#include "scene/damaged_files.h"

#include <algorithm>

namespace {

std::vector<std::string> Reports;
size_t Shown = 0;
bool Quiet = false;

} // namespace

void reportDamagedFile(const std::string& file, const std::string& problem)
{
    const std::string report = file + ": " + problem;
    if (std::find(Reports.begin(), Reports.end(), report) != Reports.end())
        return;
    Reports.push_back(report);
}

void showDamagedFiles(void (*box)(const char* text, const char* caption))
{
    if (Shown == Reports.size())
        return;
    std::string text = "Some of the game's files are damaged. The game goes on without what they hold; "
                       "reinstalling the game mends them.\n";
    for (size_t i = Shown; i < Reports.size(); ++i)
        text += "\n" + Reports[i];
    Shown = Reports.size();
    if (!Quiet)
        box(text.c_str(), "Kestrava: damaged game files");
}

const std::vector<std::string>& damagedFileReports() { return Reports; }

void setDamageReportsQuiet(bool quiet) { Quiet = quiet; }

bool damageReportsQuiet() { return Quiet; }

void clearDamagedFileReports()
{
    Reports.clear();
    Shown = 0;
}
