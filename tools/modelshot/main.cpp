// modelshot <data dir> <view> <out.png> [argument]
// modelshot <data dir> <File.ASE> <out.png>
// Renders one view of the game's data headless; given a file name, the
// view the game shows that file in. See views.cpp for the views and how
// each places its models.
#include "shot.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: modelshot <data dir> <view> <out.png> [argument]\n");
        return 2;
    }
    std::string out = std::filesystem::absolute(argv[3]).string();
    // The game opens every file by its bare name in the data directory.
    std::filesystem::current_path(argv[1]);
    if (!renderView(argv[2], argc > 4 ? argv[4] : "", out)) {
        std::fprintf(stderr, "modelshot: unknown view %s\n", argv[2]);
        return 2;
    }
    return 0;
}
