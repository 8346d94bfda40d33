#include "platform/shell.h"

#include <cstdlib>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanthe {
namespace {

// True when an executable of the name is on PATH: without one there is nothing to start,
// and the detached child below could not tell.
bool on_path(std::string_view name) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    for (std::string_view rest = path; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (folder.empty()) folder = ".";
        if (access((folder + "/" + std::string(name)).c_str(), X_OK) == 0) return true;
    }
    return false;
}

}  // namespace

bool open_with_desktop(const std::string& target) {
    if (!on_path("xdg-open")) return false;
    // A grandchild runs xdg-open, so that nothing is left to wait for: the child exits
    // at once and is reaped here. Between fork and exec only async-signal-safe calls.
    const char* argv[] = {"xdg-open", target.c_str(), nullptr};
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execvp(argv[0], const_cast<char* const*>(argv));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace corvanthe
