// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/Station.h"
#include "core/CoreFiles.h"
#include "links/LinkControl.h"
#include "settings/IniFile.h"
#include "support/AprsIsServer.h"
#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString keyOf(const QString& path, const QString& section, const QString& key) {
    IniFile ini;
    ini.load(path);
    return ini.readString(section, key, QStringLiteral("(none)"));
}

struct StationFixture : ::testing::Test {
    QTemporaryDir dir;
    PacketEngine engine;
    TestDialogs dialogs;
    ManualClock clock;
};

TEST_F(StationFixture, ReadsItsFilesAndWritesBackWhatWasRunningBeforeTheLinkWentDown) {
    StationFiles files(QDir(dir.path()), engine.port(), "0");
    Station station(dialogs, clock, files.settings, {});
    ASSERT_TRUE(station.loadSettings());
    EXPECT_EQ(station.station().MyCall, QStringLiteral("G4ABC-1"));
    EXPECT_EQ(station.slot(1).object().interval, 20);
    station.setMapPath(files.map);
    ASSERT_TRUE(station.readObjects());
    station.setObjectsOpen(true);
    EXPECT_EQ(station.slot(0).object().identifier, QStringLiteral("PARK"));
    EXPECT_TRUE(station.slot(0).hasPosition());
    EXPECT_EQ(station.storedRunning(), (std::array<bool, 3>{false, false, false}));

    station.link().setBusyInterval(10);
    station.readTime();
    ASSERT_TRUE(station.link().connectLink());
    ASSERT_TRUE(waitUntil([&] { return station.link().isConnected(); }));
    ASSERT_TRUE(station.slot(0).start(false));
    ASSERT_TRUE(engine.waitForFrames(1));
    EXPECT_EQ(engine.frames[0].info, QByteArray(";PARK     *061523z5130.00N/00045.00WPOpen"));

    // The shutdown takes the link down, which stops every object; the file still says which
    // ran, so that the next start can resume them.
    EXPECT_TRUE(station.shutDown().isEmpty());
    EXPECT_FALSE(station.slot(0).running());
    EXPECT_EQ(keyOf(files.objects, "Object1", "Running"), QStringLiteral("1"));
    EXPECT_EQ(keyOf(files.objects, "Object2", "Running"), QStringLiteral("0"));
    EXPECT_EQ(keyOf(files.settings, "Timers", "T2"), QStringLiteral("20"));
    EXPECT_EQ(keyOf(files.settings, "Station", "Resume"), QStringLiteral("0"));
    EXPECT_TRUE(dialogs.texts().isEmpty()) << dialogs.texts().join('|').toStdString();
}

TEST_F(StationFixture, ResumesTheObjectsThatRanOnceTheLinkIsUpAndOnlyThen) {
    for (const QByteArray& running : {QByteArray("1"), QByteArray()}) {
        QTemporaryDir here;
        PacketEngine sink;
        StationFiles files(QDir(here.path()), sink.port(), running);
        Station station(dialogs, clock, files.settings, {});
        station.loadSettings();
        station.setMapPath(files.map);
        ASSERT_TRUE(station.readObjects());
        station.resumeWhenConnected();
        EXPECT_FALSE(station.slot(0).running());
        ASSERT_TRUE(station.link().connectLink());
        ASSERT_TRUE(waitUntil([&] { return station.link().isConnected(); }));
        // A file from before the key starts nothing.
        EXPECT_EQ(station.slot(0).running(), !running.isEmpty()) << running.constData();
        EXPECT_FALSE(station.slot(1).running());
        ASSERT_TRUE(sink.sync(station.link()));
        EXPECT_EQ(sink.frames.size(), running.isEmpty() ? 0 : 1);
    }
}

TEST_F(StationFixture, NoMapOpenWritesNoObjectsFile) {
    StationFiles files(QDir(dir.path()), engine.port());
    const QByteArray before = StationFiles::read(files.objects);
    Station station(dialogs, clock, files.settings, {});
    station.loadSettings();
    station.setMapPath(files.map);
    // The map was never shown (its picture failed): its objects must not be replaced by
    // empty ones.
    EXPECT_TRUE(station.shutDown().isEmpty());
    EXPECT_EQ(StationFiles::read(files.objects), before);
}

// The station without its window (headless) never shows the map: the zoom its objects file
// holds goes back into it unchanged; a map the window zoomed keeps that zoom; another map
// starts with none.
TEST_F(StationFixture, KeepsEachMapsZoomThroughItsObjectsFile) {
    StationFiles files(QDir(dir.path()), engine.port());
    IniFile obd;
    ASSERT_TRUE(obd.load(files.objects));
    obd.writeString("Internal", "Zoom", "0.5");
    obd.writeString("Internal", "FitWindow", "1");
    ASSERT_TRUE(obd.save(files.objects));
    Station station(dialogs, clock, files.settings, {});
    station.loadSettings();
    station.setMapPath(files.map);
    ASSERT_TRUE(station.readObjects());
    station.setObjectsOpen(true);
    EXPECT_EQ(station.mapZoom(), 0.5);
    EXPECT_TRUE(station.mapFitWindow());
    ASSERT_TRUE(station.saveObjects());
    EXPECT_EQ(keyOf(files.objects, "Internal", "Zoom"), QStringLiteral("0.5"));
    EXPECT_EQ(keyOf(files.objects, "Internal", "FitWindow"), QStringLiteral("1"));
    station.setMapZoom(2.0 / 3, false);
    ASSERT_TRUE(station.saveObjects());
    EXPECT_EQ(keyOf(files.objects, "Internal", "Zoom"), QStringLiteral("0.666666666666667"));
    EXPECT_EQ(keyOf(files.objects, "Internal", "FitWindow"), QStringLiteral("0"));
    station.setMapPath(dir.filePath("other.jpg"));
    EXPECT_FALSE(station.mapZoom().has_value());
    EXPECT_FALSE(station.mapFitWindow());
}

} // namespace

namespace {

// An object started while the APRS-IS server has not yet verified the first login: its report
// is recorded as not sent, and it goes once, when the login is verified.
TEST_F(StationFixture, AReportDueWhileTheFirstLoginIsAnsweredGoesOnceVerified) {
    AprsIsServer server;
    server.setSilent(true);
    StationFiles files(QDir(dir.path()), engine.port(), "0",
                       "[Link]\r\nType=APRS-IS\r\n[APRS-IS]\r\nServer=127.0.0.1\r\nPort=" +
                           server.port().toLatin1() + "\r\n");
    Station station(dialogs, clock, files.settings, {});
    station.loadSettings();
    station.setMapPath(files.map);
    ASSERT_TRUE(station.readObjects());
    QList<SentRecord> records;
    QObject::connect(&station.link(), &LinkControl::frameRecorded,
                     [&](const SentRecord& r) { records << r; });
    ASSERT_TRUE(station.link().connectLink());
    ASSERT_TRUE(server.waitForLogins(1));
    ASSERT_TRUE(station.slot(0).start(false));
    ASSERT_EQ(records.size(), 1);
    EXPECT_FALSE(records[0].sent);
    EXPECT_TRUE(station.slot(0).missed());

    server.sendLine("# logresp G4ABC-1 verified, server T2STANDIN\r\n");
    ASSERT_TRUE(waitUntil([&] { return records.size() == 2; }));
    EXPECT_TRUE(records[1].sent);
    EXPECT_TRUE(records[1].monitor.startsWith("G4ABC-1>APRS,TCPIP*:;PARK     *"))
        << records[1].monitor.toStdString();
    spinEvents(50);
    EXPECT_EQ(records.size(), 2);
    // The Start that asked is told, once.
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].endsWith("It goes out once the link is back."))
        << dialogs.texts()[0].toStdString();
}

} // namespace

namespace {

// A hand-edited objects file: object 1 with a symbol table no list gives, object 2 with a
// telemetry-looking comment. Both are named; neither goes on the map; both come back as they
// were written, so nothing is lost.
TEST_F(StationFixture, AnEntryThatCouldNotHaveBeenTypedIsNamedAndKeptOffTheMap) {
    StationFiles files(QDir(dir.path()), engine.port(), "0");
    QByteArray obd = StationFiles::read(files.objects);
    obd.replace("Table=/\r\nSymbol=P", "Table=#\r\nSymbol=P")
        .replace("Ident=TENT", "Ident=TENT\r\nComment=Volts |#0|");
    StationFiles::write(files.objects, obd);
    Station station(dialogs, clock, files.settings, {});
    ASSERT_TRUE(station.loadSettings());
    station.setMapPath(files.map);
    ASSERT_TRUE(station.readObjects());
    ASSERT_EQ(dialogs.texts().size(), 1);
    const QString text = dialogs.texts()[0];
    EXPECT_TRUE(text.contains(files.objects)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Object1: symbol table \"#\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Object2: comment \"Volts |#0|\"")))
        << text.toStdString();
    EXPECT_FALSE(station.slot(0).hasPosition());
    EXPECT_FALSE(station.slot(1).hasPosition());
    EXPECT_EQ(station.slot(1).object().comment, "Volts |#0|");
}

// A clock no time service has set is said once, and once more when it has been set.
TEST_F(StationFixture, AnUnsynchronisedClockIsSaidOnceAndAgainWhenSet) {
    StationFiles files(QDir(dir.path()), engine.port());
    Station station(dialogs, clock, files.settings, {});
    QStringList said;
    QObject::connect(&station, &Station::clockStatus, [&](const QString& text) { said << text; });
    station.checkClock(); // nothing known: nothing said
    clock.clockSynchronised = true;
    station.checkClock();
    clock.clockSynchronised = false;
    station.checkClock();
    station.checkClock();
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith("The system clock is not synchronised"))
        << said[0].toStdString();
    clock.clockSynchronised = true;
    station.checkClock();
    station.checkClock();
    EXPECT_EQ(said, (QStringList{said[0], "The system clock is synchronised now."}));
    EXPECT_TRUE(dialogs.texts().isEmpty()) << "nobody has to click a box for it";
}

} // namespace
