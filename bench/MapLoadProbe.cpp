// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// Loads one map picture the way the main window does (decode, then hand the pixels to a
// pixmap) and prints how long each step took. Used by bench/map-load.
#include "map/PictureLoader.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s picture\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QElapsedTimer timer;
    timer.start();
    LoadedPicture picture = PictureLoader::load(QString::fromLocal8Bit(argv[1]));
    const qint64 decoded = timer.nsecsElapsed();
    if (!picture.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(picture.error));
        return 1;
    }
    const QSize size = picture.image.size();
    const QPixmap pixmap = QPixmap::fromImage(std::move(picture.image));
    const qint64 shown = timer.nsecsElapsed();
    std::printf("%d %d %.1f %.1f\n", size.width(), size.height(), decoded / 1e6,
                (shown - decoded) / 1e6);
    return pixmap.isNull() ? 1 : 0;
}
