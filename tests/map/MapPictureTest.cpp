// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapPicture.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// Every pixel differs from its neighbours, so a shifted or misplaced part shows.
QImage gradient(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256 + 16 * (y / 256)) % 256));
    return image;
}

} // namespace

TEST(MapPicture, TakesThePicturesSizeAndSharesItsPixels) {
    MapPicture picture;
    const QImage image = gradient(300, 200);
    picture.setImage(image);
    EXPECT_EQ(picture.size(), QSize(300, 200));
    EXPECT_EQ(picture.sizeHint(), QSize(300, 200));
    EXPECT_EQ(picture.image().constBits(), image.constBits());
    EXPECT_TRUE(picture.testAttribute(Qt::WA_OpaquePaintEvent));

    // A picture with transparent parts lets the background show through them.
    picture.setImage(gradient(40, 30, QImage::Format_ARGB32));
    EXPECT_FALSE(picture.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_EQ(picture.size(), QSize(40, 30));

    picture.setImage(QImage());
    EXPECT_EQ(picture.size(), QSize(0, 0));
    EXPECT_TRUE(picture.grab().isNull() || picture.grab().size().isEmpty());
}

TEST(MapPicture, AScrolledViewShowsThePartOfThePictureUnderIt) {
    const QImage image = gradient(1000, 700);
    QScrollArea area;
    auto* picture = new MapPicture;
    picture->setImage(image);
    area.setWidget(picture);
    area.resize(260, 180);
    area.show();
    QApplication::processEvents();
    struct Place {
        int x, y;
    };
    // Small steps repaint only the strips that come into view; the jumps repaint everything.
    for (Place to : {Place{0, 0}, Place{3, 0}, Place{3, 5}, Place{517, 0}, Place{517, 333},
                     Place{10000, 10000}, Place{250, 90}}) {
        area.horizontalScrollBar()->setValue(to.x);
        area.verticalScrollBar()->setValue(to.y);
        QApplication::processEvents();
        const QPoint origin(area.horizontalScrollBar()->value(), area.verticalScrollBar()->value());
        SCOPED_TRACE(testing::Message() << origin.x() << "," << origin.y());
        // What the window holds after the scroll, not a fresh rendering of the widget.
        const QPoint corner = area.viewport()->mapTo(&area, QPoint(0, 0));
        const QImage shown = area.screen()
                                 ->grabWindow(area.winId(), corner.x(), corner.y(),
                                              area.viewport()->width(), area.viewport()->height())
                                 .toImage();
        ASSERT_FALSE(shown.isNull());
        for (QPoint at : {QPoint(0, 0), QPoint(shown.width() - 1, 0), QPoint(17, 41),
                          QPoint(shown.width() - 1, shown.height() - 1)}) {
            EXPECT_EQ(shown.pixel(at) & 0xffffff, image.pixel(origin + at) & 0xffffff)
                << at.x() << "," << at.y();
        }
    }
}

// At each zoom, and for a picture held at a quarter of its size, every full-size pixel shows
// where the zoom puts it: a screen pixel shows the held pixel under it.
TEST(MapPicture, ZoomedAndReducedPicturesShowEachPixelWhereTheZoomPutsIt) {
    // Blocks of 8 x 8 pixels of one colour each, so that a blend at 1/2 keeps their colour.
    QImage blocks(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            blocks.setPixel(x, y, qRgb(x / 8 * 32, y / 8 * 40, 255 - x / 8 * 32));
    const struct {
        double zoom;
        int reduction;
        QSize shown;
    } cases[] = {{2, 1, {128, 96}},
                 {0.5, 1, {32, 24}},
                 {1.5, 1, {96, 72}},
                 {1, 4, {256, 192}},
                 {0.25, 4, {64, 48}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoom << " 1/" << c.reduction);
        MapPicture picture;
        // The held picture stands for one reduction times larger.
        picture.setImage(blocks, blocks.size() * c.reduction, c.reduction);
        picture.setZoom(c.zoom);
        EXPECT_EQ(picture.size(), c.shown);
        const QImage shown = picture.grab().toImage();
        ASSERT_EQ(shown.size(), c.shown);
        const double perHeld = c.zoom * c.reduction;
        for (QPoint held : {QPoint(4, 4), QPoint(27, 19), QPoint(60, 44)}) {
            const QPoint at(int((held.x() + 0.5) * perHeld), int((held.y() + 0.5) * perHeld));
            EXPECT_EQ(shown.pixel(at) & 0xffffff, blocks.pixel(held) & 0xffffff)
                << held.x() << "," << held.y();
        }
    }
}

// A strip repainted alone after a small scroll matches the picture drawn whole: no seams
// where the strips meet, also when the picture is shrunk and its pixels blended.
TEST(MapPicture, AZoomedPictureScrolledInSmallStepsMatchesItDrawnWhole) {
    const QImage image = gradient(900, 600);
    QScrollArea area;
    auto* picture = new MapPicture;
    picture->setImage(image);
    picture->setZoom(2.0 / 3);
    area.setWidget(picture);
    area.resize(260, 180);
    area.show();
    QApplication::processEvents();
    const QImage whole = picture->grab().toImage();
    for (int step = 1; step <= 12; ++step) {
        area.horizontalScrollBar()->setValue(step * 7);
        area.verticalScrollBar()->setValue(step * 3);
        QApplication::processEvents();
    }
    const QPoint origin(area.horizontalScrollBar()->value(), area.verticalScrollBar()->value());
    const QPoint corner = area.viewport()->mapTo(&area, QPoint(0, 0));
    const QImage shown = area.screen()
                             ->grabWindow(area.winId(), corner.x(), corner.y(),
                                          area.viewport()->width(), area.viewport()->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage expected =
        whole.copy(QRect(origin, shown.size())).convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += (shown.pixel(x, y) & 0xffffff) != (expected.pixel(x, y) & 0xffffff);
    EXPECT_EQ(differing, 0);
}
