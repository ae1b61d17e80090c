#include "../Shell.h"

#include <sys/wait.h>
#include <cerrno>
#include <unistd.h>

namespace vantorel {

void shellOpen(const std::string& target) {
    // Double fork, so the opener is detached from us and never left a zombie.
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        setsid();
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace vantorel
