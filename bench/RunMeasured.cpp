// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// Runs a command and reports on standard error, as its last line,
//   @@ wall-ms cpu-ms peak-resident-KiB exit-code
// with microsecond times. The peak is the child's own: a script's interpreter that forked the
// command itself would lend it its own size, which Linux carries across exec.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s command [argument...]\n", argv[0]);
        return 2;
    }
    timespec began{}, ended{};
    clock_gettime(CLOCK_MONOTONIC, &began);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("wait4");
        return 2;
    }
    clock_gettime(CLOCK_MONOTONIC, &ended);
    const double wallMs =
        (ended.tv_sec - began.tv_sec) * 1e3 + (ended.tv_nsec - began.tv_nsec) / 1e6;
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::fprintf(stderr, "@@ %.3f %.3f %ld %d\n", wallMs, cpuMs, usage.ru_maxrss, code);
    return code;
}
