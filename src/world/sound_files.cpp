#include "world/sound_files.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint32_t read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

} // namespace

bool parseWav(const std::vector<uint8_t>& bytes, WavSound* sound, std::string* error)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        *error = "not a WAV file";
        return false;
    }
    bool haveFormat = false;
    // Chunks follow the header, each padded to an even length.
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t size = read32(chunk + 4);
        if (size > bytes.size() - at - 8) {
            *error = "a chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            if (read16(chunk + 8) != 1) {
                *error = "not PCM";
                return false;
            }
            sound->channels = read16(chunk + 10);
            sound->sampleRate = static_cast<int>(read32(chunk + 12));
            sound->bitsPerSample = read16(chunk + 22);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat || sound->bitsPerSample != 16 || sound->channels < 1) {
                *error = "not 16-bit PCM";
                return false;
            }
            sound->samples.resize(size / 2);
            for (size_t i = 0; i < sound->samples.size(); ++i)
                sound->samples[i] = static_cast<int16_t>(read16(chunk + 8 + 2 * i));
            return true;
        }
        at += 8 + size + (size & 1);
    }
    *error = "no sound data";
    return false;
}

bool readWavFile(const std::string& path, WavSound* sound, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "missing";
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseWav(bytes, sound, error);
}
