#include "platform/folders.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
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

// Creates every missing level of a folder owner-only, as the user's cache is made;
// levels that exist are left as they are.
bool ensure_folder_path(const std::string& path) {
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string level = path.substr(0, end);
        if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (end == std::string::npos) return true;
    }
}

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

// The desktop entry of the user's XDG folder list ("$HOME/..." or an absolute path).
std::string listed_desktop(const std::string& home) {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else
        config = home + "/.config";
    std::ifstream dirs(config + "/user-dirs.dirs");
    const std::string key = "XDG_DESKTOP_DIR=";
    for (std::string line; std::getline(dirs, line);) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        return value;
    }
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
    }
    if (!ensure_folder_path(cache)) return {};
    const std::string folder = cache + "/corvanthe";
    if (!ensure_private_folder(folder)) return {};
    return folder + "/";
}

std::string temporary_path(const std::string& name) {
    const std::string folder = temporary_folder();
    return folder.empty() ? std::string() : folder + name;
}

std::string desktop_folder() {
    const std::string home = home_folder();
    std::string folder;
    if (const char* xdg = std::getenv("XDG_DESKTOP_DIR"); xdg && *xdg == '/')
        folder = xdg;
    else if (!home.empty())
        folder = listed_desktop(home);
    if (folder.empty() || folder.front() != '/') {
        if (home.empty()) return {};
        folder = home + "/Desktop";
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return {};
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
    return folder + "/";
}

std::string desktop_path(const std::string& name) {
    const std::string folder = desktop_folder();
    return folder.empty() ? std::string() : folder + name;
}

}  // namespace corvanthe
