#include "scene/ase_tokens.h"

#include <initializer_list>

namespace {

struct DelimiterTable {
    bool general[256] = {};
    bool bitmap[256] = {};

    DelimiterTable()
    {
        for (unsigned char c : {'"', ',', '\t', '\n', ')', '(', '*'}) {
            general[c] = true;
            bitmap[c] = true;
        }
        general[static_cast<unsigned char>(' ')] = true;
    }
};

const DelimiterTable Delimiters;

} // namespace

const char* AseTokens::cut(const bool* delimiters)
{
    char* p = context_;
    while (*p && delimiters[static_cast<unsigned char>(*p)])
        ++p;
    if (!*p) {
        context_ = p;
        current_ = nullptr;
        length_ = 0;
        return nullptr;
    }
    char* token = p;
    while (*p && !delimiters[static_cast<unsigned char>(*p)])
        ++p;
    length_ = static_cast<size_t>(p - token);
    if (*p) {
        *p = '\0';
        ++p;
    }
    context_ = p;
    current_ = token;
    return token;
}

const char* AseTokens::next()
{
    const char* token = cut(Delimiters.general);
    if (token && length_ == 1) {
        if (*token == '{')
            ++depth_;
        else if (*token == '}')
            --depth_;
    }
    return token;
}

const char* AseTokens::nextBitmapPath() { return cut(Delimiters.bitmap); }
