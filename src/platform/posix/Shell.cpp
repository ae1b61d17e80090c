#include "../Shell.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace vantorel {

void shellOpen(const std::string& target) {
    // Double fork, so the opener is detached from us and never left a zombie.
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        setsid();
        if (fork() == 0) {
            // Its result is never looked at, so neither is its output: a
            // desktop without a viewer must not fill our terminal.
            const int nowhere = open("/dev/null", O_RDWR);
            if (nowhere >= 0) {
                dup2(nowhere, STDIN_FILENO);
                dup2(nowhere, STDOUT_FILENO);
                dup2(nowhere, STDERR_FILENO);
                if (nowhere > STDERR_FILENO) close(nowhere);
            }
            execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace vantorel
