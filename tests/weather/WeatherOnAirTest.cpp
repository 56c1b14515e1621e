// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// Weather reports as an APRS receiver reads them: readings typed into the weather dialog (or
// written to a weather data file) go to Dire Wolf through its AGW port, and decode_aprs
// explains the frames Dire Wolf put on the air.

#include "beacon/CommentFile.h"
#include "beacon/Report.h"
#include "links/LinkControl.h"
#include "support/DecodeAprs.h"
#include "support/Direwolf.h"
#include "support/Keys.h"
#include "support/ManualClock.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"
#include "weather/TfrmWx.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kLatitude = QStringLiteral("5115.00N");
const QString kLongitude = QStringLiteral("00015.00W");

struct Reading {
    const char* field;
    const char* keys;
};

// The weather dialog's string for the readings, typed key by key.
QString typedWeather(TestDialogs& dialogs, bool metric, const QList<Reading>& readings) {
    TfrmWx dialog(dialogs);
    dialog.setValues({metric, {}});
    dialog.show();
    for (const Reading& r : readings) {
        auto* field = dialog.findChild<QLineEdit*>(QLatin1String(r.field));
        field->setFocus();
        typeText(field, QLatin1String(r.keys));
    }
    dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    EXPECT_FALSE(dialog.isVisible()) << dialogs.texts().join('|').toStdString();
    return dialog.values().data;
}

QString weatherReport(const QDateTime& local, const QString& data) {
    return Report::weatherHeader(local, kLatitude, QStringLiteral("/"), kLongitude,
                                 QStringLiteral("_")) +
           data;
}

// The frame Dire Wolf put on the air carrying the info, as its monitor line.
QString onAir(const Direwolf& direwolf, const QString& info) {
    const QString line = QStringLiteral("N0CALL-1>WX:") + info;
    if (!direwolf.waitForLog(QStringLiteral("[0L] ") + line + QLatin1Char('\n')))
        return {};
    return line;
}

// decode_aprs writes the wind speed after the weather symbol in mph, reading the digits as
// knots; the other values as sent.
QString windText(int mph) {
    return QStringLiteral("wind %1 mph").arg(mph * 1.15078, 0, 'f', 1);
}

} // namespace

TEST(WeatherOnAir, TypedAndFiledReadingsDecodeAsTheWeatherSent) {
    Direwolf direwolf;
    if (!direwolf.installed())
        GTEST_SKIP() << direwolf.error().toStdString();
    ASSERT_TRUE(direwolf.ready()) << direwolf.error().toStdString();
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link(dialogs, clock);
    link.setBusyInterval(100);
    LinkSettings settings;
    settings.IPAddr = QStringLiteral("127.0.0.1");
    settings.TCPPort = QString::number(direwolf.agwPort());
    link.setLinkSettings(settings);
    StationSettings station;
    station.MyCall = QStringLiteral("N0CALL-1");
    station.Destination = QStringLiteral("APRS");
    station.Ports = QStringLiteral("1000");
    station.applyPortsText();
    link.setStation(station);
    ASSERT_TRUE(link.connectLink());
    ASSERT_TRUE(waitUntil([&] { return link.isConnected(); }));
    const QDateTime local(QDate(2026, 3, 6), QTime(16, 23));

    // English units as typed: 5 mph from 90 degrees, gusts 12 mph, 68 F, rain 0.05, 0.50 and
    // 1.00 inch, 55 %, 1013.2 hPa.
    const QString english = typedWeather(dialogs, false,
                                         {{"Direction", "90"},
                                          {"Speed", "5"},
                                          {"Gust", "12"},
                                          {"Rain24", ".50"},
                                          {"RainM", "1.00"},
                                          {"Rain", ".05"},
                                          {"Temperature", "68"},
                                          {"Pressure", "1013.2"},
                                          {"Humidity", "55"}});
    ASSERT_EQ(english, "090/005g012t068r005p050P100h55b10132w");
    // Metric units: 16.1 km/h is 10 mph, 32.2 km/h 20 mph, -20 C is -4 F, 25.4 mm an inch,
    // 12.7 mm half an inch, 2.54 mm a tenth.
    const QString metric = typedWeather(dialogs, true,
                                        {{"Direction", "270"},
                                         {"Speed", "16.1"},
                                         {"Gust", "32.2"},
                                         {"Rain24", "12.7"},
                                         {"RainM", "25.4"},
                                         {"Rain", "2.54"},
                                         {"Temperature", "-20"},
                                         {"Pressure", "985"},
                                         {"Humidity", "9"}});
    // A weather data file, as a station's own software writes it.
    QTemporaryDir dir;
    const QString filePath = dir.filePath(QStringLiteral("wx.txt"));
    {
        QFile file(filePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("06/03/26 17:45\r\n180/012g020t050r000p010P020h80b10050w\r\n");
    }
    const CommentFromFile filed =
        commentFromFile(readCommentFile(filePath), {}, local, QStringLiteral("hhmm"));

    const QString infos[3] = {weatherReport(local, english), weatherReport(local, metric),
                              weatherReport(filed.fileTime, filed.comment)};
    for (const QString& info : infos) {
        link.sendReport(info, QStringLiteral("WX"));
        ASSERT_TRUE(waitUntil([&] { return !link.isBusy(); }));
    }
    QStringList lines;
    for (const QString& info : infos)
        lines << onAir(direwolf, info);
    ASSERT_FALSE(lines.contains(QString())) << direwolf.log().toStdString();
    EXPECT_TRUE(infos[2].startsWith(QStringLiteral("/061745/"))) << infos[2].toStdString();

    const QStringList blocks = decodeAprs(lines, QStringLiteral("N0CALL-1"));
    ASSERT_EQ(blocks.size(), 3);
    const QStringList expected[3] = {
        {windText(5), "direction 90", "gust 12", "temperature 68", "rain 0.05 in last hour",
         "rain 0.50 in last 24 hours", "rain 1.00 since midnight", "humidity 55",
         "barometer 29.92"},
        {windText(10), "direction 270", "gust 20", "temperature -4", "rain 0.10 in last hour",
         "rain 0.50 in last 24 hours", "rain 1.00 since midnight", "humidity 9", "barometer 29.09"},
        {windText(12), "direction 180", "gust 20", "temperature 50", "rain 0.00 in last hour",
         "rain 0.10 in last 24 hours", "rain 0.20 since midnight", "humidity 80",
         "barometer 29.68"}};
    for (int i = 0; i < 3; ++i) {
        const QString& block = blocks[i];
        EXPECT_TRUE(block.contains(QLatin1String("Weather Report"))) << block.toStdString();
        EXPECT_TRUE(block.contains(QLatin1String("N 51 15.0000, W 000 15.0000")))
            << block.toStdString();
        for (const QString& value : expected[i])
            EXPECT_TRUE(block.contains(value)) << value.toStdString() << "\n"
                                               << block.toStdString();
        EXPECT_FALSE(block.contains(QLatin1String("nvalid"))) << block.toStdString();
    }
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
    link.disconnectLink();
}
