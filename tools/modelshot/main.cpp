// modelshot <data dir> <view> <out.png> [argument]
// modelshot <data dir> <File.ASE> <out.png>
// modelshot <data dir> icon <theme dir> <size,size,...>
// Renders one view of the game's data headless; given a file name, the
// view the game shows that file in. See views.cpp for the views and how
// each places its models. The icon mode writes the game's icon at each size
// into <theme dir>/<N>x<N>/apps/kestrava.png (see icon.h).
#include "icon.h"
#include "shot.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: modelshot <data dir> <view> <out.png> [argument]\n"
                             "       modelshot <data dir> icon <theme dir> <size,size,...>\n");
        return 2;
    }
    std::string out = std::filesystem::absolute(argv[3]).string();
    std::string view = argv[2];
    // The game opens every file by its bare name in the data directory.
    std::filesystem::current_path(argv[1]);
    if (view == "icon") {
        std::vector<int> sizes = parseIconSizes(argc > 4 ? argv[4] : "");
        if (sizes.empty()) {
            std::fprintf(stderr, "modelshot: icon sizes are a list such as 16,32,48, each up to %d\n",
                         IconRenderSize);
            return 2;
        }
        return writeIcons(out, sizes) ? 0 : 1;
    }
    if (!renderView(view, argc > 4 ? argv[4] : "", out)) {
        std::fprintf(stderr, "modelshot: unknown view %s\n", argv[2]);
        return 2;
    }
    return 0;
}
