// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "common/Clock.h"
#include "common/Dialogs.h"
#include "links/LinkControl.h"
#include "links/TAGWPE.h"
#include "links/TfrmTNC.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QTimer>

void TForm1::setupLink() {
    m_linkControl = new LinkControl(m_dialogs, m_clock, this);
    m_linkControl->setObjectName(QStringLiteral("Link"));
    LinkControl* link = m_linkControl;

    connect(ui->btnConnect1, &QToolButton::clicked, this, &TForm1::btnConnect1Click);
    connect(ui->btnDisconnect, &QToolButton::clicked, this, &TForm1::btnDisconnectClick);
    connect(ui->mnuConnect, &QAction::triggered, this, &TForm1::mnuConnectClick);
    connect(ui->mnuHost, &QAction::triggered, this, &TForm1::mnuHostClick);
    connect(ui->Debug1, &QAction::triggered, this, &TForm1::Debug1Click);
    connect(Timer3, &QTimer::timeout, this, &TForm1::btnConnect1Click);

    connect(link, &LinkControl::statusChanged, ui->Edit1, &QLineEdit::setText);
    connect(link, &LinkControl::layoutChanged, this, &TForm1::applyLinkLayout);
    connect(link, &LinkControl::beaconsStopped, this, [this] {
        for (ObjectPanel* p : m_panels)
            p->stop();
    });
    // Busy periods and TNC waits each hold the hourglass; every set is matched by a restore.
    const auto cursor = [this](bool on) {
        if (on) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            ++m_overrideCursors;
        } else if (m_overrideCursors > 0) {
            QApplication::restoreOverrideCursor();
            --m_overrideCursors;
        }
    };
    connect(link, &LinkControl::busyChanged, this, [this, cursor](bool busy) {
        ui->Page->setEnabled(!busy);
        cursor(busy);
    });
    connect(link, &LinkControl::waitCursorChanged, this, cursor);
}

void TForm1::applyLinkLayout(const LinkLayout& layout) {
    ui->btnConnect1->setEnabled(layout.connectEnabled && m_station.callsignSet());
    ui->btnDisconnect->setEnabled(layout.disconnectEnabled);
    for (QPushButton* b :
         {ui->btnSend, ui->btnSend1, ui->btnSend2, ui->btnStart, ui->btnStart1, ui->btnStart2})
        b->setEnabled(layout.sendEnabled);
    ui->mnuConnect->setText(layout.menuCaption);
    ui->mnuHost->setEnabled(layout.hostMenuEnabled);
    ui->StationSetup1->setEnabled(layout.hostMenuEnabled);
}

void TForm1::btnConnect1Click() {
    // Timer3 runs only after a start-up with auto-connect; for a serial link that start-up put
    // up the hourglass, which this connect takes down.
    const bool autoConnectCursor = Timer3->isActive() && m_link.AutoConnect && m_link.serial();
    Timer3->stop();
    if (autoConnectCursor && QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    m_linkControl->setLinkSettings(m_link);
    m_linkControl->setStation(m_station);
    m_linkControl->connectLink();
}

void TForm1::btnDisconnectClick() {
    if (!m_linkControl)
        return;
    m_linkControl->setLinkSettings(m_link);
    m_linkControl->disconnectLink();
}

void TForm1::mnuConnectClick() {
    if (ui->mnuConnect->text() == LinkControl::ConnectCaption)
        btnConnect1Click();
    else
        btnDisconnectClick();
}

void TForm1::mnuHostClick() {
    btnDisconnectClick();
    if (!AGWPE)
        return;
    AGWPE->setValues(m_link);
    AGWPE->move(x() + 50, y() + 50);
    AGWPE->exec();
    // Cancel too: the link type and auto-connect took effect when they were clicked.
    m_link = AGWPE->settings();
    const bool callsignSet = m_station.callsignSet();
    ui->btnConnect1->setEnabled(callsignSet);
    if (callsignSet)
        ui->btnDisconnect->setEnabled(false);
}

void TForm1::Debug1Click() {
    if (!frmTNC)
        return;
    if (!m_linkControl->portOpened())
        btnConnect1Click();
    if (m_linkControl->serialPort().LastError() != 0)
        return;
    m_linkControl->setLinkSettings(m_link);
    frmTNC->move(x() + 100, y() + 60);
    frmTNC->exec();
}

bool TForm1::linkConnected() const {
    return m_linkControl && m_linkControl->isConnected();
}

void TForm1::releaseLink() {
    // Stop all has already taken every wait cursor down.
    m_overrideCursors = 0;
    m_linkControl->BusyTimed();
}

void TForm1::btnSendClick(QObject* sender) {
    if (ObjectPanel* p = panel(objectOfSender(sender)))
        p->send();
}

void TForm1::sendReport(int index, const QString& info, const QString& destination,
                        const QString& name) {
    m_linkControl->setLinkSettings(m_link);
    m_linkControl->setStation(m_station);
    m_linkControl->sendReport(info, destination, {index + 1, name});
}
