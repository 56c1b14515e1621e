// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"
#include "common/StationSettings.h"

#include <QDialog>
#include <memory>

class Dialogs;
class QLineEdit;

namespace Ui {
class TfrmStation;
}

// Station Setup: callsign, destinations, unproto path and radio ports. Each showing edits a
// copy of the station settings; only an OK that passes every check makes it station(), so
// Cancel, after any number of refused OKs, leaves station() exactly as it was handed in.
class TfrmStation : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStation(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmStation() override;

    // The values to show next; the link type decides which port boxes and whether the
    // weather destination may be edited.
    void setValues(const StationSettings& station, LinkType link);
    // The values handed in, or those of the last accepted OK.
    const StationSettings& station() const { return m_station; }
    // What this showing has made of them so far.
    const StationSettings& edited() const { return m_edited; }

    void FrmShow();
    void cmbChanged();
    void SetPorts();
    void btnOKClick();
    void btnCancelClick();

signals:
    // An OK accepted these values.
    void stationChanged(const StationSettings& station);
    // OK has set the title the main window should show ("Skyvane [" + callsign + "]").
    void titleChanged(const QString& title);

protected:
    void showEvent(QShowEvent* event) override;
    // The key filter of the text fields: capitals, and Enter moves on as Tab would.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refuse(const QString& message);
    // The port boxes the link type allows, and the weather destination box.
    void showPorts();
    void showWeatherDestination();
    static void keepEncodable(QLineEdit* box, const QString& text);

    std::unique_ptr<Ui::TfrmStation> ui;
    Dialogs& m_dialogs;
    StationSettings m_station;
    StationSettings m_edited;
    LinkType m_linkType = LinkType::Agwpe;
    int m_listIndex = 0; // the path list's selected entry; -1 once the text has been typed
    bool m_filling = false;
    bool m_shifting = false; // a shifted key is being delivered and must not shift again
};
