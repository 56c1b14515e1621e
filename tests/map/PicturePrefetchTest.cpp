// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PicturePrefetch.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

void writeJpeg(const QString& path, int width) {
    QImage image(width, 16, QImage::Format_RGB32);
    image.fill(qRgb(30, 90, 200));
    ASSERT_TRUE(image.save(path, "JPEG"));
}

} // namespace

// Whatever the prefetch did in the meantime, the caller gets what reading the file at the
// moment of asking gives: the width of the picture, or the same message.
TEST(PicturePrefetch, GivesWhatReadingTheFileWhenAskedWouldGive) {
    struct Row {
        const char* what;
        std::function<void(PicturePrefetch&, const QString& a, const QString& b)> between;
        bool askForB;
        int width; // 0: the load fails
    };
    const Row rows[] = {
        {"the same file, unchanged", [](auto&, auto&, auto&) {}, false, 40},
        {"rewritten after the start", [](auto&, auto& a, auto&) { writeJpeg(a, 56); }, false, 56},
        {"another file asked for", [](auto&, auto&, auto&) {}, true, 24},
        {"removed after the start", [](auto&, auto& a, auto&) { QFile::remove(a); }, false, 0},
        {"dropped, then rewritten",
         [](PicturePrefetch& p, auto& a, auto&) {
             p.drop();
             writeJpeg(a, 72);
         },
         false, 72},
        {"asked for twice, rewritten between",
         [](PicturePrefetch& p, auto& a, auto&) {
             EXPECT_EQ(p.take(a).image.width(), 40);
             writeJpeg(a, 88);
         },
         false, 88},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.jpg"));
        const QString b = dir.filePath(QStringLiteral("b.jpg"));
        writeJpeg(a, 40);
        writeJpeg(b, 24);
        PicturePrefetch prefetch;
        prefetch.start(a);
        row.between(prefetch, a, b);
        const QString asked = row.askForB ? b : a;
        const LoadedPicture got = prefetch.take(asked);
        EXPECT_FALSE(prefetch.pending());
        if (row.width == 0) {
            EXPECT_FALSE(got.ok());
            EXPECT_EQ(got.error, PictureLoader::load(asked).error);
        } else {
            ASSERT_TRUE(got.ok()) << got.error.toStdString();
            EXPECT_EQ(got.image.width(), row.width);
        }
    }
}
