// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// What an APRS receiver makes of our reports: Dire Wolf's decode_aprs reads the monitor lines
// of the frames we build, after they went through KISS framing and our own decoder.

#include "beacon/Report.h"
#include "beacon/SymbolTable.h"
#include "links/Ax25.h"
#include "links/Kiss.h"
#include "support/DecodeAprs.h"

#include <gtest/gtest.h>

namespace {

const QDateTime sendTime(QDate(2026, 3, 6), QTime(15, 23), Qt::UTC);
const char* position = "N 51 30.2500, W 000 07.5000";

QString monitorLineOnAir(const QString& info) {
    const auto frames = kissReportFrames(info, QStringLiteral("NOCALL-1"), QStringLiteral("CQ"),
                                         QStringLiteral("WIDE1-1"), {true, false, false, false});
    KissDecoder decoder;
    const auto decoded = decoder.feed(frames.value(0).bytes);
    const auto frame = parseAx25UiFrame(decoded.value(0).body);
    return frame ? ax25MonitorText(*frame) : QString();
}

QStringList decodeAprs(const QStringList& lines) {
    return ::decodeAprs(lines, QStringLiteral("NOCALL-1"));
}

} // namespace

TEST(ReportOnAir, EveryObjectSymbolDecodesAsThatSymbol) {
    if (const QString why = decodeAprsMissing(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const char* described[] = {
        "Advisory", "Aid station", "Portable operation (tent)", "normal car",     "Emergency!",
        "House",    "INFO Kiosk",  "Navigation Buoy",           "Park or Picnic", "Parking",
        "Phone"};
    QStringList lines;
    for (int n = 1; n <= 11; ++n) {
        const SymbolInfo* s = Symbols::byNumber(n);
        const QString header = Report::objectHeader(
            Report::nameField(QStringLiteral("OBJ%1").arg(n), n == 11), Report::timeStamp(sendTime),
            QStringLiteral("5130.25N"), QString(QLatin1Char(s->table)), QStringLiteral("00007.50W"),
            QString(QLatin1Char(s->code)));
        lines << monitorLineOnAir(header + QStringLiteral("Comment %1").arg(n));
    }
    const QStringList blocks = decodeAprs(lines);
    ASSERT_EQ(blocks.size(), 11);
    for (int n = 1; n <= 11; ++n) {
        const QString& block = blocks[n - 1];
        const QString object = QStringLiteral("Object, \"OBJ%1\", ").arg(n);
        EXPECT_TRUE(block.contains((n == 11 ? QStringLiteral("Killed ") : QString()) + object))
            << block.toStdString();
        EXPECT_TRUE(block.contains(QLatin1String(described[n - 1]))) << block.toStdString();
        EXPECT_TRUE(block.contains(QLatin1String(position))) << block.toStdString();
        EXPECT_TRUE(block.contains(QStringLiteral("Comment %1").arg(n))) << block.toStdString();
        EXPECT_FALSE(block.contains(QLatin1String("nvalid"))) << block.toStdString();
    }
}

TEST(ReportOnAir, WeatherStationDecodesAsAWeatherReport) {
    if (const QString why = decodeAprsMissing(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const SymbolInfo* wx = Symbols::byNumber(Symbols::WeatherStation);
    const QString header =
        Report::weatherHeader(QDateTime(QDate(2026, 3, 6), QTime(16, 23), Qt::OffsetFromUTC, 3600),
                              QStringLiteral("5130.25N"), QString(QLatin1Char(wx->table)),
                              QStringLiteral("00007.50W"), QString(QLatin1Char(wx->code)));
    const QStringList blocks =
        decodeAprs({monitorLineOnAir(header + QStringLiteral("090/005g010t068h50b10132"))});
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_TRUE(blocks[0].contains(QLatin1String("Weather Report"))) << blocks[0].toStdString();
    EXPECT_TRUE(blocks[0].contains(QLatin1String(position))) << blocks[0].toStdString();
    EXPECT_TRUE(blocks[0].contains(QLatin1String("temperature 68"))) << blocks[0].toStdString();
    EXPECT_FALSE(blocks[0].contains(QLatin1String("Didn't find"))) << blocks[0].toStdString();
}
