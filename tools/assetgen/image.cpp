#include "image.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

void Image::set(int x, int y, int r, int g, int b, int a)
{
    uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
    p[0] = uint8_t(r);
    p[1] = uint8_t(g);
    p[2] = uint8_t(b);
    p[3] = uint8_t(a);
}

uint8_t clampByte(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data)
{
    put32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + start, uInt(out.size() - start));
    put32(out, uint32_t(crc));
}

} // namespace

std::vector<uint8_t> encodePng(const Image& image)
{
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<uint8_t> header;
    put32(header, uint32_t(image.width));
    put32(header, uint32_t(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter method, no interlace
    chunk(out, "IHDR", header);

    // Every row with filter type 0 (none): simple and always the same.
    size_t row = size_t(image.width) * 4;
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), image.pixels.begin() + long(row * size_t(y)),
                   image.pixels.begin() + long(row * size_t(y + 1)));
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK)
        throw std::runtime_error("PNG compression failed");
    packed.resize(packedSize);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return out;
}
