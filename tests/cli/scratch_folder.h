#pragma once
// A private folder for one test program's files, removed when the program ends.
#include <unistd.h>

#include <filesystem>
#include <string>

namespace corvanthe::cli {

inline const std::filesystem::path& scratch_folder() {
    struct Folder {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("corvanthe-cli-test-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

}  // namespace corvanthe::cli
