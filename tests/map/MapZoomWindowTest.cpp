// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/DialogTestSupport.h"
#include "map/MapPicture.h"
#include "map/MapView.h"
#include "map/MapWindowFixture.h"
#include "settings/IniFile.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/QTest>

namespace {

class MapZoomWindow : public MapWindowFixture {
protected:
    // The wheel turned over the map with the pointer at `at` on the viewport, where the event
    // arrives once the picture under the pointer has passed it on.
    void wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWidget* viewport = view().viewport();
        QWheelEvent e(at, viewport->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &e);
    }
};

// At every zoom a click on a map point gives the position of the full-size pixel under it,
// and the object's symbol is drawn with its marked point on that map point.
TEST_F(MapZoomWindow, AtEveryZoomAClickAndTheSymbolMeanTheSameMapPoint) {
    startOnMap(makeMap("london.jpg", 400, 320));
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    EXPECT_EQ(view().zoom(), 1);
    const struct {
        QPoint pixel;
        const char* readout;
        const char* latitude;
        const char* longitude;
    } points[] = {
        {{240, 240}, "  51.15.00N   000.15.00W", "5115.00N", "00015.00W"},
        {{100, 80}, "  51.25.00N   000.32.50W", "5125.00N", "00032.50W"},
        {{384, 16}, "  51.28.99N   000.03.00E", "5128.99N", "00003.00E"},
    };
    showPage(1);
    for (double zoom : {0.25, 0.5, 1.0, 2.0}) {
        view().setZoom(zoom);
        SCOPED_TRACE(zoom);
        ASSERT_EQ(view().zoom(), zoom);
        EXPECT_EQ(image()->size(), QSize(int(400 * zoom), int(320 * zoom)));
        for (const auto& p : points) {
            SCOPED_TRACE(p.readout);
            moveTo(p.pixel);
            EXPECT_EQ(panel(1), p.readout);
            releaseAt(p.pixel);
            EXPECT_EQ(m_form->panel(1)->object().latitude, p.latitude);
            EXPECT_EQ(m_form->panel(1)->object().longitude, p.longitude);
            // Stored in full-size pixels; drawn where the zoom shows that point.
            EXPECT_EQ(symbols().position(1), p.pixel - QPoint(8, 8));
            const QPoint marked = symbols().picture(1, 0)->pos() + QPoint(8, 8);
            EXPECT_EQ(marked, view().areaPointOf(p.pixel));
            EXPECT_EQ(view().pictureAt(marked), p.pixel);
            EXPECT_EQ(symbols().stoppedLabel(1)->pos(), marked + QPoint(16, -8));
        }
    }
    // A symbol placed before the zoom changes follows its map point.
    view().setZoom(1.5);
    EXPECT_EQ(view().pictureAt(symbols().picture(1, 0)->pos() + QPoint(8, 8)), QPoint(384, 16));
}

TEST_F(MapZoomWindow, MenuKeysAndCtrlWheelZoomFromAnEighthToTwice) {
    startOnMap(makeMap("big.jpg", 1600, 1200));
    m_form->resize(900, 600);
    QApplication::processEvents();
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    ASSERT_TRUE(activate(m_form.get())); // shortcuts reach the active window
    action("mnuZoomIn")->trigger();
    EXPECT_EQ(view().zoom(), 1.5);
    action("mnuZoomIn")->trigger();
    EXPECT_EQ(view().zoom(), 2);
    EXPECT_FALSE(action("mnuZoomIn")->isEnabled());
    QTest::keyClick(m_form.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(view().zoom(), 1);
    QTest::keyClick(m_form.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view().zoom(), 2.0 / 3);
    QTest::keyClick(m_form.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(view().zoom(), 1);
    for (int i = 0; i < 8; ++i)
        action("mnuZoomOut")->trigger();
    EXPECT_EQ(view().zoom(), 0.125);
    EXPECT_FALSE(action("mnuZoomOut")->isEnabled());
    EXPECT_EQ(image()->size(), QSize(200, 150));
    action("mnuActualSize")->trigger();

    // Ctrl with the wheel zooms about the pointer: the map point under it stays there.
    view().scrollTo({500, 300});
    const QPoint pointer = view().area()->mapTo(view().viewport(), view().areaPointOf({700, 500}));
    wheel(pointer, 120, Qt::ControlModifier);
    EXPECT_EQ(view().zoom(), 1.5);
    const QPoint under = view().area()->mapFrom(view().viewport(), pointer);
    EXPECT_LE((view().pictureAt(under) - QPoint(700, 500)).manhattanLength(), 2);
    wheel(pointer, -60, Qt::ControlModifier); // half a notch: nothing yet
    EXPECT_EQ(view().zoom(), 1.5);
    wheel(pointer, -60, Qt::ControlModifier);
    EXPECT_EQ(view().zoom(), 1);
    // The plain wheel scrolls.
    const int before = vbar()->value();
    wheel(pointer, -120, Qt::NoModifier);
    EXPECT_EQ(view().zoom(), 1);
    EXPECT_GT(vbar()->value(), before);

    // Fit Window shows the whole map, and keeps doing so as the window changes size.
    action("mnuFitWindow")->trigger();
    QApplication::processEvents(); // the scroll bars go
    EXPECT_TRUE(view().fitting());
    EXPECT_LE(image()->width(), view().viewport()->width());
    EXPECT_LE(image()->height(), view().viewport()->height());
    const double fitted = view().zoom();
    m_form->resize(1200, 800);
    QApplication::processEvents();
    EXPECT_GT(view().zoom(), fitted);
    EXPECT_LE(image()->height(), view().viewport()->height());
    action("mnuZoomIn")->trigger();
    EXPECT_FALSE(view().fitting());
}

// Each map keeps its zoom in its objects file beside its scroll position, counted in full-size
// pixels; a map whose file has no zoom (written before there was one) opens at actual size.
TEST_F(MapZoomWindow, EachMapKeepsItsZoomInItsObjectsFile) {
    const QString first = makeMap("first.jpg", 1600, 1200);
    const QString second = makeMap("second.jpg", 800, 600);
    writeFile("second.obd", "[Internal]\r\nHP=40\r\nVP=30\r\n");
    startOnMap(first);
    m_form->resize(620, 438);
    QApplication::processEvents();
    view().setZoom(0.5);
    view().scrollTo({300, 200});
    chooseNextMap(second);
    find<QToolButton>("btnLoad")->click();
    ASSERT_EQ(m_form->mapPath(), second);
    IniFile saved;
    ASSERT_TRUE(saved.load(obd(first)));
    EXPECT_EQ(saved.readString("Internal", "Zoom", ""), "0.5");
    EXPECT_EQ(saved.readString("Internal", "FitWindow", ""), "0");
    EXPECT_EQ(saved.readInteger("Internal", "HP", 0), 300);
    EXPECT_EQ(saved.readInteger("Internal", "VP", 0), 200);
    EXPECT_EQ(view().zoom(), 1); // the older file
    EXPECT_EQ(view().scrollPosition(), QPoint(40, 30));
    action("mnuFitWindow")->trigger();

    chooseNextMap(first);
    find<QToolButton>("btnLoad")->click();
    EXPECT_EQ(view().zoom(), 0.5);
    EXPECT_EQ(view().scrollPosition(), QPoint(300, 200));
    EXPECT_EQ(hbar()->value(), 150);

    // Fit Window comes back as Fit Window, whatever the window's size is then.
    chooseNextMap(second);
    find<QToolButton>("btnLoad")->click();
    EXPECT_TRUE(view().fitting());
    ASSERT_TRUE(saved.load(obd(second)));
    EXPECT_EQ(saved.readString("Internal", "FitWindow", ""), "1");
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();
}

} // namespace
