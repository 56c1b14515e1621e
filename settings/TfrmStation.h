// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"
#include "common/StationSettings.h"

#include <QDialog>
#include <memory>

class Dialogs;

namespace Ui {
class TfrmStation;
}

// Station Setup: callsign, destinations, unproto path and radio ports. It works on its own
// copy of the station settings; the main window takes station() back after every showing,
// since path choices and port boxes take effect even when the dialog is then cancelled.
class TfrmStation : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStation(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmStation() override;

    // The values to show next; the link type decides which port boxes and whether the
    // weather destination may be edited.
    void setValues(const StationSettings& station, LinkType link);
    const StationSettings& station() const { return m_station; }

    void FrmShow();
    void cmbChanged();
    void SetPorts();
    void btnOKClick();
    void btnCancelClick();

signals:
    // Path and port choices take effect while the dialog is still open.
    void stationChanged(const StationSettings& station);
    // OK has set the title the main window should show ("Skyvane [" + callsign + "]").
    void titleChanged(const QString& title);

protected:
    void showEvent(QShowEvent* event) override;
    // The key filter of the text fields: capitals, and Enter moves on as Tab would.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refuse(const QString& message);

    std::unique_ptr<Ui::TfrmStation> ui;
    Dialogs& m_dialogs;
    StationSettings m_station;
    LinkType m_linkType = LinkType::Agwpe;
    int m_listIndex = 0; // the path list's selected entry; -1 once the text has been typed
    bool m_filling = false;
    bool m_shifting = false; // a shifted key is being delivered and must not shift again
};
