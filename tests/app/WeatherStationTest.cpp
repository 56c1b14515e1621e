// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "links/LinkControl.h"
#include "support/DecodeAprs.h"
#include "support/Direwolf.h"
#include "support/Keys.h"
#include "support/PtyPair.h"
#include "support/Wait.h"
#include "weather/TfrmWx.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

namespace {

struct Reading {
    const char* field;
    const char* keys;
};

// Object 1 as the weather station on the sample map, at 12:00 UTC (13:00 local) on 6 March.
class WeatherStation : public ObjectsFixture {
protected:
    void SetUp() override {
        m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(12, 0), Qt::UTC));
        m_clock.setLocalOffset(3600);
        start();
        place(0);
        chooseSymbol(0, QStringLiteral("Weather Station"));
        ASSERT_TRUE(m_form->weatherMode());
    }

    // Runs `open` (which shows the weather dialog modally) and, while the dialog shows, types
    // the readings with the units box as asked and presses OK or Cancel.
    void enterWeather(const std::function<void()>& open, bool metric,
                      const QList<Reading>& readings, bool ok = true) {
        TfrmWx* dialog = m_form->findChild<TfrmWx*>();
        QTimer::singleShot(0, dialog, [=] {
            auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("chkMetric"));
            if (box->isChecked() != metric)
                box->click();
            for (const Reading& r : readings) {
                auto* field = dialog->findChild<QLineEdit*>(QLatin1String(r.field));
                field->clear();
                field->setFocus();
                typeText(field, QLatin1String(r.keys));
            }
            if (ok)
                dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
            // Cancel, or leaving after OK refused a reading.
            if (dialog->isVisible())
                dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        });
        // A dialog the steps above could not close must not hang the test.
        QTimer::singleShot(5000, dialog, [dialog] {
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the weather dialog stayed open";
                dialog->reject();
            }
        });
        open();
    }
    void setData(bool metric, const QList<Reading>& readings, bool ok = true) {
        enterWeather([this] { button("btnWx", 0)->click(); }, metric, readings, ok);
    }
    QString weatherData() const { return box("Comment", 0)->text(); }
};

// decode_aprs writes the wind speed after the weather symbol in mph, reading the digits as
// knots.
QString windText(int mph) {
    return QStringLiteral("wind %1 mph").arg(mph * 1.15078, 0, 'f', 1);
}

} // namespace

TEST_F(WeatherStation, SetDataAndThePictureOpenTheDialogThatFillsTheWeatherData) {
    ASSERT_FALSE(button("btnWx", 0)->isHidden());
    setData(false, {{"Direction", "90"}, {"Speed", "5"}, {"Temperature", "68"}});
    EXPECT_EQ(weatherData(), "090/005t068w");
    EXPECT_FALSE(m_form->metric());

    // A click on the weather picture opens it too; the fields kept what was typed.
    QLabel* picture = find<QLabel>("Image2");
    enterWeather(
        [picture] {
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(picture, &release);
        },
        true, {{"Gust", "32.2"}});
    EXPECT_EQ(weatherData(), "090/005g020t068w");
    EXPECT_TRUE(m_form->metric());

    // Cancel changes nothing.
    setData(false, {{"Speed", "7"}}, false);
    EXPECT_EQ(weatherData(), "090/005g020t068w");
    EXPECT_TRUE(m_form->metric());

    // The data file supplies the readings while it is in use.
    find<QCheckBox>("chkFile")->setChecked(true);
    EXPECT_FALSE(button("btnWx", 0)->isEnabled());
    find<QCheckBox>("chkFile")->setChecked(false);
    EXPECT_TRUE(button("btnWx", 0)->isEnabled());

    // The unit setting outlives the run.
    ASSERT_TRUE(closeWindow());
    EXPECT_TRUE(readIni().contains("[Weather Data]\r\nMetric=1\r\n")) << readIni().toStdString();
}

TEST_F(WeatherStation, ReportsDecodeAsTheWeatherTypedOrFiled) {
    Direwolf direwolf;
    ASSERT_TRUE(direwolf.ready()) << direwolf.error().toStdString();
    editStation(*m_form, [&](StationSettings& s) { s.MyCall = QStringLiteral("N0CALL-1"); });
    editStation(*m_form, [&](StationSettings& s) { s.Destination = QStringLiteral("APRS"); });
    editStation(*m_form, [&](StationSettings& s) { s.WxDest = QStringLiteral("WX"); });
    editLink(*m_form, [&](LinkSettings& s) { s.IPAddr = QStringLiteral("127.0.0.1"); });
    editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = QString::number(direwolf.agwPort()); });
    m_form->link()->setBusyInterval(100);
    m_form->btnConnect1Click();
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    auto sendNow = [&] {
        button("btnSend", 0)->click();
        ASSERT_TRUE(waitUntil([&] { return !m_form->link()->isBusy(); }));
    };

    // English units: 5 mph from 90 degrees, gusts 12 mph, 68 F, rain 0.05, 0.50 and 1.00
    // inch, 55 %, 1013.2 hPa.
    setData(false, {{"Direction", "90"},
                    {"Speed", "5"},
                    {"Gust", "12"},
                    {"Rain24", ".50"},
                    {"RainM", "1.00"},
                    {"Rain", ".05"},
                    {"Temperature", "68"},
                    {"Pressure", "1013.2"},
                    {"Humidity", "55"}});
    ASSERT_EQ(weatherData(), "090/005g012t068r005p050P100h55b10132w");
    sendNow();
    // Metric units: 16.1 km/h is 10 mph, 32.2 km/h 20 mph, -20 C is -4 F, 2.54 mm a tenth
    // of an inch, 12.7 mm a half, 25.4 mm one.
    setData(true, {{"Direction", "270"},
                   {"Speed", "16.1"},
                   {"Gust", "32.2"},
                   {"Rain24", "12.7"},
                   {"RainM", "25.4"},
                   {"Rain", "2.54"},
                   {"Temperature", "-20"},
                   {"Pressure", "985"},
                   {"Humidity", "9"}});
    sendNow();
    // A weather data file, as the station's own software writes it; its time is the report's.
    {
        QFile file(path(QStringLiteral("wx.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("06/03/26 17:45\r\n180/012g020t050r000p010P020h80b10050w\r\n");
    }
    m_form->panel(0)->slot().setCommentFile(path(QStringLiteral("wx.txt")));
    find<QCheckBox>("chkFile")->setChecked(true);
    sendNow();

    const QString header = QStringLiteral("/061300/5115.00N/00015.00W_");
    const QString infos[3] = {header + "090/005g012t068r005p050P100h55b10132w",
                              header + "270/010g020t-04r010p050P100h09b09850w",
                              "/061745/5115.00N/00015.00W_180/012g020t050r000p010P020h80b10050w"};
    QStringList lines;
    for (const QString& info : infos) {
        const QString line = QStringLiteral("N0CALL-1>WX:") + info;
        EXPECT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] ") + line + QLatin1Char('\n')))
            << direwolf.log().toStdString();
        lines << line;
    }
    // The station's own destination is back for its next report.
    EXPECT_EQ(m_form->station().Destination, "APRS");

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
    EXPECT_TRUE(m_dialogs.shown.isEmpty()) << m_dialogs.texts().join('|').toStdString();
    m_form->btnDisconnectClick();
}
