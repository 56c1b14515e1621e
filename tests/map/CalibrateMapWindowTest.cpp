// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/DialogTestSupport.h"
#include "map/MapView.h"
#include "map/MapWindowFixture.h"
#include "map/TfrmCalibrate.h"
#include "support/SampleMap.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

class CalibrateMapWindow : public MapWindowFixture {
protected:
    // A click on the dialog's picture at full-size pixel `pixel`, shown at actual size.
    static void clickPicture(QDialog* d, QPoint pixel) {
        auto* view = child<PictureView>(d, "CalibrateView");
        view->setZoom(1);
        QWidget* picture = child<QWidget>(d, "CalibratePicture");
        const QPoint at = view->areaPointOf(pixel);
        QMouseEvent e(QEvent::MouseButtonRelease, at, picture->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &e);
    }
    static void type(QDialog* d, const char* box, const QString& text) {
        child<QLineEdit>(d, box)->setText(text);
    }
    static void ok(QDialog* d) { child<QPushButton>(d, "btnOK")->click(); }
};

// Calibrate Map on the sample map with no calibration file: two of its points, one typed as
// a calibration file writes it and one in decimal degrees, give back its corners, and the map
// then loads as calibrated.
TEST_F(CalibrateMapWindow, TwoPointsOnTheSampleMapGiveItsCornersAndTheMapLoads) {
    const QString picture = SampleMap::copyTo(m_dir.path());
    ASSERT_FALSE(picture.isEmpty());
    const QString inf = path("dover.inf");
    ASSERT_TRUE(QFile::remove(inf));
    writeIni("[Object]\r\nMap=\r\n");
    start();
    m_dialogs.fileAnswers.enqueue(Dialogs::FileChoice{picture, 1});
    ModalWatch watch("frmCalibrate", [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Calibrate Map");
        for (const QLineEdit* box : d->findChildren<QLineEdit*>())
            EXPECT_FALSE(box->accessibleName().isEmpty()) << box->objectName().toStdString();
        for (const QLabel* label : d->findChildren<QLabel*>())
            if (label->objectName().startsWith("Label")) {
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
            }
        clickPicture(d, SampleMap::Spots[0].pixel);
        EXPECT_TRUE(child<QRadioButton>(d, "rbPoint2")->isChecked());
        EXPECT_EQ(child<QLabel>(d, "lblPixel1")->text(), "x 100, y 160");
        EXPECT_TRUE(child<QLabel>(d, "Marker1")->isVisibleTo(d));
        type(d, "edtLatitude1", "51.15.00N");
        type(d, "edtLongitude1", "000.15.00W");
        clickPicture(d, SampleMap::Spots[2].pixel);
        type(d, "edtLatitude2", "50.75");
        type(d, "edtLongitude2", "1.25");
        EXPECT_EQ(child<QLineEdit>(d, "edtTitle")->text(), "dover");
        type(d, "edtTitle", "Dover calibrated");
        ok(d);
    });
    action("CalibrateMap1")->trigger();
    ASSERT_TRUE(watch.ran());
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();

    MapCalibration written = readCalibrationFile(inf);
    MapCalibration shipped = readCalibrationFile(SKYVANE_SOURCE_DIR "/maps/strait-of-dover.inf");
    EXPECT_NEAR(written.TopLatitude, shipped.TopLatitude, 0.01);
    EXPECT_NEAR(written.BottomLatitude, shipped.BottomLatitude, 0.01);
    EXPECT_NEAR(written.LeftLongitude, shipped.LeftLongitude, 0.01);
    EXPECT_NEAR(written.RightLongitude, shipped.RightLongitude, 0.01);
    EXPECT_EQ(written.MapTitle, "Dover calibrated");

    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    EXPECT_EQ(m_form->mapPath(), picture);
    EXPECT_EQ(panel(2), "   Dover calibrated");
    moveTo(SampleMap::Spots[1].pixel);
    EXPECT_EQ(panel(1), "  51.00.00N   000.30.00E");

    // Calibrating it again asks first; No leaves the file as it is.
    m_dialogs.fileAnswers.enqueue(Dialogs::FileChoice{picture, 1});
    m_form->CalibrateMap1Click();
    EXPECT_EQ(m_dialogs.shown.last().kind, "yesNo");
    EXPECT_TRUE(m_dialogs.shown.last().text.contains("already calibrated by " + inf));
}

// Load Map on a picture with no calibration offers Calibrate Map. Points that cannot calibrate
// it, and a folder that cannot be written, are said in messages, the dialog stays open with
// what was typed, and nothing is written; the next try goes on from there.
TEST_F(CalibrateMapWindow, LoadMapOffersItAndBadPointsOrAFolderThatCannotBeWrittenWriteNothing) {
    const QString london = makeMap("london.jpg", 400, 320);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("charts"));
    const QString chart = makeMap("charts/chart.png", 400, 300, QByteArray(), "png");
    const QString inf = path("charts/chart.inf");
    startOnMap(london);
    QStringList messages;
    ModalWatch watch("frmCalibrate", [&](QDialog* d) {
        auto attempt = [&](const char* what) {
            m_dialogs.clear();
            ok(d);
            EXPECT_TRUE(d->isVisible()) << what;
            EXPECT_FALSE(QFileInfo::exists(inf)) << what;
            messages << m_dialogs.texts().value(0);
        };
        attempt("no points");
        clickPicture(d, {50, 50});
        clickPicture(d, {50, 50});
        type(d, "edtLatitude1", "51.30N");
        type(d, "edtLongitude1", "000.30W");
        type(d, "edtLatitude2", "51.00N");
        type(d, "edtLongitude2", "000.30E");
        attempt("the same pixel");
        child<QRadioButton>(d, "rbPoint2")->setChecked(true);
        clickPicture(d, {350, 250});
        type(d, "edtLatitude2", "51,0");
        attempt("a position that does not read");
        type(d, "edtLatitude2", "51.00N");
        ASSERT_TRUE(QDir(path("charts")).removeRecursively());
        attempt("a folder that cannot be written");
        d->reject();
    });
    chooseNextMap(chart);
    m_dialogs.yesAnswers.enqueue(true);
    find<QToolButton>("btnLoad")->click();
    ASSERT_TRUE(watch.ran());
    ASSERT_EQ(messages.size(), 4);
    EXPECT_EQ(messages[0], "Click on the map to place point 1 first.");
    EXPECT_TRUE(messages[1].startsWith("The two points are too close together: they are 0 pixels "
                                       "apart across and 0 up and down"))
        << messages[1].toStdString();
    EXPECT_TRUE(messages[2].startsWith("The latitude of point 2 (\"51,0\") cannot be read"))
        << messages[2].toStdString();
    EXPECT_TRUE(messages[3].contains("the folder " + path("charts") + " cannot be written"))
        << messages[3].toStdString();
    EXPECT_EQ(m_form->mapPath(), london);
    EXPECT_EQ(panel(2), "   London south");

    // The picture is back: its points were kept, and OK now writes and loads it.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("charts"));
    makeMap("charts/chart.png", 400, 300, QByteArray(), "png");
    ModalWatch again("frmCalibrate", [&](QDialog* d) {
        EXPECT_EQ(child<QLineEdit>(d, "edtLatitude2")->text(), "51.00N");
        ok(d);
    });
    chooseNextMap(chart);
    m_dialogs.clear();
    m_dialogs.yesAnswers.enqueue(true);
    find<QToolButton>("btnLoad")->click();
    ASSERT_TRUE(again.ran());
    EXPECT_EQ(m_dialogs.texts().size(), 1) << m_dialogs.texts().join("|").toStdString();
    ASSERT_EQ(m_form->mapPath(), chart);
    EXPECT_EQ(panel(2), "   chart");
    moveTo({350, 250});
    EXPECT_EQ(panel(1), "  51.00.00N   000.30.00E");
    moveTo({50, 50});
    EXPECT_EQ(panel(1), "  51.30.00N   000.30.00W");
}

} // namespace
