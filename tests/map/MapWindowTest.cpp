// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapSymbols.h"
#include "map/MapView.h"
#include "map/MapWindowFixture.h"
#include "map/PictureLoader.h"
#include "settings/IniFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

class MapWindow : public MapWindowFixture {};

TEST_F(MapWindow, PointerReadoutFollowsTheCalibration) {
    startOnMap(makeMap("london.jpg", 400, 320));
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join("|").toStdString();
    EXPECT_EQ(panel(2), "   London south");
    EXPECT_EQ(image()->size(), QSize(400, 320));
    EXPECT_DOUBLE_EQ(m_form->findChild<MapView*>()->calibration().LatitudePerPixel, 0.0625);
    EXPECT_DOUBLE_EQ(m_form->findChild<MapView*>()->calibration().LongitudePerPixel, 0.125);

    const struct {
        int x, y;
        const char* readout;
    } cases[] = {
        {0, 0, "  51.30.00N   000.45.00W"},     {240, 240, "  51.15.00N   000.15.00W"},
        {360, 0, "  51.30.00N   000.00.00W"},   {380, 0, "  51.30.00N   000.02.50E"},
        {399, 319, "  51.10.06N   000.04.87E"},
    };
    // The readout shows whole: its panel is at least as wide as the text, frame and indent.
    const QLabel* readout = m_form->barPanel(1);
    const int indent = readout->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    EXPECT_GE(readout->width(), 150);
    for (const auto& c : cases) {
        move(c.x, c.y);
        EXPECT_EQ(panel(1), c.readout) << c.x << "," << c.y;
        EXPECT_LE(readout->fontMetrics().horizontalAdvance(panel(1)) + indent,
                  readout->contentsRect().width())
            << c.readout;
    }
    EXPECT_EQ(image()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(MapWindow, CalibrationExamplesHoldThroughTheWindow) {
    startOnMap(makeMap("swapped.jpg", 400, 320,
                       "000.45.00W, 51.30.00N\r\n000.05.00E, 51.10.00N\r\nSwapped\r\n"));
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join("|").toStdString();
    EXPECT_DOUBLE_EQ(m_form->findChild<MapView*>()->calibration().LatitudeSpan, 20);
    EXPECT_DOUBLE_EQ(m_form->findChild<MapView*>()->calibration().LongitudeSpan, 50);
    move(240, 240);
    EXPECT_EQ(panel(1), "  51.15.00N   000.15.00W");

    const struct {
        const char* name;
        int width, height;
        const char* inf;
        double longitudeSpan;
        int x, y;
        const char* readout;
    } maps[] = {
        {"east.jpg", 240, 320, "51.30.00N, 010.00.00E\r\n51.10.00N, 012.00.00E\r\nEast\r\n", -120,
         120, 0, "  51.30.00N   011.00.00E"},
        {"dateline.jpg", 120, 60, "10.00.00N, 179.00.00E\r\n09.00.00N, 179.00.00W\r\nPacific\r\n",
         -120, 90, 0, "  10.00.00N   179.30.00W"},
        {"equator.bmp", 120, 120, "00.30.00N, 000.30.00W\r\n00.30.00S, 000.30.00E\r\nGulf\r\n", 60,
         60, 61, "  00.00.50S   000.00.00W"},
        {"cut.jpg", 400, 320, "51.20.00N, 000.45.00W\r\n51.10.00N, 000.05.00E\r\nCut\r\n", 50, 0, 0,
         "  51.19.99N   000.45.00W"},
    };
    for (const auto& m : maps) {
        SCOPED_TRACE(m.name);
        const QString name = QString::fromLatin1(m.name);
        const QString picture =
            makeMap(name, m.width, m.height, m.inf, name.endsWith(".bmp") ? "bmp" : "jpg");
        chooseNextMap(picture);
        find<QToolButton>("btnLoad")->click();
        ASSERT_EQ(m_form->mapPath(), picture) << m_dialogs.texts().join("|").toStdString();
        EXPECT_EQ(image()->size(), QSize(m.width, m.height));
        EXPECT_DOUBLE_EQ(m_form->findChild<MapView*>()->calibration().LongitudeSpan,
                         m.longitudeSpan);
        move(m.x, m.y);
        EXPECT_EQ(panel(1), m.readout);
    }
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();
}

TEST_F(MapWindow, ClickPlacesTheShownObjectWithMatchingBoxesAndTexts) {
    startOnMap(makeMap("london.bmp", 400, 320, LondonInf, "bmp"));
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    showPage(1);
    release(240, 240);
    const BeaconObject& o = m_form->panel(1)->object();
    EXPECT_EQ(find<QLineEdit>("Latitude1")->text(), "51.15.00N");
    EXPECT_EQ(find<QLineEdit>("Longitude1")->text(), "000.15.00W");
    EXPECT_EQ(o.latitude, "5115.00N");
    EXPECT_EQ(o.longitude, "00015.00W");
    EXPECT_TRUE(o.hasPosition);
    EXPECT_EQ(symbols().position(1), QPoint(232, 232));
    EXPECT_EQ(symbols().shownIndex(1), MapSymbols::Placeholder);
    EXPECT_EQ(symbols().stoppedLabel(1)->pos(), QPoint(256, 232));
    EXPECT_TRUE(find<QLineEdit>("Header1")->text().contains("5115.00N"));
    EXPECT_FALSE(m_form->panel(0)->hasPosition()); // only the shown object moves

    // Without a symbol every click moves it again.
    release(100, 80);
    EXPECT_EQ(o.latitude, "5125.00N");
    EXPECT_EQ(symbols().position(1), QPoint(92, 72));

    // With a symbol chosen and no picking mode a click leaves it where it is...
    auto* list = find<QComboBox>("cmbSymbol1");
    list->setCurrentIndex(3);
    emit list->activated(3);
    EXPECT_EQ(symbols().shownIndex(1), 4);
    release(300, 300);
    EXPECT_EQ(o.latitude, "5125.00N");

    // ...until its picture is clicked: then the next click moves it, once.
    clickPicture(symbols().picture(1, 4));
    EXPECT_TRUE(m_form->panel(1)->picking());
    EXPECT_EQ(image()->cursor().shape(), Qt::CrossCursor);
    move(10, 10);
    EXPECT_EQ(image()->cursor().shape(), Qt::CrossCursor);
    release(300, 300);
    EXPECT_EQ(symbols().position(1), QPoint(292, 292));
    EXPECT_EQ(symbols().shownIndex(1), 4);
    EXPECT_FALSE(m_form->panel(1)->picking());
    EXPECT_EQ(image()->cursor().shape(), Qt::PointingHandCursor);
    release(50, 50);
    EXPECT_EQ(symbols().position(1), QPoint(292, 292));

    // The right button and any key end picking mode without moving anything.
    clickPicture(symbols().picture(1, 4));
    release(50, 50, Qt::RightButton);
    EXPECT_FALSE(m_form->panel(1)->picking());
    release(50, 50);
    EXPECT_EQ(symbols().position(1), QPoint(292, 292));
    clickPicture(symbols().picture(1, 4));
    key(find<QLineEdit>("Comment1"), Qt::Key_X, "x");
    EXPECT_FALSE(m_form->panel(1)->picking());
    release(50, 50);
    EXPECT_EQ(symbols().position(1), QPoint(292, 292));

    // Clicking object 3's picture brings its page to the front and only it picks.
    clickPicture(symbols().picture(2, 0));
    EXPECT_EQ(find<QTabWidget>("Page")->currentIndex(), 2);
    EXPECT_TRUE(m_form->panel(2)->picking());
    EXPECT_FALSE(m_form->panel(1)->picking());
}

TEST_F(MapWindow, IdentifierKeysAreCapitalisedAndEnterActsAsTab) {
    startOnMap(makeMap("london.jpg", 400, 320));
    auto* ident = find<QLineEdit>("Identifier1");
    auto* comment = find<QLineEdit>("Comment1");
    showPage(1);
    release(240, 240); // an identifier needs a position first
    for (const char* c : {"a", "b", "{", "1", "Z"})
        key(ident, 0, QString::fromLatin1(c));
    EXPECT_EQ(ident->text(), "AB[1Z");
    EXPECT_EQ(m_form->panel(1)->object().identifier, "AB[1Z");
    EXPECT_TRUE(find<QLineEdit>("Header1")->text().startsWith(";AB[1Z    *"));
    key(comment, Qt::Key_A, "a");
    EXPECT_EQ(comment->text(), "a");

    // Enter moves the focus on as Tab would. The window's own focus is checked, so the check
    // runs whether or not the window system made the window active.
    m_form->activateWindow();
    ident->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(m_form->focusWidget(), ident);
    key(ident, Qt::Key_Return, "\r");
    EXPECT_NE(m_form->focusWidget(), ident);
    EXPECT_NE(m_form->focusWidget(), nullptr);
    EXPECT_EQ(ident->text(), "AB[1Z");
}

TEST_F(MapWindow, NoMapMeansArrowAndNoPlacing) {
    writeIni("[Object]\r\nMap=\r\n");
    start();
    EXPECT_FALSE(m_form->findChild<MapView*>()->loaded());
    move(10, 10);
    EXPECT_EQ(image()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(panel(1), "");
    release(10, 10);
    EXPECT_FALSE(m_form->panel(0)->hasPosition());

    find<QLineEdit>("Latitude1")->setText("x");
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(find<QLineEdit>("Latitude1"), &click);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Click on the map to select a location."});
}

TEST_F(MapWindow, SecondMapSavesTheFirstsObjectsAndTheFirstComesBack) {
    const QString first = makeMap("first.jpg", 1600, 1200);
    const QString second =
        makeMap("second.bmp", 300, 200,
                "50.00.00N, 001.00.00E\r\n49.00.00N, 002.00.00E\r\nSecond\r\n", "bmp");
    startOnMap(first);
    m_form->resize(620, 438);
    QApplication::processEvents();
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());

    // Placed, named and given a symbol as the user does it.
    auto choose = [this](const char* list, int item) {
        auto* combo = find<QComboBox>(list);
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    };
    showPage(0);
    release(240, 240);
    find<QLineEdit>("Identifier")->setText("CAR");
    choose("cmbSymbol", 3);
    find<QLineEdit>("Comment")->setText("Net tonight");
    showPage(2);
    release(100, 80);
    find<QLineEdit>("Identifier2")->setText("PARK");
    choose("cmbSymbol2", 8);
    ASSERT_EQ(symbols().shownIndex(0), 4);
    ASSERT_EQ(symbols().shownIndex(2), 9);
    ASSERT_EQ(symbols().stoppedLabel(2)->text(), "PARK");
    hbar()->setValue(300);
    vbar()->setValue(200);
    ASSERT_EQ(hbar()->value(), 300);
    const QString carLatitude = m_form->panel(0)->object().latitude; // "5125.99N": cut, not rounded
    const QString carLongitude = m_form->panel(0)->object().longitude; // "00037.50W"
    ASSERT_EQ(carLatitude, "5125.99N");

    // The first map's objects file is written as the dialog returns, before the new map is read.
    chooseNextMap(second);
    find<QToolButton>("btnLoad")->click();
    ASSERT_EQ(m_dialogs.fileRequests.size(), 1);
    EXPECT_EQ(m_dialogs.fileRequests[0].fileName, first);
    EXPECT_EQ(m_dialogs.fileRequests[0].filter, PictureLoader::dialogFilter());
    IniFile saved;
    ASSERT_TRUE(saved.load(obd(first)));
    EXPECT_EQ(saved.readString("Object1", "Latitude", ""), carLatitude);
    EXPECT_EQ(saved.readString("Object1", "Longitude", ""), carLongitude);
    EXPECT_EQ(saved.readString("Object1", "Ident", ""), "CAR");
    EXPECT_EQ(saved.readString("Object1", "Comment", ""), "Net tonight");
    EXPECT_EQ(saved.readInteger("Object1", "Index", 0), 4);
    EXPECT_EQ(saved.readInteger("Internal", "ST", 0), 232);
    EXPECT_EQ(saved.readInteger("Internal", "SL2", 0), 92);
    EXPECT_EQ(saved.readInteger("Internal", "HP", 0), 300);
    EXPECT_EQ(saved.readInteger("Internal", "VP", 0), 200);
    EXPECT_EQ(saved.readString("Object3", "Ident", ""), "PARK");

    EXPECT_EQ(panel(2), "   Second");
    EXPECT_EQ(image()->size(), QSize(300, 200));
    // The page showing (object 3) was emptied; the others stay until their map has objects.
    EXPECT_FALSE(m_form->panel(2)->hasPosition());
    EXPECT_TRUE(find<QLineEdit>("Latitude2")->text().isEmpty());
    EXPECT_EQ(symbols().shownIndex(2), -1);
    EXPECT_FALSE(symbols().stoppedLabel(2)->isVisibleTo(find<QWidget>("MapArea")));
    EXPECT_TRUE(m_form->panel(0)->hasPosition());

    // Back to the first map: its objects, pictures, labels and scroll position return.
    chooseNextMap(first);
    find<QToolButton>("btnLoad")->click();
    EXPECT_EQ(panel(2), "   London south");
    const BeaconObject& car = m_form->panel(0)->object();
    EXPECT_TRUE(car.hasPosition);
    EXPECT_EQ(car.latitude, carLatitude);
    EXPECT_EQ(car.longitude, carLongitude);
    EXPECT_EQ(car.symbolNumber, 4);
    EXPECT_EQ(find<QLineEdit>("Latitude")->text(), "51.25.99N");
    EXPECT_EQ(find<QLineEdit>("Longitude")->text(), "000.37.50W");
    EXPECT_EQ(find<QLineEdit>("Identifier")->text(), "CAR");
    EXPECT_EQ(find<QLineEdit>("Comment")->text(), "Net tonight");
    EXPECT_EQ(find<QComboBox>("cmbSymbol")->currentIndex(), 3);
    EXPECT_EQ(find<QTabWidget>("Page")->tabText(0), "CAR");
    EXPECT_EQ(find<QTabWidget>("Page")->tabText(2), "PARK");
    EXPECT_EQ(find<QTabWidget>("Page")->currentIndex(), 0);
    EXPECT_EQ(symbols().position(0), QPoint(232, 232));
    EXPECT_EQ(symbols().shownIndex(0), 4);
    EXPECT_EQ(symbols().position(2), QPoint(92, 72));
    EXPECT_EQ(symbols().shownIndex(2), 9);
    QWidget* area = find<QWidget>("MapArea");
    EXPECT_TRUE(symbols().stoppedLabel(0)->isVisibleTo(area));
    EXPECT_EQ(symbols().stoppedLabel(0)->text(), "CAR");
    EXPECT_EQ(symbols().stoppedLabel(0)->pos(), QPoint(256, 232));
    EXPECT_EQ(symbols().stoppedLabel(2)->text(), "PARK");
    EXPECT_TRUE(find<QLineEdit>("Header")->text().startsWith(";CAR      *"));
    EXPECT_EQ(find<QLineEdit>("Header")->text().size(), 37);
    EXPECT_EQ(hbar()->value(), 300);
    EXPECT_EQ(vbar()->value(), 200);
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();
}

TEST_F(MapWindow, LoadsThatCannotGoAheadChangeNothing) {
    const QString first = makeMap("first.jpg", 400, 320);
    const QString noInf = makeMap("lonely.jpg", 100, 100, QByteArray());
    const QString broken = path("broken.jpg");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(100, 'x'));
        QFile inf(path("broken.inf"));
        ASSERT_TRUE(inf.open(QIODevice::WriteOnly));
        inf.write(LondonInf);
    }
    const QString badValue =
        makeMap("bad.jpg", 100, 100, "51.3x.00N, 000.45.00W\r\n51.10.00N, 000.05.00E\r\nBad\r\n");
    startOnMap(first);
    showPage(1);
    release(240, 240);
    auto unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(m_form->findChild<MapView*>()->loaded());
        EXPECT_EQ(m_form->mapPath(), first);
        EXPECT_EQ(panel(2), "   London south");
        EXPECT_EQ(image()->size(), QSize(400, 320));
        EXPECT_EQ(m_form->panel(1)->object().latitude, "5115.00N");
        EXPECT_EQ(symbols().shownIndex(1), 0);
    };

    m_dialogs.fileAnswers.enqueue(std::nullopt); // cancelled
    find<QToolButton>("btnLoad")->click();
    unchanged("cancelled");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());

    // Offered to be calibrated; declined.
    chooseNextMap(noInf);
    m_form->LoadMap1Click();
    unchanged("no calibration file");
    ASSERT_EQ(m_dialogs.texts().size(), 1);
    EXPECT_EQ(m_dialogs.shown.last().kind, "yesNo");
    EXPECT_TRUE(m_dialogs.texts()[0].startsWith("Unable to locate the \".INF\" file for " + noInf +
                                                "\n\n"));
    EXPECT_TRUE(m_dialogs.texts()[0].contains("Calibrate the picture now?"));

    m_dialogs.clear();
    chooseNextMap(broken);
    find<QToolButton>("btnLoad")->click();
    unchanged("broken picture");
    ASSERT_EQ(m_dialogs.shown.size(), 2);
    EXPECT_EQ(m_dialogs.shown[1].kind, "error");
    EXPECT_TRUE(m_dialogs.shown[1].text.contains(broken));

    m_dialogs.clear();
    chooseNextMap(badValue);
    find<QToolButton>("btnLoad")->click();
    unchanged("calibration value not a number");
    const QString message = m_dialogs.texts().value(0);
    EXPECT_TRUE(message.contains("bad.inf")) << message.toStdString();
    EXPECT_TRUE(message.contains("line 1")) << message.toStdString();

    // A calibration file that is there but cannot be read: a message, and the program goes on.
    m_dialogs.clear();
    const QString unreadable = makeMap("unreadable.jpg", 60, 60, QByteArray());
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("unreadable.inf"));
    chooseNextMap(unreadable);
    find<QToolButton>("btnLoad")->click();
    unchanged("calibration file unreadable");
    ASSERT_EQ(m_dialogs.texts().size(), 1);
    EXPECT_EQ(m_dialogs.shown.last().kind, "error");
    EXPECT_TRUE(m_dialogs.texts()[0].contains("unreadable.inf"));

    // The current map's objects file cannot be written: the load stops before anything else.
    m_dialogs.clear();
    QFile::remove(obd(first));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("first.obd"));
    chooseNextMap(makeMap("other.jpg", 50, 50));
    find<QToolButton>("btnLoad")->click();
    unchanged("objects file not writable");
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Unable to write to " + obd(first)});
}

TEST_F(MapWindow, UnreadableCalibrationAtStartUpLeavesNoMapAndKeepsItsObjects) {
    const QString picture = makeMap("club.jpg", 200, 100, QByteArray());
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("club.inf")); // there, but cannot be read as a file
    const QByteArray objects = "[Object1]\r\nLatitude=5115.00N\r\nLongitude=00015.00W\r\n"
                               "Ident=KEEP\r\nIndex=4\r\n";
    {
        QFile f(obd(picture));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(objects);
    }
    startOnMap(picture);
    EXPECT_FALSE(m_form->findChild<MapView*>()->loaded());
    ASSERT_EQ(m_dialogs.shown.size(), 1);
    EXPECT_EQ(m_dialogs.shown[0].kind, "error");
    EXPECT_TRUE(m_dialogs.shown[0].text.contains("club.inf"));
    EXPECT_EQ(panel(2), "");
    move(5, 5);
    EXPECT_EQ(image()->cursor().shape(), Qt::ArrowCursor);

    // At close the map's objects file is left alone and the map stays the remembered one.
    EXPECT_TRUE(closeWindow());
    QFile f(obd(picture));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), objects);
    IniFile settings;
    ASSERT_TRUE(settings.load(iniPath()));
    EXPECT_EQ(settings.readString("Object", "Map", ""), picture);
}

TEST_F(MapWindow, AnObjectsFileThatCannotBeWrittenAsksBeforeClosingAndTheSettingsAreSaved) {
    const QString picture = makeMap("share.jpg", 200, 100);
    startOnMap(picture);
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    // As if the map were on a read-only share: a folder stands where the file must go.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("share.obd"));
    editStation(*m_form, [&](StationSettings& s) { s.MyCall = "G4XYZ-2"; });
    m_dialogs.clear();
    m_dialogs.yesAnswers.enqueue(true);
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(m_dialogs.texts(),
              (QStringList{"Close Skyvane?", "Unable to write to " + obd(picture),
                           "Close Skyvane without saving the objects of this map (" + obd(picture) +
                               ")? They will be lost."}));
    IniFile settings;
    ASSERT_TRUE(settings.load(iniPath()));
    EXPECT_EQ(settings.readString("Station", "MyCall", ""), "G4XYZ-2");
}

TEST_F(MapWindow, WeatherStationIsSavedWithoutItsCommentAndDamagedEntriesAreRefused) {
    const QString picture = makeMap("wx.jpg", 400, 320);
    {
        QFile f(obd(picture));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Object1]\r\nLatitude=5115.00N\r\nLongitude=00015.00W\r\nTable=/\r\nSymbol=_\r\n"
                "Comment=180/005g010t072\r\nIndex=12\r\n[Internal]\r\nST=40\r\nSL=30\r\n"
                "[Object2]\r\nLatitude=hello\r\nLongitude=00015.00W\r\nIdent=BAD\r\n");
    }
    startOnMap(picture);
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    EXPECT_EQ(m_form->panel(0)->object().symbolNumber, 12);
    EXPECT_EQ(symbols().shownIndex(0), 12);
    EXPECT_EQ(symbols().position(0), QPoint(30, 40));
    EXPECT_EQ(symbols().stoppedLabel(0)->text(), "NOCALL-1");
    EXPECT_EQ(symbols().stoppedLabel(0)->width(), 64);
    EXPECT_TRUE(find<QLineEdit>("Header")->text().startsWith("/"));
    EXPECT_EQ(find<QLineEdit>("Header")->text().size(), 27);
    EXPECT_FALSE(m_form->panel(1)->hasPosition());
    ASSERT_EQ(m_dialogs.texts().size(), 1);
    EXPECT_TRUE(m_dialogs.texts()[0].contains("Object 2")) << m_dialogs.texts()[0].toStdString();

    find<QLineEdit>("Comment")->setText("180/005g010t072");
    EXPECT_TRUE(closeWindow());
    IniFile saved;
    ASSERT_TRUE(saved.load(obd(picture)));
    EXPECT_EQ(saved.readString("Object1", "Comment", "?"), "");
    EXPECT_EQ(saved.readInteger("Object1", "Index", 0), 12);
    EXPECT_EQ(saved.readString("Object1", "Symbol", ""), "_");
}

TEST_F(MapWindow, FirstStartShowsTheSampleMapAndTheDialogStartsBesideIt) {
    start(); // no settings file
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join("|").toStdString();
    EXPECT_EQ(m_form->mapPath(), path("maps/strait-of-dover.jpg"));
    // On the middle of the map, where the towns are, in a window wholly on the screen.
    const QPoint middle =
        view().area()->mapFrom(view().viewport(), view().viewport()->rect().center());
    EXPECT_LE((view().pictureAt(middle) - QPoint(600, 320)).manhattanLength(), 2);
    EXPECT_TRUE(m_form->screen()->availableGeometry().contains(m_form->frameGeometry()));
    EXPECT_TRUE(panel(2).startsWith("   Strait of Dover"));
    move(0, 0);
    EXPECT_EQ(panel(1), "  51.30.00N   000.30.00W");
    move(1200 / 3, 640 / 2); // one degree east of the left edge, half a degree down
    EXPECT_EQ(panel(1), "  51.00.00N   000.30.00E");
    EXPECT_TRUE(closeWindow());
    EXPECT_TRUE(QFileInfo::exists(path("maps/strait-of-dover.obd")));

    // A later start without a map remembered opens the picture dialog in the sample folder.
    writeIni("[Object]\r\nMap=\r\n");
    m_form.reset();
    start();
    EXPECT_FALSE(m_form->findChild<MapView*>()->loaded());
    find<QToolButton>("btnLoad")->click();
    ASSERT_EQ(m_dialogs.fileRequests.size(), 1);
    EXPECT_EQ(m_dialogs.fileRequests[0].fileName, path("maps"));
}

} // namespace
