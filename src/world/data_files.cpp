#include "world/data_files.h"

#include "world/sha256.h"

#include <filesystem>
#include <fstream>
#include <sstream>

const std::vector<ModelFile>& gameModelFiles()
{
    static const std::vector<ModelFile> files = {
        {"main.ASE",
         {"StartGame", "BoxStartGame", "Instructions", "BoxInstructions", "Credits", "BoxCredits", "Exit",
          "BoxExit"}},
        {"HeroHeli.ASE", {"HeliBody", "HeliRotor"}},
        {"Loading.ASE", {"Bar"}},
        {"Instructions.ASE", {}},
        {"Credits0.ASE", {}},
        {"Credits1.ASE", {}},
        {"Credits2.ASE", {}},
        {"Credits3.ASE", {}},
        {"fuel.ASE", {}},
        {"lives.ASE", {}},
        {"HeliMeters.ASE", {}},
        {"Ready.ASE", {}},
        {"NumberThree.ASE", {}},
        {"NumberTwo.ASE", {}},
        {"NumberOne.ASE", {}},
        {"Winning.ASE", {}},
        {"Loosing.ASE", {}},
        {"Paused.ASE", {}},
        {"MilitaryBase.ASE", {}},
        {"MilitaryBase1.ASE", {}},
        {"MilitaryBase2.ASE", {}},
        {"bullet.ASE", {}},
        {"Rocket.ASE", {}},
        {"explosion.ASE", {}},
        {"DestroyHeli(1).ASE", {}},
        {"Airplane0.ASE", {}},
        {"map1.ASE", {}},
        {"map2.ASE", {}},
        {"road.ASE", {}},
        {"Sky.ASE", {}},
    };
    return files;
}

bool readManifest(const std::string& path, std::vector<ManifestEntry>* entries)
{
    std::ifstream in(path);
    if (!in)
        return false;
    entries->clear();
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        // "<sha256> <size> <name>"; the name may hold spaces.
        std::istringstream fields(line);
        ManifestEntry entry;
        if (!(fields >> entry.sha256 >> entry.size) || entry.sha256.size() != 64)
            return false;
        std::getline(fields >> std::ws, entry.name);
        if (entry.name.empty() || entry.name.find("..") != std::string::npos || entry.name[0] == '/')
            return false;
        entries->push_back(entry);
    }
    return true;
}

std::vector<std::string> compareWithManifest(const std::string& directory,
                                             const std::vector<ManifestEntry>& entries)
{
    namespace fs = std::filesystem;
    std::vector<std::string> problems;
    for (const ManifestEntry& entry : entries) {
        const fs::path path = fs::path(directory) / entry.name;
        std::error_code ec;
        const uintmax_t size = fs::file_size(path, ec);
        if (ec) {
            problems.push_back(entry.name + ": missing");
            continue;
        }
        if (size != entry.size) {
            problems.push_back(entry.name + ": " + std::to_string(size) + " bytes where the build made " +
                               std::to_string(entry.size));
            continue;
        }
        const std::string digest = sha256OfFile(path.string());
        if (digest.empty())
            problems.push_back(entry.name + ": cannot be read");
        else if (digest != entry.sha256)
            problems.push_back(entry.name + ": its bytes differ from those the build made");
    }
    return problems;
}
