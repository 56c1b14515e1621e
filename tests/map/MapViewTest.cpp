// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapView.h"
#include "map/MapPicture.h"
#include "map/MapSymbols.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button,
                      type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// 400 x 320 pixels over 51.30N 000.45W .. 51.10N 000.05E.
MapCalibration london() {
    MapCalibration c =
        parseCalibration({"51.30.00N, 000.45.00W", "51.10.00N, 000.05.00E", "London"}, "l.inf");
    applyPictureSize(c, 400, 320);
    return c;
}

// The view reads positions only over a map, and a release is also a move: a tap places an
// object where the button came up even with no movement reported before it.
TEST(MapView, ReadsThePointerOnlyOverAMapAndReportsAReleaseWhereItHappened) {
    MapView view;
    view.resize(200, 200);
    QSignalSpy readouts(&view, &MapView::readoutChanged);
    QSignalSpy moves(&view, &MapView::pointerMoved);
    QSignalSpy releases(&view, &MapView::released);

    view.track(10, 10, false);
    EXPECT_EQ(readouts.count(), 0);
    EXPECT_EQ(view.picture()->cursor().shape(), Qt::ArrowCursor);

    QImage image(400, 320, QImage::Format_RGB32);
    image.fill(Qt::white);
    view.showMap(image, london());
    ASSERT_TRUE(view.loaded());
    EXPECT_EQ(view.picture()->size(), QSize(400, 320));
    EXPECT_EQ(view.area()->size(), QSize(400, 320));
    view.track(240, 240, true);
    ASSERT_EQ(readouts.count(), 1);
    EXPECT_EQ(view.pointer().latitude, "5115.00N");
    EXPECT_EQ(view.pointer().longitude, "00015.00W");
    EXPECT_EQ(view.picture()->cursor().shape(), Qt::CrossCursor);
    view.endPicking();
    EXPECT_EQ(view.picture()->cursor().shape(), Qt::PointingHandCursor);

    mouse(view.picture(), QEvent::MouseButtonRelease, {100, 80}, Qt::LeftButton);
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves[0], (QList<QVariant>{100, 80}));
    ASSERT_EQ(releases.count(), 1);
    EXPECT_EQ(releases[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    view.placeSymbolAt(1, 100, 80);
    EXPECT_EQ(view.symbols()->position(1), QPoint(92, 72));
}

} // namespace
