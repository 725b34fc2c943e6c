#pragma once
// Runs code in a forked child whose files cannot grow past a limit, so a
// write fails part way as on a full disk, even for root (whom permissions
// do not stop). The parent's own limits and signal handlers stay untouched.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace cd::test {

/// body's result as the child's exit status (0 to 255), or -1 when the child
/// did not exit normally. A write past limitBytes fails with EFBIG instead of
/// raising SIGXFSZ.
inline int runWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = limitBytes;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(254);
        const int result = body();
        std::fflush(nullptr);
        ::_exit(result);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace cd::test
