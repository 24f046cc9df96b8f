// Writes the game's whole data directory: assetgen <data dir> [font dir].
#include "data_writer.h"
#include "text3d.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen <data directory> [font directory]\n");
        return 2;
    }
    try {
        if (argc > 2)
            setFontDirectory(argv[2]);
        DataWriter out(argv[1]);
        writeAllData(out);
        std::printf("assetgen: %zu files written\n", out.written().size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
