#pragma once

// The bytes of one ASE file, whole, as the reader's tokens read them: a
// zero byte after the last one, and a few more readable bytes after that so
// that the tokens can look at 16 bytes at a time. A text that begins with a
// UTF-16 byte-order mark (as some exporters write) is kept as the same text
// in UTF-8.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class AseText {
  public:
    AseText() { assign({}); }
    explicit AseText(std::string_view bytes) { assign(bytes); }

    // Reads the whole file, whatever its size, within memory; false, and
    // an empty text, when it cannot be opened.
    bool readFile(const std::string& path);

    const char* data() const { return bytes_.get(); }
    // Bytes of text, the first zero byte and what follows it included.
    size_t size() const { return size_; }

    static constexpr size_t Padding = 64;

  private:
    void assign(std::string_view bytes);
    // Room for `size` bytes and the zeros after them; the bytes themselves
    // are not cleared first.
    char* allocate(size_t size);

    std::unique_ptr<char[]> bytes_;
    size_t size_ = 0;
};
