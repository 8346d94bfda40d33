#include "platform/files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanthe {
namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kMaxNameTries = 100;

// The folder part of a path, with its separator; empty for a bare name.
std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links to the file they lead to, which need not exist yet; empty
// when the links go round in a circle.
std::string link_target(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        char buffer[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
        if (n < 0) return path;
        if (static_cast<std::size_t>(n) >= sizeof buffer) return {};
        const std::string leads_to(buffer, static_cast<std::size_t>(n));
        path = leads_to.front() == '/' ? leads_to : folder_of(path) + leads_to;
    }
    return {};
}

// Copies the finished new file over the old one in place; the new file stays.
bool rewrite_in_place(const std::string& from, const std::string& to) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = open(to.c_str(), O_WRONLY | O_CLOEXEC);
    bool ok = out >= 0;
    off_t size = 0;
    char buffer[65536];
    while (ok) {
        const ssize_t n = read(in, buffer, sizeof buffer);
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = write(out, buffer + done, static_cast<std::size_t>(n - done));
            ok = w > 0;
            if (ok) done += w;
        }
        size += n;
    }
    ok = ok && ftruncate(out, size) == 0;
    if (out >= 0 && close(out) != 0) ok = false;
    close(in);
    return ok;
}

}  // namespace

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::FILE* open_file(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool make_folder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    struct stat st;
    return errno == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool list_folder_files(const std::string& folder, std::vector<std::string>& names) {
    DIR* listing = opendir(folder.c_str());
    if (!listing) return false;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    errno = 0;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        struct stat st;
        const bool is_folder = entry->d_type == DT_DIR ||
                               ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) &&
                                stat((prefix + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode));
        if (!is_folder) names.push_back(name);
        errno = 0;
    }
    const bool listed = errno == 0;
    closedir(listing);
    return listed;
}

bool start_replacement(const std::string& path, ReplacementFile& file) {
    file = {};
    if (path.empty()) return false;
    file.target = link_target(path);
    if (file.target.empty()) return false;
    struct stat old;
    const bool replaces = stat(file.target.c_str(), &old) == 0;
    const std::size_t slash = file.target.rfind('/');
    const std::string base = slash == std::string::npos ? file.target : file.target.substr(slash + 1);
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < kMaxNameTries; ++attempt) {
        file.temporary = folder_of(file.target) + "." + base + "." + std::to_string(getpid()) + "-" +
                         std::to_string(counter.fetch_add(1)) + ".tmp";
        fd = open(file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replaces ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        file = {};
        return false;
    }
    if (replaces) fchmod(fd, old.st_mode & 0777);
    file.stream = fdopen(fd, "wb");
    if (!file.stream) {
        close(fd);
        unlink(file.temporary.c_str());
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
    struct stat old;
    if (ok && stat(file.target.c_str(), &old) == 0 && S_ISREG(old.st_mode) && old.st_nlink > 1) {
        ok = rewrite_in_place(file.temporary, file.target);
        unlink(file.temporary.c_str());
        return ok;
    }
    if (ok && std::rename(file.temporary.c_str(), file.target.c_str()) == 0) return true;
    unlink(file.temporary.c_str());
    return false;
}

void abandon_replacement(ReplacementFile& file) {
    if (!file.stream) return;
    std::fclose(file.stream);
    file.stream = nullptr;
    unlink(file.temporary.c_str());
}

}  // namespace corvanthe
