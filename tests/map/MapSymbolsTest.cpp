// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapSymbols.h"

#include <QFontInfo>
#include <QImage>
#include <QSet>
#include <QWidget>
#include <gtest/gtest.h>

TEST(MapSymbols, EveryPictureIsDrawnAndDistinct) {
    QSet<QByteArray> seen;
    for (int index = 0; index <= 12; ++index) {
        SCOPED_TRACE(index);
        const QImage image = MapSymbols::symbolPixmap(index).toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), index == 0 ? 21 : 20);
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 200;
        EXPECT_GT(opaque, 40); // a symbol, not an empty square from a resource that failed
        seen.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 13);
}

TEST(MapSymbols, SetsAreNamedTaggedAndMoveTogether) {
    QWidget area;
    area.resize(400, 300);
    MapSymbols symbols(&area);
    EXPECT_EQ(area.findChild<QLabel*>("Symbol1"), symbols.picture(1, 0));
    EXPECT_EQ(area.findChild<QLabel*>("Car2"), symbols.picture(2, 4));
    EXPECT_EQ(area.findChild<QLabel*>("wx"), symbols.picture(0, 12));
    EXPECT_EQ(area.findChild<QLabel*>("wx1"), nullptr);
    EXPECT_EQ(symbols.picture(1, 12), nullptr);
    EXPECT_EQ(area.findChild<QLabel*>("IDPanel101"), symbols.stoppedLabel(1));
    EXPECT_EQ(area.findChild<QLabel*>("IDPanel02"), symbols.runningLabel(2));
    EXPECT_EQ(static_cast<SymbolPicture*>(area.findChild<QLabel*>("park"))->slot(), 0);
    EXPECT_EQ(static_cast<SymbolPicture*>(area.findChild<QLabel*>("parking2"))->slot(), 2);
    EXPECT_EQ(symbols.picture(0, 0)->size(), QSize(21, 21));
    EXPECT_EQ(symbols.picture(0, 3)->size(), QSize(20, 20));

    area.show();
    symbols.place(1, QPoint(112, 72));
    for (int i = 0; i < symbols.pictureCount(1); ++i)
        EXPECT_EQ(symbols.picture(1, i)->pos(), QPoint(112, 72)) << i;
    EXPECT_EQ(symbols.runningLabel(1)->pos(), QPoint(136, 72));
    EXPECT_EQ(symbols.stoppedLabel(1)->pos(), QPoint(136, 72));
    EXPECT_EQ(symbols.position(0), QPoint(0, 0)); // the others stay

    // A picture shows its own symbol, whether shown on a shown map or before the map shows.
    const auto drawn = [&](int slot, int index) {
        return symbols.picture(slot, index)->pixmap().toImage() ==
               MapSymbols::symbolPixmap(index).toImage();
    };
    EXPECT_EQ(symbols.shownIndex(1), -1);
    symbols.showOnly(1, 10);
    EXPECT_EQ(symbols.shownIndex(1), 10);
    EXPECT_TRUE(drawn(1, 10));
    symbols.showOnly(1, 0);
    EXPECT_EQ(symbols.shownIndex(1), 0);
    EXPECT_TRUE(drawn(1, 0));
    area.hide();
    symbols.showOnly(0, 12);
    area.show();
    EXPECT_TRUE(drawn(0, 12));
    EXPECT_TRUE(symbols.picture(1, 10)->isHidden());
    symbols.showOnly(1, -1);
    EXPECT_EQ(symbols.shownIndex(1), -1);
}

TEST(MapSymbols, LabelsAreFixedWidthAndColouredByRunningState) {
    QWidget area;
    MapSymbols symbols(&area);
    symbols.setLabelText(0, "ABC");
    EXPECT_EQ(symbols.runningLabel(0)->width(), 24);
    EXPECT_EQ(symbols.stoppedLabel(0)->size(), QSize(24, 16));
    symbols.setLabelText(0, "NOCALL-1");
    EXPECT_EQ(symbols.stoppedLabel(0)->width(), 64);
    EXPECT_EQ(symbols.stoppedLabel(0)->text(), "NOCALL-1");
    EXPECT_TRUE(QFontInfo(symbols.runningLabel(0)->font()).fixedPitch());
    EXPECT_EQ(symbols.runningLabel(0)->font().pointSize(), 8);

    EXPECT_EQ(symbols.runningLabel(0)->palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_EQ(symbols.stoppedLabel(0)->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(symbols.stoppedLabel(0)->frameShadow(), QFrame::Sunken);

    area.show();
    symbols.showLabel(0, true);
    EXPECT_TRUE(symbols.runningLabel(0)->isVisible());
    EXPECT_FALSE(symbols.stoppedLabel(0)->isVisible());
    symbols.showLabel(0, false);
    EXPECT_FALSE(symbols.runningLabel(0)->isVisible());
    EXPECT_TRUE(symbols.stoppedLabel(0)->isVisible());
    symbols.hideLabels(0);
    EXPECT_FALSE(symbols.stoppedLabel(0)->isVisible());
}
