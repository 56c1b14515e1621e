// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "links/LinkControl.h"
#include "map/MapView.h"
#include "settings/IniFile.h"
#include "support/Keys.h"
#include "support/PacketEngine.h"
#include "support/ScopedLocale.h"
#include "support/Wait.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The main window on maps in folders of the test's own, placed and sent as a user does.
class DesktopLanguageWindow : public ObjectsFixture {
protected:
    // A plain picture with its calibration file; returns the picture's path.
    QString makeMap(const QString& folder, const QByteArray& inf, int width, int height) {
        EXPECT_TRUE(QDir().mkpath(folder));
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(200, 220, 240));
        const QString picture = folder + QStringLiteral("/map.jpg");
        EXPECT_TRUE(image.save(picture, "jpg"));
        QFile f(folder + QStringLiteral("/map.inf"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inf);
        return picture;
    }
    // A click on the map picture at (x, y), delivered as the window system delivers it.
    void clickMap(int x, int y) {
        auto* image = find<QWidget>("Image1");
        const QPointF at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, image->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(image, &move);
        QMouseEvent up(QEvent::MouseButtonRelease, at, image->mapToGlobal(at), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(image, &up);
    }
};

struct Placed {
    QString latitudeBox, longitudeBox, readout, header;
    QByteArray frame;       // the whole AGWPE frame of the report
    QByteArray objectsFile; // as written at close
};

} // namespace

// A German (or Turkish) desktop reads "51.25" with a decimal comma; a click must still give the
// position under the pointer, on the screen, on the air and in the objects file.
TEST_F(DesktopLanguageWindow, ClickOnTheMapPlacesAndSendsTheSameUnderEveryLanguage) {
    const QByteArray inf = "51.40.00N, 000.20.00W\r\n51.20.00N, 000.05.00E\r\nDowns\r\n";
    std::vector<Placed> results;
    for (const char* language : TestLocales) {
        SCOPED_TRACE(language);
        ScopedLocale locale(language);
        ASSERT_TRUE(locale.active()) << language << " is not installed on this machine";
        const QString folder = path(QString::fromLatin1(language));
        const QString picture = makeMap(folder, inf, 500, 400);
        const QString ini = folder + QStringLiteral("/skyvane.ini");
        {
            QFile f(ini);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("[Station]\r\nMyCall=G4ABC-1\r\n[Object]\r\nMap=" + picture.toLatin1() +
                    "\r\n");
        }
        m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(14, 5), Qt::UTC));
        start(ini);
        ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
            << m_dialogs.texts().join('|').toStdString();

        // 51.30.00N 000.07.50W: 10 minutes below the top, 12.5 right of the left edge.
        showTab(0);
        clickMap(250, 200);
        chooseSymbol(0, QStringLiteral("Aid Station"));
        name(0, QStringLiteral("AID1"));
        box("Comment", 0)->setText(QStringLiteral("Water 1.5 l"));

        PacketEngine engine;
        editLink(*m_form, [&](LinkSettings& s) { s.IPAddr = QStringLiteral("127.0.0.1"); });
        editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = engine.port(); });
        m_form->link()->setBusyInterval(1);
        m_form->btnConnect1Click();
        ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
        button("btnSend", 0)->click();
        ASSERT_TRUE(engine.waitForFrames(1));

        Placed p;
        p.latitudeBox = box("Latitude", 0)->text();
        p.longitudeBox = box("Longitude", 0)->text();
        p.readout = m_form->barPanel(1)->text();
        p.header = box("Header", 0)->text();
        p.frame = engine.frames.value(0).bytes;
        ASSERT_TRUE(waitUntil([&] { return !m_form->link()->isBusy(); }));
        ASSERT_TRUE(closeWindow()) << m_dialogs.texts().join('|').toStdString();
        m_form.reset();
        p.objectsFile = readFile(folder + QStringLiteral("/map.obd"));
        results.push_back(p);
    }
    const Placed& c = results[0];
    EXPECT_EQ(c.latitudeBox, "51.30.00N");
    EXPECT_EQ(c.longitudeBox, "000.07.50W");
    EXPECT_EQ(c.readout, "  51.30.00N   000.07.50W");
    EXPECT_EQ(c.header, ";AID1     *061405z5130.00N/00007.50WA");
    EXPECT_TRUE(c.frame.endsWith(";AID1     *061405z5130.00N/00007.50WAWater 1.5 l"))
        << c.frame.toStdString();
    EXPECT_TRUE(c.objectsFile.contains("Latitude=5130.00N\r\nLongitude=00007.50W"))
        << c.objectsFile.toStdString();
    for (size_t i = 1; i < results.size(); ++i) {
        SCOPED_TRACE(TestLocales[i]);
        EXPECT_EQ(results[i].latitudeBox, c.latitudeBox);
        EXPECT_EQ(results[i].longitudeBox, c.longitudeBox);
        EXPECT_EQ(results[i].readout, c.readout);
        EXPECT_EQ(results[i].header, c.header);
        EXPECT_EQ(results[i].frame, c.frame);
        EXPECT_EQ(results[i].objectsFile, c.objectsFile);
    }
}

// A map in a folder named in Cyrillic is remembered through a close and comes back at the next
// start, with its objects and a comment file of the same kind.
TEST_F(DesktopLanguageWindow, MapInAFolderNamedInCyrillicComesBackAtTheNextStart) {
    const QString folder = path(QString::fromUtf8("Карты Łódź"));
    const QString picture =
        makeMap(folder, "51.30.00N, 000.45.00W\r\n51.10.00N, 000.05.00E\r\nKent\r\n", 400, 320);
    const QString commentFile = folder + QString::fromUtf8("/погода.txt");
    {
        QFile f(commentFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("06/03/26 14:30\r\nDry\r\n");
    }
    writeIni("[Object]\r\nMap=\r\n");
    start();
    m_dialogs.fileAnswers.enqueue(Dialogs::FileChoice{picture, 1});
    m_form->btnLoadClick();
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join('|').toStdString();
    showTab(1);
    clickMap(240, 240);
    name(1, QStringLiteral("CAMP"));
    m_form->panel(1)->slot().setCommentFile(commentFile);
    ASSERT_TRUE(closeWindow()) << m_dialogs.texts().join('|').toStdString();
    m_form.reset();
    // Windows-1252 has no Cyrillic letters: both files are UTF-8, marked as such.
    EXPECT_TRUE(readIni().startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(readIni().contains(picture.toUtf8()));
    EXPECT_TRUE(readFile(folder + QStringLiteral("/map.obd")).startsWith("\xEF\xBB\xBF"));

    m_dialogs.clear();
    start();
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join('|').toStdString();
    EXPECT_EQ(m_form->mapPath(), picture);
    EXPECT_EQ(box("Latitude", 1)->text(), "51.15.00N");
    EXPECT_EQ(box("Identifier", 1)->text(), "CAMP");
    EXPECT_EQ(m_form->panel(1)->object().commentFile, commentFile);
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join('|').toStdString();
}

// A remembered map that is gone (a drive not mounted, a folder renamed) is named at start-up
// instead of leaving an empty window unexplained, and stays remembered.
TEST_F(DesktopLanguageWindow, MissingMapAtStartUpIsNamed) {
    const QString gone = path(QString::fromUtf8("Карты/map.jpg"));
    IniFile settings;
    settings.writeString("Object", "Map", gone);
    ASSERT_TRUE(settings.save(iniPath()));
    start();
    EXPECT_FALSE(m_form->findChild<MapView*>()->loaded());
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Unable to find the map " + gone});

    const QString noInf = makeMap(path("bare"), "", 40, 30);
    QFile::remove(path("bare/map.inf"));
    settings.writeString("Object", "Map", noInf);
    ASSERT_TRUE(settings.save(iniPath()));
    m_dialogs.clear();
    m_form.reset();
    start();
    EXPECT_FALSE(m_form->findChild<MapView*>()->loaded());
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Unable to locate the \".INF\" file for " + noInf});
    ASSERT_TRUE(closeWindow());
    m_form.reset();
    IniFile back;
    ASSERT_TRUE(back.load(iniPath()));
    EXPECT_EQ(back.readString("Object", "Map", ""), noInf);
}

// A Turkish keyboard gives "ı" and "İ" for the i keys; neither is in Windows-1252, and
// neither may leave as "?". Typed, pasted or read back, the name on the air is plain capitals.
TEST_F(DesktopLanguageWindow, TurkishIsInTheIdentifierGoOnTheAirAsCapitalI) {
    for (const char* language : TestLocales) {
        SCOPED_TRACE(language);
        ScopedLocale locale(language);
        ASSERT_TRUE(locale.active()) << language << " is not installed on this machine";
        m_dialogs.clear();
        start();
        place(0);
        chooseSymbol(0, QStringLiteral("Car"));
        QLineEdit* identifier = box("Identifier", 0);
        identifier->setFocus();
        typeText(identifier, QString::fromUtf8("k\u0131r\u0130k\u015F\u65E5"));
        EXPECT_EQ(identifier->text(), QStringLiteral("KIRIKS"));
        identifier->clear();
        // Pasted: marks dropped, what no letter stands for left out, the rest as pasted.
        identifier->insert(QString::fromUtf8("\u0130zm\u0131r\u0416"));
        EXPECT_EQ(identifier->text(), QStringLiteral("Izmir"));
        EXPECT_EQ(identifier->cursorPosition(), 5);
        identifier->setText(QString::fromUtf8("S\u0130RKEC\u0130"));
        EXPECT_EQ(m_form->panel(0)->object().identifier, QStringLiteral("SIRKECI"));

        PacketEngine engine;
        editLink(*m_form, [&](LinkSettings& s) { s.IPAddr = QStringLiteral("127.0.0.1"); });
        editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = engine.port(); });
        editStation(*m_form, [&](StationSettings& s) { s.MyCall = QStringLiteral("TA1ABC"); });
        m_form->link()->setBusyInterval(1);
        m_form->btnConnect1Click();
        ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
        button("btnSend", 0)->click();
        ASSERT_TRUE(engine.waitForFrames(1));
        EXPECT_TRUE(engine.frames[0].info.startsWith(";SIRKECI  *"))
            << engine.frames[0].info.toStdString();
        EXPECT_FALSE(engine.frames[0].info.contains('?'));
        EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join('|').toStdString();
        ASSERT_TRUE(waitUntil([&] { return !m_form->link()->isBusy(); }));
        m_form.reset();
    }
}
