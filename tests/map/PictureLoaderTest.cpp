// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PictureLoader.h"
#include "map/JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// Left half red, right half blue: survives JPEG's losses and shows a mirrored or shifted decode.
QImage twoColourPicture(int width = 64, int height = 48) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgb(220, 20, 20) : qRgb(20, 20, 220));
    return image;
}

// Qt reads GIF but does not write it: a small encoder that keeps every LZW code at 3 bits by
// clearing the table every two pixels. Palette: 0 red, 1 blue, 2 black, 3 white.
QByteArray gifOf(const QImage& image) {
    QByteArray out("GIF89a");
    auto word = [&out](int v) {
        out.append(char(v & 0xff));
        out.append(char(v >> 8));
    };
    word(image.width());
    word(image.height());
    out.append(char(0x81)); // global colour table of 4 entries
    out.append('\0');
    out.append('\0');
    out.append(QByteArray("\xDC\x14\x14\x14\x14\xDC\x00\x00\x00\xFF\xFF\xFF", 12));
    out.append(",");
    word(0);
    word(0);
    word(image.width());
    word(image.height());
    out.append('\0');
    out.append(char(2)); // minimum code size
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xff));
            bits >>= 8;
            count -= 8;
        }
    };
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (n++ % 2 == 0)
                put(4); // clear
            put(qBlue(image.pixel(x, y)) > qRed(image.pixel(x, y)) ? 1 : 0);
        }
    put(5); // end of information
    if (count > 0)
        data.append(char(bits & 0xff));
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(';');
    return out;
}

QByteArray encoded(const QImage& image, const char* format) {
    if (qstrcmp(format, "gif") == 0)
        return gifOf(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

void expectTwoColours(const QImage& image, int width = 64, int height = 48) {
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
    const QRgb left = image.pixel(5, height / 2);
    const QRgb right = image.pixel(width - 5, height / 2);
    EXPECT_GT(qRed(left), 180);
    EXPECT_LT(qBlue(left), 70);
    EXPECT_GT(qBlue(right), 180);
    EXPECT_LT(qRed(right), 70);
    EXPECT_EQ(qAlpha(left), 255);
}

// Rewrites the frame size in a baseline JPEG's SOF0 segment.
QByteArray withJpegSize(QByteArray jpeg, quint16 width, quint16 height) {
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    EXPECT_GT(sof, 0);
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xff);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xff);
    return jpeg;
}

// Rewrites the size in a PNG's header chunk, with the chunk's check sum made to match.
QByteArray withPngSize(QByteArray png, quint32 width, quint32 height) {
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    quint32 crc = 0xFFFFFFFF;
    for (qsizetype i = 12; i < 29; ++i) { // chunk type and data
        crc ^= quint8(png[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    qToBigEndian(~crc, png.data() + 29);
    return png;
}

} // namespace

TEST(PictureLoader, LoadsEachKindFromDiskWhateverItsName) {
    QTemporaryDir dir;
    const QImage picture = twoColourPicture();
    for (const auto& [name, format] :
         {std::pair{"map.jpg", "jpg"}, std::pair{"map.jpeg", "jpg"}, std::pair{"map.gif", "gif"},
          std::pair{"map.bmp", "bmp"}, std::pair{"map.png", "png"}, std::pair{"map.tif", "tiff"},
          std::pair{"map.webp", "webp"},
          // renamed: the first bytes decide, not the extension
          std::pair{"jpeg-named.gif", "jpg"}, std::pair{"bitmap-named.jpg", "bmp"},
          std::pair{"png-named.bmp", "png"}}) {
        SCOPED_TRACE(name);
        const LoadedPicture loaded = PictureLoader::load(
            writeFile(dir, QString::fromLatin1(name), encoded(picture, format)));
        EXPECT_TRUE(loaded.ok()) << loaded.error.toStdString();
        expectTwoColours(loaded.image);
        EXPECT_EQ(loaded.fullSize, QSize(64, 48));
        EXPECT_EQ(loaded.reduction, 1);
    }
}

TEST(PictureLoader, LargeJpegAndBitmapFilesAreDecodedStraightIntoPixelBuffers) {
    // Above 32 MiB of pixels, where the buffers take huge pages.
    const int width = 3200, height = 2700;
    QTemporaryDir dir;
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(220, 20, 20));
    QPainter(&picture).fillRect(width / 2, 0, width - width / 2, height, qRgb(20, 20, 220));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"big.jpg", encoded(picture, "jpg")},
        {"big.bmp", encoded(picture, "bmp")},
        {"indexed.bmp", encoded(picture.convertToFormat(QImage::Format_Indexed8), "bmp")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadedPicture loaded =
            PictureLoader::load(writeFile(dir, QString::fromLatin1(c.name), c.bytes));
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        expectTwoColours(loaded.image, width, height);
        EXPECT_TRUE(loaded.inPixelBuffer);
        // Read from the file as it goes or from bytes in memory: the same picture.
        const LoadedPicture fromMemory = PictureLoader::fromData(c.bytes, c.name);
        ASSERT_TRUE(fromMemory.ok());
        EXPECT_TRUE(fromMemory.image == loaded.image);
    }
}

TEST(PictureLoader, GreyscaleJpegDecodesToOpaqueGrey) {
    QImage grey(30, 20, QImage::Format_Grayscale8);
    grey.fill(128);
    const LoadedPicture loaded = PictureLoader::fromData(encoded(grey, "jpg"), "grey.jpg");
    ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
    const QRgb p = loaded.image.pixel(10, 10);
    EXPECT_NEAR(qRed(p), 128, 3);
    EXPECT_EQ(qRed(p), qBlue(p));
    EXPECT_EQ(qAlpha(p), 255);
}

TEST(PictureLoader, BrokenFilesGiveAnErrorNamingTheFile) {
    QTemporaryDir dir;
    const QImage picture = twoColourPicture(200, 150);
    const QByteArray jpeg = encoded(picture, "jpg");
    const QByteArray gif = encoded(picture, "gif");
    const QByteArray bmp = encoded(picture, "bmp");
    const QByteArray png = encoded(picture, "png");
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty.jpg", {}, "empty"},
        {"cut.jpg", jpeg.left(jpeg.size() / 2), "damaged or incomplete"},
        {"header-only.jpg", jpeg.left(200), "damaged or incomplete"},
        {"magic-only.jpg", QByteArray("\xFF\xD8\xFF", 3), "JPEG"},
        {"noise.jpg", QByteArray("\xFF\xD8") + QByteArray(5000, '\x5a'), "JPEG"},
        {"cut.gif", gif.left(gif.size() / 2), "damaged or incomplete"},
        {"cut.bmp", bmp.left(bmp.size() / 2), "damaged or incomplete"},
        {"cut.png", png.left(png.size() / 2), "damaged or incomplete"},
        {"text.bmp", "hello, not a picture", "not a picture of a kind Skyvane reads (BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(dir, QString::fromLatin1(c.name), c.bytes);
        const LoadedPicture loaded = PictureLoader::load(path);
        EXPECT_FALSE(loaded.ok());
        EXPECT_TRUE(loaded.image.isNull());
        EXPECT_TRUE(loaded.error.contains(path)) << loaded.error.toStdString();
        EXPECT_TRUE(loaded.error.contains(QLatin1String(c.reason))) << loaded.error.toStdString();
    }
    const QString missing = dir.filePath("gone.jpg");
    const LoadedPicture gone = PictureLoader::load(missing);
    EXPECT_FALSE(gone.ok());
    EXPECT_TRUE(gone.error.contains(missing));
    const LoadedPicture folder = PictureLoader::load(dir.path());
    EXPECT_FALSE(folder.ok());
}

TEST(PictureLoader, HugePicturesAreRefusedBeforeTheirPixelsAreAllocated) {
    QByteArray bmp = encoded(twoColourPicture(), "bmp");
    const qint32 side = 60000; // BITMAPINFOHEADER width and height at offsets 18 and 22
    memcpy(bmp.data() + 18, &side, 4);
    memcpy(bmp.data() + 22, &side, 4);
    const LoadedPicture bigBmp = PictureLoader::fromData(bmp, "big.bmp");
    EXPECT_FALSE(bigBmp.ok());
    EXPECT_TRUE(bigBmp.image.isNull());

    // A scanned chart of 600 million pixels as a PNG: its size is read from its header.
    const LoadedPicture bigPng = PictureLoader::fromData(
        withPngSize(encoded(twoColourPicture(), "png"), 30000, 20000), "chart.png");
    EXPECT_FALSE(bigPng.ok());
    EXPECT_TRUE(bigPng.error.contains(QLatin1String("too large (30000 x 20000 pixels")))
        << bigPng.error.toStdString();

    // A JPEG is decoded smaller instead; this one claims a size its data does not fill.
    const QByteArray jpeg = withJpegSize(encoded(twoColourPicture(), "jpg"), 65000, 65000);
    const LoadedPicture big = PictureLoader::fromData(jpeg, "big.jpg");
    EXPECT_FALSE(big.ok());
    EXPECT_TRUE(big.error.contains(QLatin1String("damaged or incomplete")))
        << big.error.toStdString();
}

// A JPEG above the pixel limit is decoded at the largest of 1/2, 1/4 and 1/8 that fits it; the
// limit is the decoder's, so a small one shows it on a small picture.
TEST(JpegDecoder, APictureAboveTheLimitIsDecodedAtTheLargestScaleThatFits) {
    const QByteArray jpeg = encoded(twoColourPicture(), "jpg");
    const struct {
        qint64 limit;
        int reduction; // 0: refused
    } cases[] = {{64 * 48, 1},     {64 * 48 - 1, 2}, {32 * 24, 2},
                 {32 * 24 - 1, 4}, {8 * 6, 8},       {8 * 6 - 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        const JpegDecoder::Result r = JpegDecoder::decode(jpeg, c.limit);
        if (c.reduction == 0) {
            EXPECT_FALSE(r.ok());
            EXPECT_TRUE(r.error.contains(QLatin1String("too large (64 x 48 pixels")))
                << r.error.toStdString();
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.reduction, c.reduction);
        EXPECT_EQ(r.image.fullWidth, 64);
        EXPECT_EQ(r.image.fullHeight, 48);
        EXPECT_EQ(r.image.width, 64 / c.reduction);
        EXPECT_EQ(r.image.height, 48 / c.reduction);
        const QImage held(r.image.pixels.data(), r.image.width, r.image.height,
                          r.image.bytesPerLine, QImage::Format_RGB32);
        EXPECT_GT(qRed(held.pixel(0, held.height() / 2)), 180);
        EXPECT_GT(qBlue(held.pixel(held.width() - 1, held.height() / 2)), 180);
    }
}

TEST(PictureLoader, TheDialogOffersTheUsualKindsFirstThenEveryKindQtReads) {
    const QString filter = PictureLoader::dialogFilter();
    EXPECT_TRUE(filter.startsWith("All (*.gif;*.jpg;*.jpeg;*.bmp;")) << filter.toStdString();
    for (const char* entry :
         {"|GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|"
          "Bitmaps (*.bmp)|*.bmp|",
          "|PNG Image (*.png)|*.png|", "|TIFF Image (*.tif;*.tiff)|*.tif;*.tiff|",
          "|WebP Image (*.webp)|*.webp"})
        EXPECT_TRUE(filter.contains(QLatin1String(entry))) << entry;
    const QStringList parts = filter.split('|');
    EXPECT_EQ(parts.size() % 2, 0);
    for (const char* pattern : {"*.png", "*.tiff", "*.webp"})
        EXPECT_TRUE(parts[1].split(';').contains(QLatin1String(pattern))) << pattern;
}

TEST(PictureLoader, StrayBytesBetweenSegmentsAreToleratedAndReported) {
    QByteArray jpeg = encoded(twoColourPicture(), "jpg");
    jpeg.insert(jpeg.indexOf("\xFF\xDA"), QByteArray("junk"));
    const LoadedPicture loaded = PictureLoader::fromData(jpeg, "stray.jpg");
    EXPECT_TRUE(loaded.ok()) << loaded.error.toStdString();
    expectTwoColours(loaded.image);
    EXPECT_TRUE(loaded.warnings.contains(QLatin1String("extraneous")))
        << loaded.warnings.toStdString();
}

TEST(JpegDecoder, ReadsTheSizeFromTheHeaderAlone) {
    const QByteArray jpeg = encoded(twoColourPicture(64, 48), "jpg");
    int w = 0, h = 0;
    QString error;
    ASSERT_TRUE(JpegDecoder::readSize(jpeg.left(jpeg.indexOf("\xFF\xDA") + 20), w, h, error));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    EXPECT_FALSE(JpegDecoder::readSize(QByteArray("\xFF\xD8\xFF\xE0", 4), w, h, error));
    EXPECT_FALSE(error.isEmpty());
}
