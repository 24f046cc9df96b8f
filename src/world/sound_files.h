#pragma once

// Reading the game's sound files: 16-bit PCM WAV. The platform plays them
// through its mixer; the data check and the tests read them here.

#include <cstdint>
#include <string>
#include <vector>

struct WavSound {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    std::vector<int16_t> samples; // interleaved when there are several channels
};

// The file's format and samples, or false with a sentence in *error when
// it cannot be read or is not 16-bit PCM WAV.
bool readWavFile(const std::string& path, WavSound* sound, std::string* error);
bool parseWav(const std::vector<uint8_t>& bytes, WavSound* sound, std::string* error);
