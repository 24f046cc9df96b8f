#pragma once

// The bytes of one ASE file, whole, as the reader's tokens read them: a
// zero byte after the last one, and a few more readable bytes after that so
// that the tokens can look at 16 bytes at a time. A text that begins with a
// UTF-16 byte-order mark (as some exporters write) is kept as the same text
// in UTF-8.
//
// A file of MapFrom bytes or more is mapped into memory where the zeros
// the system puts after its end in the last page are enough; otherwise it
// is read into a buffer.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class AseText {
  public:
    // Below this a mapping costs more than the copy. With the reader as it
    // is now, mapping took 8 to 10% longer than reading for models of
    // 68 to 120 KB, as long for HeroHeli.ASE (362 KB), and 3% and 10% less
    // time for road.ASE (935 KB) and main.ASE (1.6 MB), where the copy
    // had become a tenth of the read.
    static constexpr size_t MapFrom = size_t(512) << 10;

    AseText() { assign({}); }
    explicit AseText(std::string_view bytes) { assign(bytes); }
    ~AseText() { unmap(); }
    AseText(const AseText&) = delete;
    AseText& operator=(const AseText&) = delete;

    // Reads the whole file, whatever its size, within memory; false, and
    // an empty text, when it cannot be opened.
    bool readFile(const std::string& path);

    const char* data() const { return data_; }
    // Bytes of text, the first zero byte and what follows it included.
    size_t size() const { return size_; }

    static constexpr size_t Padding = 64;

  private:
    void assign(std::string_view bytes);
    // Room for `size` bytes and the zeros after them; the bytes themselves
    // are not cleared first.
    char* allocate(size_t size);
    bool map(int fd, size_t size);
    void unmap();

    std::unique_ptr<char[]> bytes_;
    const char* data_ = nullptr;
    size_t size_ = 0;
    void* mapped_ = nullptr;
    size_t mappedLength_ = 0;
};
