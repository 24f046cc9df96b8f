#pragma once

#include <string>
#include <vector>

// The program's entry and its window: the display-settings dialog, the game
// window with its GL context, the frame loop and the shutdown.

// The whole program, given the command line's arguments after the program's
// name: returns the process's exit status (0 after the dialog's "Exit Game",
// a normal quit, --help or --version; 1 when no display, window or GL
// context can be had, or --check-data finds a problem; 2 for an argument it
// does not know).
int gameMain(const std::vector<std::string>& arguments = {});

enum class ModeChoice { Dialog, Windowed, FullScreen };

// What the command line asks for.
struct Options {
    bool demo = false; // the game plays itself
    bool help = false;
    bool version = false;
    ModeChoice mode = ModeChoice::Dialog; // --windowed and --fullscreen skip the dialog
    bool mute = false;                    // --mute: start with the sound off
    bool checkData = false;
    std::string checkDirectory; // --check-data's directory; empty: where the game looks
    std::string unknown;        // the first argument not understood, if any
};
Options parseOptions(const std::vector<std::string>& arguments);

extern const char* const Usage;
extern const char* const VersionText;

// Writes the top-left corner that centres a client area of the given size on
// the usable display; (0, 0) when the area does not fit inside it.
void centreWindow(int* outX, int* outY, int width, int height);

// Where the game's data may live, in the order tried: data/ beside the
// executable (the build tree), share/kestrava of the prefix the executable
// is installed in, then the directory the build was configured to install
// to.
std::vector<std::string> dataDirectoryCandidates();

// Every file is opened by its bare name in the current directory. When
// that directory lacks main.ASE, change to the first candidate that holds
// it. Returns the directory chosen, or empty when the game stays.
std::string chooseDataDirectory();
