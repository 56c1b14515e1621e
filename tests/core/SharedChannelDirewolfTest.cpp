// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "core/CoreFiles.h"
#include "core/DirewolfStation.h"
#include "links/LinkControl.h"
#include "settings/IniFile.h"
#include "station/HeadlessStation.h"
#include "station/Station.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

namespace {

const QString kKilled = QStringLiteral("[0L] G4ABC-1>APRS:;PARK     _");

class SharedChannelOnDirewolf : public DirewolfStation {
protected:
    // The clock's minutes go by half a minute at a time, as the kills' timer wakes.
    void runMinutes(int minutes) {
        for (int i = 0; i < minutes * 2; ++i) {
            clock.advanceSecs(30);
            station->station().kills().due();
        }
    }
};

// Stop, then Delete with Yes: the killed report goes on the air four times, a minute, two and
// four minutes apart, and the objects file keeps the kill while it runs.
TEST_F(SharedChannelOnDirewolf, AKillGoesOnTheAirFourTimesWellApart) {
    make();
    ASSERT_EQ(station->start(), std::nullopt);
    ASSERT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] G4ABC-1>APRS:;PARK     *061523z")));
    ObjectSlot& park = station->station().slot(0);
    park.stop();
    park.sendKilled();
    ASSERT_TRUE(direwolf.waitForLog(kKilled + "061523z5130.00N/00045.00WP\n"))
        << direwolf.log().toStdString();
    IniFile ini;
    ASSERT_TRUE(ini.load(files->objects));
    EXPECT_EQ(ini.readString("Kill1", "Ident", {}), "PARK");
    EXPECT_EQ(ini.readString("Kill1", "Sent", {}), "1");
    runMinutes(8);
    for (const char* stamp : {"061524z", "061526z", "061530z"})
        EXPECT_TRUE(direwolf.waitForLog(kKilled + stamp)) << stamp << direwolf.log().toStdString();
    spinEvents(300);
    EXPECT_EQ(direwolf.log().count(kKilled), 4);
    ASSERT_TRUE(ini.load(files->objects));
    EXPECT_FALSE(ini.hasSection("Kill1"));
    EXPECT_EQ(station->stop(), 0);
}

// Dire Wolf down when the kill is made: it is recorded as not sent, and goes by itself once
// Dire Wolf is back, with no click.
TEST_F(SharedChannelOnDirewolf, AKillMadeWhileTheEngineIsDownGoesWhenItIsBack) {
    make();
    ASSERT_NO_FATAL_FAILURE(startRecording());
    LinkControl& link = station->station().link();
    direwolf.stop();
    ASSERT_TRUE(waitUntil([&] { return link.reconnecting(); }, 20000));
    ObjectSlot& park = station->station().slot(0);
    park.stop();
    park.sendKilled();
    ASSERT_EQ(records.size(), 2);
    EXPECT_FALSE(records[1].sent);
    EXPECT_TRUE(records[1].monitor.contains(";PARK     _")) << records[1].monitor.toStdString();
    clock.advanceSecs(120);
    ASSERT_TRUE(direwolf.restart()) << direwolf.error().toStdString();
    EXPECT_TRUE(direwolf.waitForLog(kKilled + "061525z", 15000)) << direwolf.log().toStdString();
    EXPECT_EQ(records.last().message, "killed, copy 1 of 4");
    EXPECT_EQ(station->stop(), 0);
}

// A kill kept in the objects file by a copy that stopped goes on the air from a headless start
// of that file; one older than the longest interval does not.
TEST_F(SharedChannelOnDirewolf, KillsKeptInTheObjectsFileGoOnAfterAStart) {
    make();
    QByteArray obd = StationFiles::read(files->objects);
    obd += "[Kill1]\r\nIdent=TENT\r\nLatitude=5115.00N\r\nLongitude=00015.00W\r\nTable=/\r\n"
           "Symbol=-\r\nObject=2\r\nMade=2026-03-06T15:20:00Z\r\nSent=1\r\n"
           "Next=2026-03-06T15:21:00Z\r\n"
           "[Kill2]\r\nIdent=OLD\r\nLatitude=5115.00N\r\nLongitude=00015.00W\r\nTable=/\r\n"
           "Symbol=-\r\nObject=3\r\nMade=2026-03-06T13:00:00Z\r\nSent=1\r\n"
           "Next=2026-03-06T13:01:00Z\r\n";
    StationFiles::write(files->objects, obd);
    ASSERT_EQ(station->start(), std::nullopt);
    EXPECT_TRUE(direwolf.waitForLog(
        QStringLiteral("[0L] G4ABC-1>APRS:;TENT     _061523z5115.00N/00015.00W-")))
        << direwolf.log().toStdString();
    spinEvents(300);
    EXPECT_FALSE(direwolf.log().contains(";OLD "));
    ASSERT_EQ(station->station().kills().kills().size(), 1);
    EXPECT_EQ(station->station().kills().kills()[0].copiesSent, 2);
    EXPECT_EQ(station->stop(), 0);
}

} // namespace
