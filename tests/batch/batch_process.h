#pragma once
// Running the batch runner as a separate process, as its users do.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace quorvane::testing {

/// Exit status of the process, or 128 + the signal that ended it.
inline int statusOf(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

/// Starts quorvane-batch in `folder` with `args`, standard error into `errFile`;
/// `fileSizeLimit` >= 0 caps every file it writes at that many bytes (ulimit -f).
inline pid_t startBatch(const std::string& folder, const std::vector<std::string>& args,
                        const std::string& errFile = "stderr.txt", long fileSizeLimit = -1) {
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(99);
        FILE* err = freopen(errFile.c_str(), "w", stderr);
        FILE* out = freopen("stdout.txt", "w", stdout);
        (void)err;
        (void)out;
        if (fileSizeLimit >= 0) {
            rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(97);
        }
        std::vector<char*> argv;
        std::string program = QUORVANE_BATCH_BIN;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(98);
    }
    return pid;
}

inline int waitBatch(pid_t pid) {
    int raw = 0;
    waitpid(pid, &raw, 0);
    return statusOf(raw);
}

/// Waits for the process at most about `seconds`, then ends it with SIGKILL
/// and returns -1: a runner that does not end is a fault of its own.
inline int waitBatchAtMost(pid_t pid, int seconds) {
    for (int tick = 0; tick < seconds * 50; ++tick) {
        int raw = 0;
        if (waitpid(pid, &raw, WNOHANG) == pid) return statusOf(raw);
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitBatch(pid);
    return -1;
}

/// Runs quorvane-batch to its end; returns its exit status.
inline int runBatch(const std::string& folder, const std::vector<std::string>& args,
                    long fileSizeLimit = -1) {
    return waitBatch(startBatch(folder, args, "stderr.txt", fileSizeLimit));
}

}  // namespace quorvane::testing
