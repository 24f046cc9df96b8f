#pragma once

// SHA-256, for checking the game's data files against the list of them the
// build writes.

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
  public:
    Sha256();
    void add(const void* data, size_t size);
    // The digest as 64 lower-case hex digits. Ends the hashing.
    std::string hex();

  private:
    void block(const uint8_t* data);

    uint32_t state_[8];
    uint8_t buffer_[64];
    size_t buffered_ = 0;
    uint64_t length_ = 0;
};

// The digest of a file's bytes; empty when it cannot be read.
std::string sha256OfFile(const std::string& path);
