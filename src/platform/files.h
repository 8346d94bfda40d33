#pragma once
// Files as the program's own formats use them: the result codes every file
// operation returns, and replacing a file in one step.
#include <cstdint>
#include <string>

namespace corvanthe {

// 16-bit results of file operations.
enum FileResult : int16_t {
    kFileOk = 0,
    kFileReadError = -19,
    kFileWriteError = -20,
    kFileNoUniqueName = 48,
    kFileCannotOpen = 99,
};

bool file_exists(const std::string& path);

// Moves `from` over `to`, replacing any file there in one step, so that a reader
// sees either the old file or the whole new one.
bool replace_file(const std::string& from, const std::string& to);

}  // namespace corvanthe
