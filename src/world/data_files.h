#pragma once

// The game's data files, and the list of them the build writes beside them
// (MANIFEST: every file's SHA-256, size and name), against which an
// installation can be checked.

#include <cstdint>
#include <string>
#include <vector>

struct ModelFile {
    const char* name;
    // The nodes the game looks up by name in it.
    std::vector<const char*> requiredNodes;
};

// Every model the game reads.
const std::vector<ModelFile>& gameModelFiles();

constexpr const char* CourseFileName = "Patho.txt";
constexpr const char* ManifestFileName = "MANIFEST";

struct ManifestEntry {
    std::string sha256;
    uint64_t size = 0;
    std::string name; // relative to the data directory, with '/'
};

// The manifest's entries, or false when the file cannot be read or a line
// is not an entry.
bool readManifest(const std::string& path, std::vector<ManifestEntry>* entries);

// One line per way the files of `directory` differ from the manifest's
// entries: missing, another size, other bytes.
std::vector<std::string> compareWithManifest(const std::string& directory,
                                             const std::vector<ManifestEntry>& entries);
