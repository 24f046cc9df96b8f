#pragma once

// The token stream of one ASE text, cut in place the way strtok cuts it:
// each token is zero-terminated where its delimiter was. Two delimiter sets:
// the general one (double quote, space, comma, tab, line feed, parentheses,
// asterisk) and the one for a bitmap path, which keeps spaces. So keywords
// arrive without their asterisk, quoted names lose their quotes and are cut
// at a space, and the colon of "A:" stays part of its token.
//
// The stream also keeps the nesting depth of the braces it has handed out,
// which lets the reader stop a list at the brace that closes its block
// instead of running on into the next object.

#include <cstddef>
#include <cstring>

class AseTokens {
  public:
    // `text` is zero-terminated and is written to.
    explicit AseTokens(char* text) : context_(text) {}

    // The next token with the general set; null once the text has ended.
    const char* next();
    // The next token with the bitmap set (the path after BITMAP).
    const char* nextBitmapPath();

    // The token last handed out, null at the end of the text.
    const char* current() const { return current_; }
    bool ended() const { return current_ == nullptr; }

    // A whole-token, case-sensitive comparison with the current token.
    template <size_t N> bool is(const char (&keyword)[N]) const
    {
        return current_ && length_ == N - 1 && std::memcmp(current_, keyword, N - 1) == 0;
    }

    // Braces handed out so far: each "{" counts one up, each "}" one down.
    int depth() const { return depth_; }

  private:
    const char* cut(const bool* delimiters);

    char* context_;
    const char* current_ = nullptr;
    size_t length_ = 0;
    int depth_ = 0;
};
