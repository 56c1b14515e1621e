// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "core/CoreFiles.h"
#include "links/LinkControl.h"
#include "settings/IniFile.h"
#include "settings/SettingsLock.h"
#include "station/CommandLine.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "station/Station.h"
#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(CommandLine, ReadsItsOptionsAndRefusesAnythingElse) {
    const struct {
        QStringList args;
        bool headless;
        bool help;
        const char* settings;
        bool error;
        bool verbose = false;
    } rows[] = {
        {{}, false, false, "", false},
        {{"--headless", "-v"}, true, false, "", false, true},
        {{"--verbose"}, false, false, "", false, true},
        {{"--headless"}, true, false, "", false},
        {{"--headless", "--settings", "/a b.ini"}, true, false, "/a b.ini", false},
        {{"--settings=/x.ini"}, false, false, "/x.ini", false},
        {{"-h"}, false, true, "", false},
        {{"--settings"}, false, false, "", true},
        {{"--settings="}, false, false, "", true},
        {{"--headles"}, false, false, "", true},
    };
    for (const auto& row : rows) {
        const CommandLine c = CommandLine::parse(row.args);
        const std::string name = row.args.join(' ').toStdString();
        EXPECT_EQ(c.headless, row.headless) << name;
        EXPECT_EQ(c.help, row.help) << name;
        EXPECT_EQ(c.settingsPath, QString::fromUtf8(row.settings)) << name;
        EXPECT_EQ(!c.error.isEmpty(), row.error) << name;
        EXPECT_EQ(c.verbose, row.verbose) << name;
        EXPECT_EQ(c.loggingRules(), row.verbose ? "skyvane.*.debug=true" : "skyvane.*.debug=false")
            << name;
    }
}

TEST(SettingsLock, OneHolderPerSettingsFileWhateverPathNamesIt) {
    QTemporaryDir dir;
    const QString settings = dir.filePath("skyvane.ini");
    StationFiles::write(settings, "");
    ASSERT_TRUE(QFile::link(settings, dir.filePath("other-name.ini")));
    {
        SettingsLock first(settings);
        ASSERT_TRUE(first.held());
        SettingsLock second(dir.filePath("other-name.ini"));
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.holder(), qint64(::getpid()));
        EXPECT_TRUE(second.refusal(settings).contains(QString::number(::getpid())));
        EXPECT_TRUE(SettingsLock(dir.filePath("another.ini")).held());
    }
    // Its holder gone, the file is free again.
    EXPECT_TRUE(SettingsLock(settings).held());
}

struct Headless : ::testing::Test {
    QTemporaryDir dir;
    PacketEngine engine;
    ManualClock clock;
    std::FILE* log = std::tmpfile();
    HeadlessDialogs dialogs{clock, log};
    ~Headless() override { std::fclose(log); }
    QString lines() {
        std::fflush(log);
        std::rewind(log);
        QByteArray all;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, log))
            all += buffer;
        return QString::fromUtf8(all);
    }
};

TEST_F(Headless, MissingFilesEndItWithCodeTwoAndWriteNothing) {
    HeadlessStation none(dialogs, clock, dir.filePath("none.ini"), {});
    EXPECT_EQ(none.start(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("none.ini")));

    StationFiles files(QDir(dir.path()), engine.port());
    QFile::remove(files.objects);
    HeadlessStation noObjects(dialogs, clock, files.settings, {});
    EXPECT_EQ(noObjects.start(), 2);
    EXPECT_FALSE(QFile::exists(files.objects));
    const QStringList said = lines().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(said.size(), 2) << lines().toStdString();
    EXPECT_EQ(said[0], "2026-03-06T15:23:00Z The settings file " + dir.filePath("none.ini") +
                           " does not exist.");
    EXPECT_TRUE(said[1].endsWith("event.obd does not exist.")) << said[1].toStdString();
    EXPECT_EQ(engine.connections(), 0);
}

TEST_F(Headless, PutsTheRunningObjectsOnTheAirAndGivesWayToAnotherCopy) {
    StationFiles files(QDir(dir.path()), engine.port());
    HeadlessStation station(dialogs, clock, files.settings, {});
    ASSERT_EQ(station.start(), std::nullopt) << lines().toStdString();
    ASSERT_TRUE(engine.waitForFrames(1));
    EXPECT_EQ(engine.frames[0].info, QByteArray(";PARK     *061523z5130.00N/00045.00WPOpen"));

    HeadlessStation second(dialogs, clock, files.settings, {});
    EXPECT_EQ(second.start(), 1);
    EXPECT_TRUE(lines().contains("Skyvane already runs on the settings file"))
        << lines().toStdString();
    EXPECT_TRUE(engine.sync(station.station().link()));
    EXPECT_EQ(engine.frames.size(), 1);

    // The packet engine's idle reconnects every 15 s are not news: nothing more is written.
    const QString before = lines();
    LinkControl& link = station.station().link();
    int statuses = 0;
    QObject::connect(&link, &LinkControl::statusChanged, [&] { ++statuses; });
    for (int i = 1; i <= 3; ++i) {
        link.BusyTimed(); // the frame's busy period holds the reconnect off
        link.ConnectedTest();
        ASSERT_TRUE(waitUntil([&] { return statuses >= i && link.isConnected(); }));
    }
    EXPECT_EQ(lines(), before);

    EXPECT_EQ(station.stop(), 0);
    IniFile ini;
    ini.load(files.objects);
    EXPECT_EQ(ini.readString("Object1", "Running", {}), "1");
}

// The program itself, with no display at all: no platform plug-in may be needed.
TEST_F(Headless, TheProgramRunsWithoutADisplayAndEndsCleanlyOnSigterm) {
    StationFiles files(QDir(dir.path()), engine.port());
    QProcess skyvane;
    startHeadless(skyvane, QDir(dir.path()), {"--settings", files.settings});
    ASSERT_TRUE(skyvane.waitForStarted());
    ASSERT_TRUE(engine.waitForFrames(1, 10000)) << skyvane.readAllStandardError().toStdString();
    EXPECT_TRUE(engine.frames[0].info.startsWith(";PARK     *"));
    // The window program has handed its process over to the station program, which maps no
    // desktop library.
    const QString proc = QStringLiteral("/proc/%1/").arg(skyvane.processId());
    EXPECT_TRUE(QFileInfo(proc + "exe").symLinkTarget().endsWith("/skyvane-station"));
    EXPECT_FALSE(StationFiles::read(proc + "maps").contains("libQt6Gui"));
    ::kill(pid_t(skyvane.processId()), SIGTERM);
    ASSERT_TRUE(skyvane.waitForFinished(10000));
    EXPECT_EQ(skyvane.exitStatus(), QProcess::NormalExit);
    const QByteArray said = skyvane.readAllStandardError();
    EXPECT_EQ(skyvane.exitCode(), 0) << said.toStdString();
    // What a maintainer reads with --verbose stays out of the journal.
    EXPECT_FALSE(said.contains("skyvane.sockets:")) << said.toStdString();
    IniFile ini;
    ini.load(files.objects);
    EXPECT_EQ(ini.readString("Object1", "Running", {}), "1");

    QProcess bad;
    startHeadless(bad, QDir(dir.path()), {"--frobnicate"});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_EQ(bad.readAllStandardError().count('\n'), 1);

    // The version, asked on a machine with no display.
    QProcess version;
    version.setProcessEnvironment(QProcessEnvironment());
    version.start(QStringLiteral(SKYVANE_BINARY_DIR "/skyvane"), {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_TRUE(version.readAllStandardOutput().startsWith("skyvane 0.")) << "no version";
}

// Under systemd, each line carries the priority the journal sorts by: reports sent are
// notices, a lost link a warning, a missing file an error. Elsewhere lines carry none.
TEST_F(Headless, UnderTheJournalEachLineCarriesItsPriority) {
    StationFiles files(QDir(dir.path()), engine.port());
    const QString errPath = dir.filePath("journal.log");
    const auto runWith = [&](QProcess& p, const QStringList& args) {
        QFile(errPath).open(QIODevice::WriteOnly | QIODevice::Truncate);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(errPath).constData(), &st), 0);
        QProcessEnvironment env;
        env.insert("JOURNAL_STREAM", QStringLiteral("%1:%2").arg(st.st_dev).arg(st.st_ino));
        p.setStandardErrorFile(errPath, QIODevice::Append);
        startHeadless(p, QDir(dir.path()), args, env);
    };
    QProcess skyvane;
    runWith(skyvane, {"--settings", files.settings});
    ASSERT_TRUE(engine.waitForFrames(1, 10000));
    engine.stop();
    ASSERT_TRUE(
        waitUntil([&] { return StationFiles::read(errPath).contains("Reconnecting"); }, 10000))
        << StationFiles::read(errPath).toStdString();
    ::kill(pid_t(skyvane.processId()), SIGTERM);
    ASSERT_TRUE(skyvane.waitForFinished(10000));
    const QList<QByteArray> said = StationFiles::read(errPath).split('\n');
    const auto lineWith = [&](const QByteArray& text) {
        for (const QByteArray& l : said)
            if (l.contains(text))
                return l;
        return QByteArray();
    };
    EXPECT_TRUE(lineWith("Sent PARK on AGWPE port 1: G4ABC-1>APRS:;PARK").startsWith("<5>"))
        << StationFiles::read(errPath).toStdString();
    EXPECT_TRUE(lineWith("Connected to IP").startsWith("<6>"));
    EXPECT_TRUE(lineWith("Reconnecting").startsWith("<4>"))
        << StationFiles::read(errPath).toStdString();

    QProcess missing;
    runWith(missing, {"--settings", dir.filePath("none.ini")});
    ASSERT_TRUE(missing.waitForFinished(10000));
    EXPECT_EQ(missing.exitCode(), 2);
    EXPECT_TRUE(StationFiles::read(errPath).startsWith("<3>"))
        << StationFiles::read(errPath).toStdString();
}

// Copies of both kinds on one settings file: whichever starts second gives way, so no object
// goes on the air twice.
TEST_F(Headless, AWindowCopyAndAHeadlessCopyOnOneSettingsFileNeverBothRun) {
    StationFiles files(QDir(dir.path()), engine.port());
    // The window copy shows the picture without a box to answer.
    for (const char* ext : {".jpg", ".inf"})
        ASSERT_TRUE(QFile::copy(SKYVANE_SOURCE_DIR "/maps/strait-of-dover" + QString(ext),
                                dir.filePath("event" + QString(ext))));
    const auto startWindow = [&](QProcess& window) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SKYVANE_INSTANCE", QUuid::createUuid().toString(QUuid::Id128));
        env.insert("QT_LOGGING_RULES", "skyvane.app.info=true");
        env.insert("XDG_STATE_HOME", dir.filePath("state"));
        window.setProcessEnvironment(env);
        window.setProcessChannelMode(QProcess::MergedChannels);
        window.start(SKYVANE_BINARY_DIR "/skyvane", {"--settings", files.settings});
        return window.waitForStarted();
    };
    const auto waitFor = [](QProcess& p, const char* text, QString& out) {
        QDeadlineTimer deadline(20000);
        while (!out.contains(QLatin1String(text)) && !deadline.hasExpired() &&
               p.state() == QProcess::Running) {
            p.waitForReadyRead(200);
            out += QString::fromUtf8(p.readAll());
        }
        return out.contains(QLatin1String(text));
    };

    {
        QProcess window;
        ASSERT_TRUE(startWindow(window));
        QString out;
        ASSERT_TRUE(waitFor(window, "main window shown", out)) << out.toStdString();
        QProcess headless;
        startHeadless(headless, QDir(dir.path()), {"--settings", files.settings});
        ASSERT_TRUE(headless.waitForFinished(10000));
        EXPECT_EQ(headless.exitCode(), 1);
        const QString said = QString::fromUtf8(headless.readAllStandardError());
        EXPECT_TRUE(said.contains(QStringLiteral("Skyvane already runs on the settings file")))
            << said.toStdString();
        EXPECT_TRUE(said.contains(QString::number(window.processId()))) << said.toStdString();
        ::kill(pid_t(window.processId()), SIGTERM);
        ASSERT_TRUE(window.waitForFinished(10000));
        EXPECT_EQ(window.exitCode(), 0);
    }
    spinEvents(200);
    EXPECT_EQ(engine.connections(), 0);

    // The window copy's close wrote its objects, none of them running: as the test began.
    files = StationFiles(QDir(dir.path()), engine.port());

    QProcess headless;
    startHeadless(headless, QDir(dir.path()), {"--settings", files.settings});
    ASSERT_TRUE(engine.waitForFrames(1, 10000)) << headless.readAllStandardError().toStdString();
    QProcess window;
    ASSERT_TRUE(startWindow(window));
    QString out;
    // The window copy also says so in a box, which nobody closes here.
    EXPECT_TRUE(waitFor(window, "Skyvane already runs on the settings file", out))
        << out.toStdString();
    window.kill();
    window.waitForFinished(10000);
    spinEvents(200); // a connection the window copy made would be accepted by now
    EXPECT_EQ(engine.connections(), 1);
    EXPECT_EQ(engine.frames.size(), 1);
    ::kill(pid_t(headless.processId()), SIGTERM);
    ASSERT_TRUE(headless.waitForFinished(10000));
    EXPECT_EQ(headless.exitCode(), 0);
}

} // namespace
