#pragma once

// Damaged game files. The game goes on without what a damaged file holds
// (a blank menu, a helicopter that is not there, white surfaces), so it
// tells the player which file is damaged and how, once per file and
// problem: at the end of the frame that found it, on standard error and in
// one error box for all those found in that frame.

#include <string>
#include <vector>

void reportDamagedFile(const std::string& file, const std::string& problem);

// Shows, through `box` (the platform's error box), the files reported since
// the last call; nothing when there are none. Called once a frame.
void showDamagedFiles(void (*box)(const char* text, const char* caption));

// Every report so far, each "file: problem".
const std::vector<std::string>& damagedFileReports();

// Quiet, the reports are only collected: the data check prints them its
// own way. Clearing forgets them all (a test's fresh start).
void setDamageReportsQuiet(bool quiet);
bool damageReportsQuiet();
void clearDamagedFileReports();
