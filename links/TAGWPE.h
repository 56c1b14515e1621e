// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"

#include <QDialog>
#include <array>
#include <memory>

class QComboBox;
class TfrmSetTNC;

namespace Ui {
class TAGWPE;
}

// The Comms dialog: link type, serial line and device, AGWPE address, APRS-IS login,
// auto-connect. Works on
// its own copy of the link settings. The link type and auto-connect take effect as soon as
// they are clicked, and the TNC Settings as soon as that dialog is accepted (linkChanged);
// the rest on OK. The caller takes settings() back after every showing, then applies its
// connect-button rule.
class TAGWPE : public QDialog {
    Q_OBJECT
public:
    explicit TAGWPE(QWidget* parent = nullptr);
    ~TAGWPE() override;

    // The values to show next. The host address and port boxes are filled here (the menu
    // entry fills them as it opens the dialog); everything else when the dialog shows.
    void setValues(const LinkSettings& link);
    const LinkSettings& settings() const { return m_link; }
    // The callsign of Station Setup, whose passcode the APRS-IS box shows.
    void setCallsign(const QString& callsign);
    void setTncSettingsDialog(TfrmSetTNC* dialog) { m_setTnc = dialog; }

    void AGWFormShow();
    void chkAGWPEClick();
    void chkKISSClick();
    void chkTNCClick();
    void chkKISSTCPClick();
    void chkAPRSISClick();
    void chkAutoClick();
    void btnTNCClick();
    void btnOKClick();
    void btnCancelClick();

signals:
    void linkChanged(const LinkSettings& link);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Enabling, check marks and colours after the link type changed.
    void applyLinkType();
    // A type button clicked: the link changes at once, even if the dialog is then cancelled.
    void chooseType(LinkType type);
    void showDevice(int comIndex);
    void keepDevice();
    void markDevice();

    std::unique_ptr<Ui::TAGWPE> ui;
    TfrmSetTNC* m_setTnc = nullptr;
    LinkSettings m_link;
    // The devices as edited so far, one per COM number; stored on OK.
    std::array<QString, 8> m_devices;
    int m_deviceCom = -1;                          // the COM index the Device box shows
    QString m_deviceRoot = QStringLiteral("/dev"); // the folder the Device list is filled from
    QString m_callsign;
};
