#include "data_writer.h"

#include <fstream>
#include <stdexcept>

DataWriter::DataWriter(std::filesystem::path dir) : dir_(std::move(dir))
{
    std::filesystem::create_directories(dir_ / "Textures");
    std::filesystem::create_directories(dir_ / "Sounds");
}

void DataWriter::save(const std::filesystem::path& path, const void* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), std::streamsize(size));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
    written_.push_back(std::filesystem::relative(path, dir_).generic_string());
}

void DataWriter::ase(const std::string& fileName, AseScene scene)
{
    scene.fileName = fileName;
    std::string text = writeAse(scene);
    save(dir_ / fileName, text.data(), text.size());
}

void DataWriter::texture(const std::string& fileName, const Image& image)
{
    auto isPowerOfTwo = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    if (!isPowerOfTwo(image.width) || !isPowerOfTwo(image.height) || image.width > 1024 ||
        image.height > 1024)
        throw std::invalid_argument(fileName + ": textures are powers of two up to 1024");
    std::vector<uint8_t> png = encodePng(image);
    save(dir_ / "Textures" / fileName, png.data(), png.size());
}

void DataWriter::text(const std::string& fileName, const std::string& content)
{
    save(dir_ / fileName, content.data(), content.size());
}

void DataWriter::sound(const std::string& fileName, const std::vector<uint8_t>& wav)
{
    save(dir_ / fileName, wav.data(), wav.size());
}
