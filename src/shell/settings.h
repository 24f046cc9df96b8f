#pragma once

#include <string>

// What the game remembers between runs: the display mode last chosen in the
// start-up dialog, which the dialog offers first next time, and whether the
// sound is muted. It is kept in a
// small text file of "name=value" lines in the user's configuration
// directory; lines the game does not know are kept as they are.

struct Settings {
    bool fullScreen = false;
    bool muted = false;
};

// $XDG_CONFIG_HOME/kestrava/settings, else ~/.config/kestrava/settings
// (from $HOME); empty when neither gives an absolute directory.
std::string settingsPath();

// The settings in the file, or the defaults for whatever is missing or
// unreadable.
Settings loadSettings(const std::string& path);

// Writes the file (and its directory) through a temporary file, so that a
// crash never leaves half a file. False when it cannot be written: a
// read-only or missing home changes nothing else.
bool saveSettings(const std::string& path, const Settings& settings);
