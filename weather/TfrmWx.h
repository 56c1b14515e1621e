// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "weather/WeatherData.h"

#include <QDialog>
#include <memory>

class Dialogs;
class QKeyEvent;
class QLineEdit;
class TForm14;

namespace Ui {
class TfrmWx;
}

// What the weather dialog and the main window hand each other.
struct WeatherEntry {
    bool metric = false; // readings are typed in metric units ("Weather Data" / "Metric")
    QString data;        // the weather data string that the last OK built
};

// The Weather Data dialog. Created once and only hidden, so that its fields, its unit box and
// its labels keep what the operator left in them from one opening to the next. It turns the
// readings into the weather data string with the core weather functions; the main window
// decides what to do with the string.
class TfrmWx : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWx(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmWx() override;

    // The unit setting decides the units the dialog opens in (at the next showing); data is
    // kept until an OK replaces it.
    void setValues(const WeatherEntry& entry) { m_entry = entry; }
    const WeatherEntry& values() const { return m_entry; }
    // The window the Help button shows; none leaves Help doing nothing.
    void setHelpWindow(TForm14* help) { m_help = help; }

    void frmShow();
    void chkMetricClick();
    void btnOKClick();
    void btnCancelClick();
    void Button1Click();

    // Key filters of the fields: true when the key was used up here.
    // Direction, speed, gust, temperature and humidity: digits only, unless metric.
    bool frmKeyPress1(QLineEdit* field, const QString& key);
    // The rain fields: digits and one point, in English units as digit, point, two digits.
    bool frmKeyPress(QLineEdit* field, const QString& key);
    // Pressure: digits and a point.
    bool frmKeyPress2(QLineEdit* field, const QString& key);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WeatherReadings readings() const;
    void showReadings(const WeatherReadings& readings);
    void setUnitLabels(bool metric);
    // Runs a handler's work; a number the operator typed that cannot be used is shown here
    // and goes no further.
    template <class Work> void guarded(Work work);

    std::unique_ptr<Ui::TfrmWx> ui;
    Dialogs& m_dialogs;
    TForm14* m_help = nullptr;
    WeatherEntry m_entry;
};
