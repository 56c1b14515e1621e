// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// Loads one map picture the way Load Map does and prints how long the decode took and where
// the pixels went. Used by bench/map-load, which times and weighs the whole process.
#include "map/PictureLoader.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <ctime>

namespace {

// Resident memory backed by transparent huge pages, in KiB, as the kernel counts it.
long anonHugeKiB() {
    QFile smaps(QStringLiteral("/proc/self/smaps_rollup"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : smaps.readAll().split('\n'))
        if (line.startsWith("AnonHugePages:"))
            return line.mid(14).trimmed().split(' ').value(0).toLong();
    return -1;
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s picture\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const double cpuBefore = cpuMs();
    QElapsedTimer timer;
    timer.start();
    const LoadedPicture picture = PictureLoader::load(path);
    const double loadMs = timer.nsecsElapsed() / 1e6;
    const double loadCpuMs = cpuMs() - cpuBefore;
    if (!picture.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(picture.error));
        return 1;
    }
    // width height load-ms load-cpu-ms in-pixel-buffer huge-page-KiB
    std::printf("%d %d %.1f %.1f %d %ld\n", picture.image.width(), picture.image.height(), loadMs,
                loadCpuMs, picture.inPixelBuffer ? 1 : 0, anonHugeKiB());
    return 0;
}
