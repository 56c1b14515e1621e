// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/MainWindowFixture.h"
#include "links/LinkControl.h"
#include "links/Serial/TSerialPort.h"
#include "links/TAGWPE.h"
#include "settings/IniFile.h"
#include "station/Station.h"
#include "support/Wait.h"
#include "widgets/TForm14.h"
#include "widgets/TSpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <csignal>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Startup = MainWindowFixture;
using Shutdown = MainWindowFixture;

TEST_F(Startup, FirstStartWithoutSettingsFile) {
    m_newStationPath = true;
    TForm1& form = start();
    EXPECT_TRUE(m_dialogs.shown.isEmpty());
    EXPECT_EQ(form.windowTitle(), "Skyvane [NOCALL-1]");
    EXPECT_FALSE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_FALSE(find<QAction>("mnuConnect")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("btnDisconnect")->isEnabled());
    EXPECT_EQ(form.pos(), QPoint(10, 10));
    EXPECT_EQ(form.size(), QSize(620, 438));
    EXPECT_EQ(form.station().Destination, "CQ");
    EXPECT_EQ(form.station().WxDest, "WX");
    EXPECT_EQ(form.station().PortFlags, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(form.station().UnprotoPath, "WIDE1-1,WIDE2-1");
    EXPECT_EQ(form.linkSettings().IPAddr, "127.0.0.1");
    EXPECT_EQ(form.linkSettings().TCPPort, "8000");
    for (const char* spin : {"spinInterval", "spinInterval1", "spinInterval2"})
        EXPECT_EQ(find<TSpinEdit>(spin)->Value(), 30) << spin;
    // A first start has no callsign: the status box says what to do first.
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(),
              "Set your callsign in Setup > Station Setup to connect");
    EXPECT_EQ(find<QTabWidget>("Page")->currentIndex(), 0);
    EXPECT_FALSE(find<QAction>("HelpFile1")->isEnabled());
    EXPECT_TRUE(find<QAction>("mnuHints")->isChecked());
    EXPECT_FALSE(form.findChild<QTimer*>("Timer3")->isActive());
    // 6 March, 15:23 UTC.
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(form.panel(k)->object().timeStamp, "061523z");
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(Startup, StoredValuesAndTheirDerivedForms) {
    writeIni("[TNC Commands]\r\nCommand=abc\r\nSendPac=$1B\r\n"
             "[Form]\r\nLeft=30\r\nTop=40\r\nWidth=700\r\nHeight=480\r\nHints=0\r\n"
             "[Station]\r\nMyCall=G4ABC-2\r\nUnproto=3\r\nHeader=WIDE2-2\r\nPorts=01\r\n"
             "[Timers]\r\nT1=15\r\nT2=200\r\nT3=x\r\n");
    TForm1& form = start();
    EXPECT_EQ(form.windowTitle(), "Skyvane [G4ABC-2]");
    EXPECT_TRUE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_TRUE(find<QAction>("mnuConnect")->isEnabled());
    EXPECT_EQ(form.station().UnprotoPath, "RELAY, WIDE");
    EXPECT_EQ(form.station().LinkPath, "RELAY, WIDE");
    EXPECT_EQ(form.station().PortFlags, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_EQ(form.linkSettings().Command, "$03");
    EXPECT_EQ(form.linkSettings().CommandCode, 3);
    EXPECT_EQ(form.linkSettings().SendPacCode, 27);
    EXPECT_EQ(form.pos(), QPoint(30, 40));
    EXPECT_EQ(form.size(), QSize(700, 480));
    EXPECT_FALSE(form.hints());
    EXPECT_FALSE(find<QAction>("mnuHints")->isChecked());
    EXPECT_TRUE(find<QToolButton>("btnLoad")->toolTip().isEmpty());
    EXPECT_EQ(find<TSpinEdit>("spinInterval")->Value(), 15);
    // Out of range is pulled into it; not a number at all is the default.
    EXPECT_EQ(find<TSpinEdit>("spinInterval1")->Value(), 120);
    EXPECT_EQ(find<TSpinEdit>("spinInterval2")->Value(), 30);
    EXPECT_EQ(form.panel(0)->object().interval, 15);

    // The corrected command code is what goes back into the file.
    ASSERT_TRUE(closeWindow());
    IniFile ini;
    ASSERT_TRUE(ini.load(iniPath()));
    EXPECT_EQ(ini.readString("TNC Commands", "Command", "?"), "$03");
    EXPECT_EQ(ini.readString("Station", "Header", "?"), "RELAY, WIDE");
    EXPECT_EQ(ini.readString("Station", "Ports", "?"), "01");
    EXPECT_EQ(ini.readString("Form", "Hints", "?"), "0");
}

TEST_F(Startup, AutoConnectStartsTheTimerAndSerialLinksSayTheyAreConnecting) {
    writeIni("[Station]\nAutoConnect=1\nMyCall=G4ABC\n");
    TForm1& agwpe = start();
    EXPECT_TRUE(agwpe.findChild<QTimer*>("Timer3")->isActive());
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "Not Connected");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    m_form.reset();

    writeIni("[Station]\nAutoConnect=1\nMyCall=G4ABC\n[KISS Commands]\nUseKISS=1\n");
    TForm1& kiss = start();
    EXPECT_TRUE(kiss.findChild<QTimer*>("Timer3")->isActive());
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "Connecting to TNC");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    m_form.reset();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Notes what the other windows were when the watched window got its first paint event.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(TForm1& form) : m_form(form) { form.installEventFilter(this); }
    bool seen = false;
    bool windowsThen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            windowsThen = m_form.findChild<TAGWPE*>() != nullptr;
        }
        return false;
    }

private:
    TForm1& m_form;
};

// Building the thirteen other windows waits until the main window's first frame is drawn, then
// follows at once; a window that is never drawn (one started minimized) gets them a moment on.
TEST_F(Startup, TheOtherWindowsAreBuiltAfterTheFirstFrame) {
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "never drawn");
        TForm1 form(m_dialogs, m_clock, iniPath(), docPath(), nullptr, sentFolder());
        FirstPaint paint(form);
        QSignalSpy built(&form, &TForm1::otherWindowsCreated);
        if (shown)
            form.show();
        // Shown, only the first frame can bring them within the wait below; never drawn, only
        // the latest moment.
        form.createOtherWindowsAfterFirstFrame(shown ? 600000 : 50);
        EXPECT_EQ(form.findChild<TAGWPE*>(), nullptr);
        ASSERT_TRUE(waitUntil([&] { return form.findChild<TForm14*>() != nullptr; }));
        EXPECT_EQ(paint.seen, shown);
        EXPECT_FALSE(paint.windowsThen);
        // What waits for the other windows (the window icon) is told once.
        form.createOtherWindowsAfterFirstFrame();
        EXPECT_EQ(built.count(), 1);
    }
}

TEST_F(Startup, HelpDocumentEnablesHelpFile) {
    QFile doc(docPath());
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.close();
    start();
    EXPECT_TRUE(find<QAction>("HelpFile1")->isEnabled());
}

TEST_F(Startup, UnreadableSettingsFileIsReportedAndTheProgramRuns) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("skyvane.ini"));
    TForm1& form = start();
    ASSERT_EQ(m_dialogs.shown.size(), 1);
    EXPECT_EQ(m_dialogs.shown[0].kind, "error");
    EXPECT_TRUE(m_dialogs.shown[0].text.contains(iniPath()));
    EXPECT_EQ(form.windowTitle(), "Skyvane [NOCALL-1]");
    EXPECT_TRUE(form.isVisible());
}

TEST_F(Shutdown, SettingsRoundTripThroughCloseAndNextStart) {
    TForm1& form = start();
    editStation(form, [&](StationSettings& s) { s.MyCall = "G4ABC-7"; });
    editStation(form, [&](StationSettings& s) { s.Destination = "APRS"; });
    editStation(form, [&](StationSettings& s) { s.WxDest = "APWX"; });
    editStation(form, [&](StationSettings& s) { s.Ports = "1100"; });
    editStation(form, [&](StationSettings& s) { s.Unproto = 5; });
    editStation(form, [&](StationSettings& s) { s.UnprotoPath = "WIDE1-1"; });
    editStation(form, [&](StationSettings& s) { s.UserUnproto = "WIDE1-1"; });
    editLink(form, [&](LinkSettings& s) { s.UseKISS = true; });
    editLink(form, [&](LinkSettings& s) { s.ComPort = 4; });
    editLink(form, [&](LinkSettings& s) { s.ComDevices[3] = "/dev/ttyUSB1"; });
    editLink(form, [&](LinkSettings& s) { s.ExitKiss = {192, 255, 192, 13}; });
    editLink(form, [&](LinkSettings& s) { s.EnterKiss[0] = "KISS ON"; });
    form.stationCore().setDateFormat("ddhhMM");
    form.stationCore().setDateIndex(1);
    form.stationCore().setMetric(true);
    form.mnuHintsClick();
    find<TSpinEdit>("spinInterval")->setValue(45);
    find<TSpinEdit>("spinInterval2")->setValue(120);
    form.move(60, 70);
    form.resize(640, 450);

    m_dialogs.clear();
    ASSERT_TRUE(closeWindow());
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Close Skyvane?"});

    IniFile ini;
    ASSERT_TRUE(ini.load(iniPath()));
    EXPECT_EQ(ini.sections().mid(0, 9),
              (QStringList{"TNC Commands", "KISS Commands", "Form", "Station", "AGWPE", "TNC",
                           "Weather Data", "Object", "Timers"}));
    // A map remembered though not there: its path stays for the start after next.
    ini.writeString("Object", "Map", m_dir.filePath("map.jpg"));
    ASSERT_TRUE(ini.save(iniPath()));

    restart();
    TForm1& again = *m_form;
    EXPECT_EQ(again.windowTitle(), "Skyvane [G4ABC-7]");
    EXPECT_TRUE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_EQ(again.station().Destination, "APRS");
    EXPECT_EQ(again.station().WxDest, "APWX");
    EXPECT_EQ(again.station().PortFlags, (std::array<bool, 4>{true, true, false, false}));
    EXPECT_EQ(again.station().Unproto, 5);
    EXPECT_EQ(again.station().UnprotoPath, "WIDE1-1");
    EXPECT_EQ(again.station().UserUnproto, "WIDE1-1");
    EXPECT_EQ(again.linkSettings().type(), LinkType::Kiss);
    EXPECT_EQ(again.linkSettings().ComPort, 4);
    EXPECT_EQ(again.linkSettings().ComDevices[3], "/dev/ttyUSB1");
    EXPECT_EQ(again.linkSettings().ExitKiss, (std::array<int, 4>{192, 255, 192, 13}));
    EXPECT_EQ(again.linkSettings().EnterKiss[0], "KISS ON");
    EXPECT_EQ(again.mapPath(), m_dir.filePath("map.jpg"));
    EXPECT_EQ(again.dateFormat(), "ddhhMM");
    EXPECT_EQ(again.dateIndex(), 1);
    EXPECT_TRUE(again.metric());
    EXPECT_FALSE(again.hints());
    EXPECT_EQ(find<TSpinEdit>("spinInterval")->Value(), 45);
    EXPECT_EQ(find<TSpinEdit>("spinInterval1")->Value(), 30);
    EXPECT_EQ(find<TSpinEdit>("spinInterval2")->Value(), 120);
    EXPECT_EQ(again.pos(), QPoint(60, 70));
    EXPECT_EQ(again.size(), QSize(640, 450));
}

TEST_F(Shutdown, CancelKeepsEverythingRunningAndWritesNothing) {
    TForm1& form = start();
    form.panel(0)->timer()->start();
    form.panel(2)->timer()->start();
    m_dialogs.okAnswers.enqueue(false);
    EXPECT_FALSE(closeWindow());
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Close Skyvane?"});
    EXPECT_EQ(m_dialogs.shown[0].kind, "okCancel");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.panel(0)->timer()->isActive());
    EXPECT_TRUE(form.panel(2)->timer()->isActive());
    EXPECT_FALSE(form.findChild<QTimer*>("CloseTimer")->isActive());
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(Shutdown, TheCloseWaitKeepsHandlingEvents) {
    TForm1& form = start();
    form.findChild<QTimer*>("CloseTimer")->setInterval(200);
    bool delivered = false;
    QTimer::singleShot(20, &form, [&] { delivered = true; });
    ASSERT_TRUE(closeWindow());
    EXPECT_TRUE(delivered);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Shutdown, SettingsThatCannotBeWrittenAskBeforeClosingWithoutThem) {
    // A directory standing where the settings file must go.
    const QString blocked = path("blocked.ini");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("blocked.ini"));
    TForm1& form = start(blocked);
    m_dialogs.clear();
    const QStringList expected{
        "Close Skyvane?", QStringLiteral("Unable to write to %1").arg(blocked),
        QStringLiteral("Close Skyvane without saving the settings (%1)? They will be lost.")
            .arg(blocked)};
    // No, the default: the program stays open for another try.
    EXPECT_FALSE(closeWindow());
    EXPECT_EQ(m_dialogs.texts(), expected);
    EXPECT_EQ(m_dialogs.shown.last().kind, "yesNo");
    EXPECT_TRUE(form.isVisible());

    // Yes: it closes, and nothing stands in for the file it could not write.
    m_dialogs.clear();
    m_dialogs.yesAnswers.enqueue(true);
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(m_dialogs.texts(), expected);
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

TEST_F(Shutdown, FailedWriteLeavesTheOldFileWholeAndTheNextCloseSucceeds) {
    writeIni("[Station]\r\nMyCall=G4ABC-1\r\n");
    const QByteArray before = readIni();
    TForm1& form = start();
    editStation(form, [&](StationSettings& s) { s.MyCall = "G4XYZ-2"; });

    // The file system refuses to let the new file grow past a few bytes, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit tiny = old;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool closed = closeWindow();
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(closed);
    EXPECT_TRUE(m_dialogs.texts().contains(QStringLiteral("Unable to write to %1").arg(iniPath())));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(readIni(), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"skyvane.ini"});

    ASSERT_TRUE(closeWindow());
    IniFile ini;
    ASSERT_TRUE(ini.load(iniPath()));
    EXPECT_EQ(ini.readString("Station", "MyCall", ""), "G4XYZ-2");
}

TEST_F(Shutdown, SettingsThatCouldNotBeReadAreKeptAsideAndTheUserToldOnce) {
    // A link that leads nowhere stands for any settings file we cannot open.
    ASSERT_TRUE(QFile::link("skyvane.ini", iniPath()));
    TForm1& form = start();
    ASSERT_EQ(m_dialogs.shown.size(), 1);
    editStation(form, [&](StationSettings& s) { s.MyCall = "G4XYZ-2"; });
    m_dialogs.clear();
    ASSERT_TRUE(closeWindow());
    const QStringList aside = QDir(m_dir.path())
                                  .entryList({"skyvane.ini.unreadable-*"},
                                             QDir::AllEntries | QDir::System | QDir::Hidden);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QFileInfo(path(aside.first())).isSymLink());
    EXPECT_EQ(
        m_dialogs.texts(),
        (QStringList{"Close Skyvane?", IniFile::keptAsideMessage(iniPath(), path(aside.first()))}));
    IniFile ini;
    ASSERT_TRUE(ini.load(iniPath()));
    EXPECT_EQ(ini.readString("Station", "MyCall", ""), "G4XYZ-2");

    // Told once: the next run writes its own file as ever.
    restart();
    m_dialogs.clear();
    ASSERT_TRUE(closeWindow());
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Close Skyvane?"});
}

TEST_F(Startup, WindowStoredOutOfReachComesBackWhereItCanBeSeen) {
    struct Row {
        const char* form;
        QPoint pos;
        QSize size;
    };
    const Row rows[] = {
        {"Left=40\nTop=30\nWidth=500\nHeight=480\n", {40, 30}, {500, 480}},
        {"Left=9000\nTop=30\nWidth=500\nHeight=400\n", {10, 10}, {620, 438}},
        {"Left=40\nTop=-2000\nWidth=500\nHeight=400\n", {10, 10}, {620, 438}},
        {"Left=40\nTop=30\nWidth=0\nHeight=-5\n", {10, 10}, {620, 438}},
    };
    for (const Row& r : rows) {
        writeIni(QByteArray("[Form]\n") + r.form);
        TForm1& form = start();
        EXPECT_EQ(form.pos(), r.pos) << r.form;
        EXPECT_EQ(form.size(), r.size) << r.form;
        m_form.reset();
    }
}

// The window with its title bar wholly on the screen, moved no further than it must be.
TEST_F(Startup, WindowPartlyOffItsScreenComesBackWhollyOnIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int right = screen.left() + screen.width();
    const int bottom = screen.top() + screen.height();
    const auto n = [](int value) { return QByteArray::number(value); };
    struct Row {
        QByteArray form;
        QSize size;     // none: made smaller
        QPoint atLeast; // what was on the screen stays; what was off comes back by as much
    };
    const int slack = 16; // borders the window manager may add
    const int title = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const Row rows[] = {
        // Its title bar above the top edge.
        {"Left=40\nTop=-30\nWidth=520\nHeight=450\n", {520, 450}, {40, screen.top()}},
        // Beyond the right edge.
        {"Left=" + n(right - 200) + "\nTop=40\nWidth=520\nHeight=450\n",
         {520, 450},
         {right - 520 - slack, 40}},
        // Below the bottom edge: room is left for the title bar above the inside.
        {"Left=40\nTop=" + n(bottom - 100) + "\nWidth=520\nHeight=450\n",
         {520, 450},
         {40, bottom - 450 - title - slack}},
        // Larger than the screen.
        {"Left=0\nTop=0\nWidth=" + n(screen.width() + 300) +
             "\nHeight=" + n(screen.height() + 300) + "\n",
         {},
         screen.topLeft()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.form.toStdString());
        writeIni("[Form]\n" + r.form);
        TForm1& form = start();
        const QRect frame = form.frameGeometry();
        EXPECT_TRUE(screen.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        EXPECT_LE(form.y() + title + form.height(), bottom);
        EXPECT_GE(form.x(), r.atLeast.x());
        EXPECT_GE(form.y(), r.atLeast.y());
        if (r.size.isValid()) {
            EXPECT_EQ(form.size(), r.size);
        } else {
            EXPECT_GE(form.width(), screen.width() - slack);
            EXPECT_GE(form.height(), screen.height() - title - slack);
        }
        m_form.reset();
    }
    // Stored smaller than its controls let it be: placed at the size it opens at.
    writeIni("[Form]\nLeft=40\nTop=" + n(bottom - 100) + "\nWidth=520\nHeight=160\n");
    EXPECT_TRUE(screen.contains(start().frameGeometry()));
    EXPECT_LE(m_form->y() + title + m_form->height(), bottom);
    m_form.reset();
    // A window wholly on the screen stays where it was put, at its size.
    writeIni("[Form]\nLeft=60\nTop=50\nWidth=520\nHeight=450\n");
    TForm1& form = start();
    EXPECT_EQ(form.pos(), QPoint(60, 50));
    EXPECT_EQ(form.size(), QSize(520, 450));
}

TEST_F(Shutdown, SerialPortIsClosedOnTheWayOut) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    TForm1& form = start();
    editLink(form, [&](LinkSettings& s) { s.UseKISS = true; });
    editLink(form, [&](LinkSettings& s) { s.ComPort = 2; });
    editLink(form, [&](LinkSettings& s) { s.ComDevices[1] = QString::fromLocal8Bit(name); });
    TSerialPort& port = form.link()->serialPort();
    port.setDeviceTable(form.linkSettings().ComDevices);
    ASSERT_TRUE(port.Open(1));
    ASSERT_TRUE(closeWindow());
    EXPECT_FALSE(port.isOpen());
    ::close(slave);
    ::close(master);
}

} // namespace
