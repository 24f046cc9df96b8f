#include "world/path_file.h"

#include <cstring>

char PathText[PathTextSize];
FILE* PathFile = nullptr;

void loadPathText()
{
    std::memset(PathText, 0, PathTextSize);
    // A second load without a teardown in between must not leak the first
    // stream.
    closePathFile();
    PathFile = std::fopen("Patho.txt", "r");
    if (!PathFile)
        return;

    // Text mode: a carriage return before a line feed is dropped, so that
    // a course written with CR LF line ends reads like one written with LF
    // (a carriage return is no separator and would otherwise make a token
    // of its own after a trailing space).
    size_t length = 0;
    bool pendingReturn = false;
    int c;
    while (length < PathTextSize - 1 && (c = std::getc(PathFile)) != EOF) {
        if (pendingReturn) {
            pendingReturn = false;
            if (c != '\n') {
                PathText[length++] = '\r';
                if (length == PathTextSize - 1)
                    break;
            }
        }
        if (c == '\r')
            pendingReturn = true;
        else
            PathText[length++] = static_cast<char>(c);
    }
    if (pendingReturn && length < PathTextSize - 1)
        PathText[length++] = '\r';
}

void closePathFile()
{
    if (PathFile) {
        std::fclose(PathFile);
        PathFile = nullptr;
    }
}
