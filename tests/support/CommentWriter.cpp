// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers

// comment-writer PATH rename|inplace COUNTER VERSIONS
// Keeps a comment file up to date the way other programs do: version n's line 2 is
// "v" + n in six digits, a run of dots and n again, 40 characters in all, so a reader can tell
// a whole line from a torn one. Each version is written in pieces with short pauses, either
// into a new file renamed over PATH or into PATH itself, truncated first. After each version
// is complete its number goes into the first eight bytes of COUNTER (a shared mapping), so a
// reader knows the oldest version it may still see.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: comment-writer PATH rename|inplace COUNTER VERSIONS\n");
        return 2;
    }
    const std::string path = argv[1];
    const bool rename = std::strcmp(argv[2], "rename") == 0;
    const long versions = std::atol(argv[4]);
    const int counterFd = ::open(argv[3], O_RDWR);
    if (counterFd < 0 || ::ftruncate(counterFd, 8) != 0)
        return 1;
    void* map = ::mmap(nullptr, 8, PROT_READ | PROT_WRITE, MAP_SHARED, counterFd, 0);
    if (map == MAP_FAILED)
        return 1;
    auto* published = static_cast<std::atomic<std::int64_t>*>(map);

    const std::string temporary = path + ".new";
    for (long n = 1; n <= versions; ++n) {
        char number[24];
        std::snprintf(number, sizeof number, "%06ld", n);
        const std::string line1 = "06/03/26 14:" + std::to_string(10 + n % 50) + "\r\n";
        const std::string line2 =
            "v" + std::string(number) + " " + std::string(25, '.') + " " + number + "\r\n";
        const std::string& target = rename ? temporary : path;
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return 1;
        // Pieces with pauses between them leave the file half written for a while.
        const std::string pieces[] = {line1, line2.substr(0, 15), line2.substr(15),
                                      "third line\r\n"};
        for (const std::string& piece : pieces) {
            if (!writeAll(fd, piece))
                return 1;
            ::usleep(1500);
        }
        ::close(fd);
        if (rename && ::rename(temporary.c_str(), path.c_str()) != 0)
            return 1;
        published->store(n);
        ::usleep(40000);
    }
    return 0;
}
