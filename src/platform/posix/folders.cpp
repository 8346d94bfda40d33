#include "platform/folders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanthe {
namespace {

// Creates the folder owner-only if missing; accepts it only when it is a real
// folder of ours that no one else can write into.
bool ensure_private_folder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
    if ((st.st_mode & 0077) != 0 && chmod(path.c_str(), 0700) != 0) return false;
    return true;
}

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

}  // namespace

std::string temporary_folder() {
    std::string cache;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') {
        cache = xdg;
    } else {
        const std::string home = home_folder();
        if (home.empty()) return {};
        cache = home + "/.cache";
        if (mkdir(cache.c_str(), 0700) != 0 && errno != EEXIST) return {};
    }
    const std::string folder = cache + "/corvanthe";
    if (!ensure_private_folder(folder)) return {};
    return folder + "/";
}

std::string temporary_path(const std::string& name) {
    const std::string folder = temporary_folder();
    return folder.empty() ? std::string() : folder + name;
}

}  // namespace corvanthe
