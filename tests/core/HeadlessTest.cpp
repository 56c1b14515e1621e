// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "core/CoreFiles.h"
#include "settings/IniFile.h"
#include "settings/SettingsLock.h"
#include "station/CommandLine.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "station/Station.h"
#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

TEST(CommandLine, ReadsItsOptionsAndRefusesAnythingElse) {
    const struct {
        QStringList args;
        bool headless;
        bool help;
        const char* settings;
        bool error;
    } rows[] = {
        {{}, false, false, "", false},
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
    ::kill(pid_t(skyvane.processId()), SIGTERM);
    ASSERT_TRUE(skyvane.waitForFinished(10000));
    EXPECT_EQ(skyvane.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(skyvane.exitCode(), 0) << skyvane.readAllStandardError().toStdString();
    IniFile ini;
    ini.load(files.objects);
    EXPECT_EQ(ini.readString("Object1", "Running", {}), "1");

    QProcess bad;
    startHeadless(bad, QDir(dir.path()), {"--frobnicate"});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_EQ(bad.readAllStandardError().count('\n'), 1);
}

} // namespace
