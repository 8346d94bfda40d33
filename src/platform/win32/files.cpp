#include "platform/files.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <atomic>

#include "platform/win32/wide_text.h"

namespace corvanthe {
namespace {

constexpr int kMaxNameTries = 100;
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void remove_file(const std::string& path) { DeleteFileW(wide_from_utf8(path).c_str()); }

}  // namespace

bool file_exists(const std::string& path) {
    return GetFileAttributesW(wide_from_utf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::FILE* open_file(const std::string& path, const char* mode) {
    return _wfopen(wide_from_utf8(path).c_str(), wide_from_utf8(mode).c_str());
}

bool make_folder(const std::string& path) {
    const std::wstring folder = wide_from_utf8(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool list_folder_files(const std::string& folder, std::vector<std::string>& names) {
    const bool separated = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW(wide_from_utf8(folder + (separated ? "*" : "\\*")).c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(utf8_from_wide(found.cFileName));
    } while (FindNextFileW(listing, &found));
    const bool listed = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(listing);
    return listed;
}

bool start_replacement(const std::string& path, ReplacementFile& file) {
    file = {};
    if (path.empty()) return false;
    file.target = path;
    const std::string base = path.substr(folder_of(path).size());
    static std::atomic<unsigned> counter{0};
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE && attempt < kMaxNameTries; ++attempt) {
        file.temporary = folder_of(path) + "." + base + "." + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(counter.fetch_add(1)) + ".tmp";
        handle = CreateFileW(wide_from_utf8(file.temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        file = {};
        return false;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) CloseHandle(handle);
    file.stream = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
    if (!file.stream) {
        if (descriptor >= 0) _close(descriptor);
        remove_file(file.temporary);
        file = {};
        return false;
    }
    return true;
}

bool finish_replacement(ReplacementFile& file) {
    if (!file.stream) return false;
    const bool flushed = std::fflush(file.stream) == 0;
    bool ok = std::fclose(file.stream) == 0 && flushed;
    file.stream = nullptr;
    const std::wstring temporary = wide_from_utf8(file.temporary);
    const std::wstring target = wide_from_utf8(file.target);
    const DWORD old_attributes = GetFileAttributesW(target.c_str());
    if (ok && old_attributes != INVALID_FILE_ATTRIBUTES) {
        // ReplaceFileW keeps the old file's security, creation time and streams; the
        // attributes a user sets (hidden, system, ...) are put back as they were, as
        // not every system's ReplaceFileW carries them over.
        ok = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr) != 0;
        const DWORD kept = old_attributes & kKeptAttributes;
        if (ok) SetFileAttributesW(target.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
    } else if (ok) {
        ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

void abandon_replacement(ReplacementFile& file) {
    if (!file.stream) return;
    std::fclose(file.stream);
    file.stream = nullptr;
    remove_file(file.temporary);
}

}  // namespace corvanthe
