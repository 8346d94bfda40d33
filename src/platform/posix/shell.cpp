#include "platform/shell.h"

#include <sys/wait.h>
#include <unistd.h>

namespace corvanthe {

bool open_with_desktop(const std::string& target) {
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
