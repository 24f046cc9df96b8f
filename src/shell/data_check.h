#pragma once

#include <string>
#include <vector>

// kestrava --check-data: is the data directory whole? Its files are checked
// against the manifest the build wrote (sizes and SHA-256), then read as
// the game reads them: every model yields its nodes, the named ones among
// them; every texture decodes; the course holds whole records. Needs no
// display and makes no GL texture.

// The problems found in `directory`, one line each, empty when there is
// none. Runs in that directory and returns to the current one.
std::vector<std::string> checkDataDirectory(const std::string& directory);

// The command: checks `directory`, or where the game would look when it is
// empty; prints one line per problem and a summary; returns the exit
// status (0 when whole, 1 otherwise).
int checkDataCommand(const std::string& directory);
