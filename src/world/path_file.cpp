#include "world/path_file.h"

#include "scene/damaged_files.h"
#include "world/level_state.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

void loadPathText()
{
    std::fill(Level.PathText.begin(), Level.PathText.end(), '\0');
    // A second load without a teardown in between closes the first stream.
    Level.PathFile.reset(std::fopen("Patho.txt", "r"));
    if (!Level.PathFile) {
        reportDamagedFile("Patho.txt", "missing");
        return;
    }

    // Text mode: a carriage return before a line feed is dropped, so that
    // a course written with CR LF line ends reads like one written with LF
    // (a carriage return is no separator and would otherwise make a token
    // of its own after a trailing space).
    // Read a block at a time, the runs between carriage returns copied
    // whole: byte by byte it took 12 M instructions in the frame that also
    // draws the game's first picture.
    const size_t room = PathTextSize - 1;
    char* text = Level.PathText.data();
    size_t length = 0;
    bool pendingReturn = false;
    std::vector<char> block(size_t(1) << 16);
    size_t got = 0;
    while (length < room && (got = std::fread(block.data(), 1, block.size(), Level.PathFile.get())) > 0) {
        for (size_t i = 0; i < got && length < room;) {
            if (pendingReturn) {
                pendingReturn = false;
                if (block[i] != '\n') {
                    text[length++] = '\r';
                    if (length == room)
                        break;
                }
            }
            const void* found = std::memchr(block.data() + i, '\r', got - i);
            const size_t end =
                found ? static_cast<size_t>(static_cast<const char*>(found) - block.data()) : got;
            const size_t run = std::min(end - i, room - length);
            std::memcpy(text + length, block.data() + i, run);
            length += run;
            i += run;
            if (i < got && i == end && length < room) {
                pendingReturn = true;
                ++i;
            }
        }
    }
    if (pendingReturn && length < PathTextSize - 1)
        Level.PathText[length++] = '\r';
    if (wholeCourseRecords(Level.PathText.data(), 1) == 0)
        reportDamagedFile("Patho.txt", "it holds no whole course record (four numbers: x, y, z and heading)");
}

namespace {

bool isSeparator(char c) { return c != '\0' && std::strchr("\" ,\t\n)(*", c) != nullptr; }

// A decimal number as the course writes them: a sign, digits with at most
// one point, and an exponent.
bool isNumber(const char* begin, const char* end)
{
    const char* p = begin;
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    int digits = 0;
    bool point = false;
    for (; p < end && (std::isdigit(static_cast<unsigned char>(*p)) || (*p == '.' && !point)); ++p) {
        point = point || *p == '.';
        digits += *p != '.';
    }
    if (digits == 0)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        if (p == end || !std::isdigit(static_cast<unsigned char>(*p)))
            return false;
        while (p < end && std::isdigit(static_cast<unsigned char>(*p)))
            ++p;
    }
    return p == end;
}

} // namespace

int wholeCourseRecords(const char* text, int enough)
{
    int records = 0;
    int numbersInRun = 0;
    bool firstWord = true;
    for (const char* p = text; *p;) {
        while (isSeparator(*p))
            ++p;
        if (!*p)
            break;
        const char* start = p;
        while (*p && !isSeparator(*p))
            ++p;
        if (firstWord) {
            firstWord = false;
            continue;
        }
        if (!isNumber(start, p)) {
            numbersInRun = 0;
            continue;
        }
        if (++numbersInRun == 4) {
            if (++records == enough)
                break;
            numbersInRun = 0;
        }
    }
    return records;
}
