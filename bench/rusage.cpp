// tzc-rusage COMMAND [ARGS...]: runs the command and reports on stderr, as /usr/bin/time does from
// the same kernel figures, its CPU time and its peak resident size:
//   rusage: user_s=0.012 sys_s=0.004 cpu_s=0.016 wall_s=10.003 maxrss_kib=9876 exit=0
// The command's own output passes through; the exit status is the command's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tzc-rusage COMMAND [ARGS...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("tzc-rusage: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("tzc-rusage: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("tzc-rusage: wait");
        return 2;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const double user = Seconds(usage.ru_utime), sys = Seconds(usage.ru_stime);
    std::fprintf(stderr, "rusage: user_s=%.3f sys_s=%.3f cpu_s=%.3f wall_s=%.3f maxrss_kib=%ld exit=%d\n", user, sys,
                 user + sys, wall, usage.ru_maxrss, exit_code);
    return exit_code;
}
