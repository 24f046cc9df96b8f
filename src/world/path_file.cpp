#include "world/path_file.h"

#include "scene/damaged_files.h"
#include "world/level_state.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#define getc_unlocked _getc_nolock
#endif

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
    size_t length = 0;
    bool pendingReturn = false;
    int c;
    // The stream is ours alone: no lock for each of its half a million
    // bytes.
    while (length < PathTextSize - 1 && (c = getc_unlocked(Level.PathFile.get())) != EOF) {
        if (pendingReturn) {
            pendingReturn = false;
            if (c != '\n') {
                Level.PathText[length++] = '\r';
                if (length == PathTextSize - 1)
                    break;
            }
        }
        if (c == '\r')
            pendingReturn = true;
        else
            Level.PathText[length++] = static_cast<char>(c);
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
