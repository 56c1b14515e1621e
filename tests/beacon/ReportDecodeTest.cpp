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
#include "weather/WeatherData.h"

#include <QRegularExpression>
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

// Every group the weather dialog can make, from readings at the edges of both unit systems,
// reads back in Dire Wolf's decoder as the value typed (in English units). Dire Wolf reads the
// wind speed as the course/speed extension's knots and shows it in mph.
TEST(ReportOnAir, EveryWeatherGroupDecodesToTheValueTyped) {
    if (const QString why = decodeAprsMissing(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    struct Row {
        bool metric;
        QStringList typed; // direction, speed, gust, rain 1 h, 24 h, midnight, t, b, h
        double windMph;    // < 0: no wind group is decoded
        QStringList decoded;
    };
    const Row rows[] = {
        {false, {"360", "0"}, 0, {"direction 360"}},
        {false, {"0", "5"}, 5, {"direction 0"}},
        {false, {}, -1, {}}, // unknown: "---/---"
        {false,
         {"1", "999", "999", "9.99", "0", "9.99", "-99", "9999.9", "100"},
         999,
         {"direction 1", "gust 999", "temperature -99", "rain 9.99 in last hour",
          "rain 0.00 in last 24 hours", "rain 9.99 since midnight", "humidity 100",
          "barometer 295.33"}},
        {false,
         {"180", "16", "0", "0.01", "", "", "999", "0", "1"},
         16,
         {"direction 180", "gust 0", "temperature 999", "rain 0.01 in last hour", "humidity 1",
          "barometer 0.00"}},
        {true,
         {"270", "1608", "0", "253.9", "0", "25.4", "-73", "1013.2", "55"},
         998,
         {"direction 270", "gust 0", "temperature -99", "rain 9.99 in last hour",
          "rain 0.00 in last 24 hours", "rain 1.00 since midnight", "humidity 55",
          "barometer 29.92"}},
        {true, {"90", "10", "", "", "", "", "537", "", ""}, 6, {"temperature 998"}},
    };
    const SymbolInfo* wx = Symbols::byNumber(Symbols::WeatherStation);
    const QString header =
        Report::weatherHeader(QDateTime(QDate(2026, 3, 6), QTime(16, 23), Qt::OffsetFromUTC, 3600),
                              QStringLiteral("5130.25N"), QString(QLatin1Char(wx->table)),
                              QStringLiteral("00007.50W"), QString(QLatin1Char(wx->code)), true);
    EXPECT_EQ(header, "/061523z5130.25N/00007.50W_") << "UTC with z";
    QStringList lines;
    for (const Row& r : rows) {
        WeatherReadings typed;
        QString* const fields[] = {&typed.Direction,   &typed.Speed,    &typed.Gust,
                                   &typed.Rain,        &typed.Rain24,   &typed.RainM,
                                   &typed.Temperature, &typed.Pressure, &typed.Humidity};
        for (qsizetype f = 0; f < r.typed.size(); ++f)
            *fields[f] = r.typed[f];
        lines << monitorLineOnAir(header + buildWeatherData(typed, r.metric).text);
    }
    const QStringList blocks = decodeAprs(lines);
    ASSERT_EQ(blocks.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const QString& block = blocks[qsizetype(i)];
        EXPECT_TRUE(block.contains(QLatin1String("Weather Report"))) << block.toStdString();
        EXPECT_TRUE(block.contains(QLatin1String(position))) << block.toStdString();
        QStringList expected = rows[i].decoded;
        if (rows[i].windMph >= 0)
            expected << QStringLiteral("wind %1 mph").arg(rows[i].windMph * 1.15078, 0, 'f', 1);
        else
            EXPECT_FALSE(block.contains(QRegularExpression(QStringLiteral("wind [0-9]"))))
                << block.toStdString();
        for (const QString& value : expected)
            EXPECT_TRUE(block.contains(value)) << value.toStdString() << "\n"
                                               << block.toStdString();
    }
}
