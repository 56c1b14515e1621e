// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "core/CoreFiles.h"
#include "core/DirewolfStation.h"
#include "links/LinkControl.h"
#include "settings/IniFile.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "station/Station.h"
#include "support/Direwolf.h"
#include "support/ManualClock.h"
#include "support/Wait.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

const QString kPark = QStringLiteral("[0L] G4ABC-1>APRS:;PARK     *");

// The program with no display, against a real software TNC: the object that was running goes
// on the air at once, and a SIGTERM ends it with the object still marked running.
TEST(HeadlessDirewolf, TheProgramPutsTheRunningObjectOnTheAirAtOnce) {
    Direwolf direwolf;
    if (!direwolf.installed())
        GTEST_SKIP() << direwolf.error().toStdString();
    ASSERT_TRUE(direwolf.ready()) << direwolf.error().toStdString();
    QTemporaryDir dir;
    StationFiles files(QDir(dir.path()), QString::number(direwolf.agwPort()));
    QProcess skyvane;
    startHeadless(skyvane, QDir(dir.path()), {"--settings", files.settings});
    ASSERT_TRUE(direwolf.waitForLog(kPark)) << direwolf.log().toStdString();
    EXPECT_TRUE(direwolf.log().contains("5130.00N/00045.00WPOpen\n"));
    ::kill(pid_t(skyvane.processId()), SIGTERM);
    ASSERT_TRUE(skyvane.waitForFinished(10000));
    EXPECT_EQ(skyvane.exitCode(), 0) << skyvane.readAllStandardError().toStdString();
    IniFile ini;
    ini.load(files.objects);
    EXPECT_EQ(ini.readString("Object1", "Running", {}), "1");
}

class StationOnDirewolf : public DirewolfStation {
protected:
    void SetUp() override { make(); }
};

// The headless station's schedule, its minutes given by the timer's handler: the object goes
// again when its ten minutes are over, not before.
TEST_F(StationOnDirewolf, TheObjectGoesAgainAtItsInterval) {
    ASSERT_EQ(station->start(), std::nullopt);
    ASSERT_TRUE(direwolf.waitForLog(kPark + "061523z"));
    ObjectSlot& park = station->station().slot(0);
    for (int minute = 1; minute < 10; ++minute) {
        clock.advanceSecs(60);
        park.tick();
    }
    clock.advanceSecs(60);
    park.tick();
    EXPECT_TRUE(direwolf.waitForLog(kPark + "061533z")) << direwolf.log().toStdString();
    EXPECT_FALSE(direwolf.log().contains(kPark + "061532z"));
    EXPECT_EQ(station->stop(), 0);
}

} // namespace

namespace {

// Dire Wolf stopped for longer than a report's due time, then started again: the object is
// never stopped, its report that fell due is recorded as not sent, and it goes out once when
// the link is back by itself.
TEST_F(StationOnDirewolf, ARestartOfTheEngineIsSurvivedAndWhatFellDueGoesOnce) {
    ASSERT_NO_FATAL_FAILURE(startRecording());
    LinkControl& link = station->station().link();

    direwolf.stop();
    ASSERT_TRUE(waitUntil([&] { return link.reconnecting(); }, 20000));
    ObjectSlot& park = station->station().slot(0);
    for (int minute = 0; minute < 20; ++minute) { // two intervals fall due
        clock.advanceSecs(60);
        park.tick();
    }
    EXPECT_TRUE(park.running());
    ASSERT_EQ(records.size(), 3);
    EXPECT_FALSE(records[1].sent);
    EXPECT_FALSE(records[2].sent);

    ASSERT_TRUE(direwolf.restart()) << direwolf.error().toStdString();
    ASSERT_TRUE(direwolf.waitForLog(kPark + "061543z", 15000)) << direwolf.log().toStdString();
    spinEvents(500);
    EXPECT_EQ(direwolf.log().count(kPark), 2) << direwolf.log().toStdString();
    EXPECT_TRUE(park.running());
    EXPECT_EQ(station->stop(), 0);
}

} // namespace
