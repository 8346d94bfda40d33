// Writes the property list and terminology resources as binary files for the
// Windows resource compiler: pipl_x86.bin, pipl_x64.bin and aete.bin in the given folder.
#include <cstdio>
#include <string>
#include <vector>

#include "host/aete.h"
#include "host/pipl.h"

namespace {

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvanthe_resgen <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    using corvanthe::EntryArchitecture;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } files[] = {
        {"pipl_x86.bin", corvanthe::pipl_resource(EntryArchitecture::X86)},
        {"pipl_x64.bin", corvanthe::pipl_resource(EntryArchitecture::X64)},
        {"aete.bin", corvanthe::aete_resource()},
    };
    for (const auto& file : files) {
        const std::string path = folder + "/" + file.name;
        if (!write_file(path, file.bytes)) {
            std::fprintf(stderr, "corvanthe_resgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
