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
