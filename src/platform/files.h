#pragma once
// Files as the program's own formats use them: the result codes every file
// operation returns, opening by a UTF-8 path, and replacing a file in one step.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace corvanthe {

// 16-bit results of file operations.
enum FileResult : int16_t {
    kFileOk = 0,
    kFileReadError = -19,
    kFileWriteError = -20,
    kFileNoUniqueName = 48,
    kFileCannotOpen = 99,
};

// Paths are UTF-8 on every system.
bool file_exists(const std::string& path);
std::FILE* open_file(const std::string& path, const char* mode);
// Creates one folder level; true when it is there afterwards (also when it was before).
bool make_folder(const std::string& path);
// The names of the entries of a folder that are not folders themselves (a link counts
// as what it leads to), in no particular order; false when it cannot be listed.
bool list_folder_files(const std::string& folder, std::vector<std::string>& names);

// A new file that takes the place of an old one only when it is complete. It is
// written beside the file it replaces under a name of its own, created exclusively,
// so that no file of the user's is ever overwritten or removed in passing.
struct ReplacementFile {
    std::FILE* stream = nullptr;
    std::string temporary;  // the new file while it is written
    std::string target;     // the file it replaces: where a link leads, not the link
};

// Starts the new file for `path`. The new file gets the old file's permissions (a new
// target gets the usual ones); on Linux, when `path` is a symbolic link, the file it
// leads to is replaced and the link kept. False when it cannot be created.
bool start_replacement(const std::string& path, ReplacementFile& file);

// Closes the stream and puts the new file in place of the target, so that a reader
// sees either the old file or the whole new one; on Linux a file with further hard
// links is rewritten where it is, so that every name keeps seeing it; on Windows the
// old file's attributes are kept. False when the target could not be replaced; it is
// then left as it was (but for an in-place rewrite that failed part way) and the new
// file is gone.
bool finish_replacement(ReplacementFile& file);

// Closes and removes the new file; the target stays as it was.
void abandon_replacement(ReplacementFile& file);

}  // namespace corvanthe
