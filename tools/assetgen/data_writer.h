#pragma once

#include "ase.h"
#include "image.h"

#include <filesystem>
#include <string>
#include <vector>

// Writes the files of the data directory: models at its top, textures in
// its Textures folder (where the game looks for a material's bitmap), sounds
// in its Sounds folder.
class DataWriter {
  public:
    explicit DataWriter(std::filesystem::path dir);

    void ase(const std::string& fileName, AseScene scene);
    void texture(const std::string& fileName, const Image& image);
    void text(const std::string& fileName, const std::string& content);
    // A WAV file; the name includes its folder.
    void sound(const std::string& fileName, const std::vector<uint8_t>& wav);

    const std::vector<std::string>& written() const { return written_; }

  private:
    void save(const std::filesystem::path& path, const void* data, size_t size);

    std::filesystem::path dir_;
    std::vector<std::string> written_;
};

// Every file of the game's data, in a fixed order.
void writeAllData(DataWriter& out);
