#include "scene/ase_text.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void appendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// UTF-16 after its byte-order mark, as UTF-8. A surrogate without its
// partner becomes U+FFFD, and an odd last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) {
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        return static_cast<uint32_t>(hi << 8 | lo);
    };
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        uint32_t code = unit(i);
        if (code >= 0xd800 && code < 0xdc00 && i + 3 < bytes.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xdc00 && low < 0xe000) {
                code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
                i += 2;
            } else {
                code = 0xfffd;
            }
        } else if (code >= 0xd800 && code < 0xe000) {
            code = 0xfffd;
        }
        appendUtf8(out, code);
    }
    return out;
}

bool isUtf16(std::string_view bytes, bool* bigEndian)
{
    if (bytes.size() < 2)
        return false;
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    *bigEndian = first == 0xfe && second == 0xff;
    return *bigEndian || (first == 0xff && second == 0xfe);
}

} // namespace

char* AseText::allocate(size_t size)
{
    unmap();
    bytes_.reset(new char[size + 1 + Padding]);
    std::memset(bytes_.get() + size, 0, 1 + Padding);
    size_ = size;
    data_ = bytes_.get();
    return bytes_.get();
}

bool AseText::map(int fd, size_t size)
{
    // Small files are read. The zeros after the end must lie in the file's
    // last page.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    if (size < MapFrom || size % page == 0 || page - size % page < 1 + Padding)
        return false;
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (mapped == MAP_FAILED)
        return false;
    bytes_.reset();
    mapped_ = mapped;
    mappedLength_ = size;
    data_ = static_cast<const char*>(mapped);
    size_ = size;
    return true;
}

void AseText::unmap()
{
    if (mapped_)
        munmap(mapped_, mappedLength_);
    mapped_ = nullptr;
    mappedLength_ = 0;
}

void AseText::assign(std::string_view bytes)
{
    bool bigEndian = false;
    if (isUtf16(bytes, &bigEndian)) {
        const std::string text = utf16ToUtf8(bytes, bigEndian);
        std::memcpy(allocate(text.size()), text.data(), text.size());
        return;
    }
    if (!bytes.empty())
        std::memcpy(allocate(bytes.size()), bytes.data(), bytes.size());
    else
        allocate(0);
}

bool AseText::readFile(const std::string& path)
{
    allocate(0);
    // Read only: a read-only installation must still load its models.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    size_t expected = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
    if (expected > 0 && map(fd, expected)) {
        close(fd);
        bool bigEndian = false;
        if (isUtf16({data_, size_}, &bigEndian)) {
            const std::string converted = utf16ToUtf8({data_, size_}, bigEndian);
            std::memcpy(allocate(converted.size()), converted.data(), converted.size());
        }
        return true;
    }
    // One read straight into the text when the size is known; the file
    // may still grow or shrink meanwhile, so reading goes on to its end.
    size_t capacity = expected + 1;
    char* text = allocate(capacity);
    size_t got = 0;
    bool failed = false;
    for (;;) {
        if (got == capacity) {
            const size_t larger = capacity * 2;
            std::unique_ptr<char[]> previous = std::move(bytes_);
            text = allocate(larger);
            std::memcpy(text, previous.get(), got);
            capacity = larger;
        }
        const ssize_t n = read(fd, text + got, capacity - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failed = true;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    // A file that opens but cannot be read (a directory, say) reads as an
    // empty text, from which no model comes.
    if (failed)
        got = 0;
    std::memset(text + got, 0, 1 + Padding);
    size_ = got;
    bool bigEndian = false;
    if (isUtf16({text, got}, &bigEndian)) {
        const std::string converted = utf16ToUtf8({text, got}, bigEndian);
        std::memcpy(allocate(converted.size()), converted.data(), converted.size());
    }
    return true;
}
