// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "core/DirewolfStation.h"
#include "links/HeardModel.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "station/Station.h"
#include "support/Wait.h"

namespace {

enum class Through { Agwpe, KissTerminal, KissTcp };

// The station on a real Dire Wolf that is made to hear frames on its audio input: over AGWPE,
// through its KISS pseudo-terminal or through its KISS TCP port.
class HeardOnDirewolf : public DirewolfStation, public ::testing::WithParamInterface<Through> {
protected:
    void SetUp() override {
        QByteArray link;
        if (GetParam() == Through::KissTerminal)
            link = "[Link]\r\nType=KISS\r\n[TNC]\r\nComPort=1\r\n[COM Ports]\r\nCOM1=" +
                   direwolf.kissTerminal().toUtf8() + "\r\n";
        else if (GetParam() == Through::KissTcp)
            link = "[Link]\r\nType=KISS TCP\r\n[KISS TCP]\r\nHost=127.0.0.1\r\nPort=" +
                   QByteArray::number(direwolf.kissPort()) + "\r\n";
        make(link, sentFolder());
    }
    QString sentFolder() const { return dir.filePath(QStringLiteral("sent")); }
    Station& core() const { return station->station(); }
};

// The report goes out; then a digipeated copy of it, another station's object of the same
// name, an unrelated frame and an object of a name we have not sent are heard: the tab's line
// says through which digipeater, the log keeps the copy beside its sent frame, the other
// station is named, and the rest changes no line.
TEST_P(HeardOnDirewolf, ADigipeatedCopyIsShownLoggedAndAnotherStationIsNamed) {
    ASSERT_EQ(station->start(), std::nullopt);
    const QString sent = QStringLiteral("G4ABC-1>APRS:;PARK     *061523z5130.00N/00045.00WPOpen");
    ASSERT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] ") + sent, 15000))
        << direwolf.log().toStdString();
    ASSERT_TRUE(core().heard().last(0));
    const QString at = clock.nowUtc().time().toString(QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(core().lastReportText(0).toStdString(),
              ("Sent " + at + ", not heard yet").toStdString());

    const QString info = sent.section(QLatin1Char(':'), 1);
    ASSERT_TRUE(direwolf.hear({QStringLiteral("G4XYZ>APRS:>Unrelated status"),
                               QStringLiteral("G4ABC-1>APRS,DIGI1*,WIDE2-1:") + info,
                               QStringLiteral("G4XYZ>APRS:;PARK     *061524z5131.00N/00046.00W-"),
                               QStringLiteral("G4XYZ>APRS:;TENT     *061524z5131.00N/00046.00W-")}))
        << direwolf.error().toStdString();
    ASSERT_TRUE(waitUntil([&] { return core().heardModel().rowCount() == 4; }, 15000))
        << direwolf.log().toStdString();
    EXPECT_EQ(core().lastReportText(0).toStdString(),
              ("Sent " + at + ", heard via DIGI1 " + at + "\nPARK is also sent by G4XYZ (" +
               at.left(5) + ")")
                  .toStdString());
    EXPECT_EQ(core().lastReportText(1), "") << "TENT has not been sent";
    const HeardModel& model = core().heardModel();
    EXPECT_EQ(model.row(2).monitor.toStdString(),
              (QStringLiteral("G4ABC-1>APRS,DIGI1*,WIDE2-1:") + info).toStdString());
    EXPECT_EQ(model.row(2).ours, "PARK");
    EXPECT_EQ(model.row(1).ours, "same name as PARK");
    EXPECT_EQ(model.row(3).ours, "");
    EXPECT_EQ(model.row(2).port, GetParam() == Through::Agwpe          ? "AGWPE port 1"
                                 : GetParam() == Through::KissTerminal ? "KISS port 1"
                                                                       : "KISS TCP port 1");

    const QList<SentRecord> records = SentLog(sentFolder()).readDay(clock.nowUtc().date());
    ASSERT_EQ(records.size(), 2);
    EXPECT_TRUE(records[0].sent && !records[0].heard);
    EXPECT_TRUE(records[1].heard);
    EXPECT_EQ(records[1].slot, 1);
    EXPECT_EQ(records[1].message, "heard via DIGI1, a copy of the report sent " + at + "Z");
    EXPECT_EQ(station->stop(), 0);
}

// A settings file from an older copy holds MyCall with a leading-zero SSID and today's path:
// the report goes out as SSID 1 through WIDE1-1,WIDE2-1, and the copy a fill-in digipeater
// repeated, inserting its call before the alias it used up, is ours, heard via that station,
// with no clash about our own name.
TEST_F(DirewolfStation, ALeadingZeroCallsCopyIsOursAndNamesTheFillInDigipeater) {
    make();
    QByteArray settings = StationFiles::read(files->settings);
    settings.replace("MyCall=G4ABC-1", "MyCall=G4ABC-01\r\nUnproto=6");
    StationFiles::write(files->settings, settings);
    ASSERT_EQ(station->start(), std::nullopt);
    const QString sent =
        QStringLiteral("G4ABC-1>APRS,WIDE1-1,WIDE2-1:;PARK     *061523z5130.00N/00045.00WPOpen");
    ASSERT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] ") + sent, 15000))
        << direwolf.log().toStdString();
    Station& core = station->station();
    ASSERT_TRUE(core.heard().last(0));
    ASSERT_TRUE(direwolf.hear(
        {QStringLiteral("G4ABC-1>APRS,DIGI1,WIDE1*,WIDE2-1:") + sent.section(QLatin1Char(':'), 1)}))
        << direwolf.error().toStdString();
    ASSERT_TRUE(waitUntil([&] { return core.heardModel().rowCount() == 1; }, 15000))
        << direwolf.log().toStdString();
    const QString at = clock.nowUtc().time().toString(QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(core.lastReportText(0).toStdString(),
              ("Sent " + at + ", heard via DIGI1 " + at).toStdString());
    EXPECT_EQ(core.heardModel().row(0).ours, "PARK");
    EXPECT_EQ(core.station().MyCall, "G4ABC-1");
    EXPECT_EQ(station->stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(Links, HeardOnDirewolf,
                         ::testing::Values(Through::Agwpe, Through::KissTerminal, Through::KissTcp),
                         [](const auto& info) {
                             return info.param == Through::Agwpe          ? "Agwpe"
                                    : info.param == Through::KissTerminal ? "KissTerminal"
                                                                          : "KissTcp";
                         });

} // namespace
