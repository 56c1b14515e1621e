// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "common/Clock.h"
#include "common/Dialogs.h"
#include "links/LinkControl.h"
#include "links/TAGWPE.h"
#include "links/TfrmHeard.h"
#include "links/TfrmSent.h"
#include "links/TfrmTNC.h"
#include "station/Station.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

void TForm1::setupLink() {
    m_linkControl = &m_station->link();
    LinkControl* link = m_linkControl;

    connect(ui->btnConnect1, &QToolButton::clicked, this, &TForm1::btnConnect1Click);
    connect(ui->btnDisconnect, &QToolButton::clicked, this, &TForm1::btnDisconnectClick);
    connect(ui->mnuConnect, &QAction::triggered, this, &TForm1::mnuConnectClick);
    connect(ui->mnuHost, &QAction::triggered, this, &TForm1::mnuHostClick);
    connect(ui->Debug1, &QAction::triggered, this, &TForm1::Debug1Click);
    connect(m_timer3, &QTimer::timeout, this, &TForm1::btnConnect1Click);

    connect(link, &LinkControl::statusChanged, this, &TForm1::showStatus);
    // What the link does now, also while it comes back by itself after an outage.
    m_linkStatePanel = new QLabel(link->stateText(), this);
    m_linkStatePanel->setObjectName(QStringLiteral("LinkStatePanel"));
    m_linkStatePanel->setAccessibleName(QStringLiteral("Link state"));
    m_linkStatePanel->setFrameShape(QFrame::Panel);
    m_linkStatePanel->setFrameShadow(QFrame::Sunken);
    m_linkStatePanel->setToolTip(QStringLiteral("What the link is doing now"));
    // It takes what room the bar has left and never widens the window.
    m_linkStatePanel->setMinimumWidth(1);
    m_linkStatePanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->Bar->addPermanentWidget(m_linkStatePanel, 1);
    connect(link, &LinkControl::stateChanged, this, [this](const QString& text) {
        m_linkStatePanel->setText(text);
        // Each tab's next-report line says when a report waits for the link.
        if (m_previews[0])
            refreshPreviews();
    });
    connect(link, &LinkControl::layoutChanged, this, &TForm1::applyLinkLayout);
    // Busy periods and TNC waits each hold the hourglass.
    const auto cursor = [this](bool on) {
        if (on)
            m_waitCursor.hold();
        else
            m_waitCursor.release();
    };
    connect(link, &LinkControl::busyChanged, this, [this, cursor](bool busy) {
        ui->Page->setEnabled(!busy);
        cursor(busy);
    });
    connect(link, &LinkControl::waitCursorChanged, this, cursor);
}

void TForm1::applyLinkLayout(const LinkLayout& layout) {
    ui->btnConnect1->setEnabled(layout.connectEnabled && station().callsignSet());
    ui->btnDisconnect->setEnabled(layout.disconnectEnabled);
    for (const ObjectPanel* p : m_panels) {
        if (!p)
            continue; // the link is wired before the panels
        p->controls().send->setEnabled(layout.sendEnabled);
        p->controls().start->setEnabled(layout.sendEnabled);
    }
    ui->mnuConnect->setText(layout.offersDisconnect ? QStringLiteral("&Disconnect")
                                                    : QStringLiteral("&Connect     "));
    ui->mnuHost->setEnabled(layout.hostMenuEnabled);
    ui->StationSetup1->setEnabled(layout.hostMenuEnabled);
}

void TForm1::btnConnect1Click() {
    // Timer3 runs only after a start-up with auto-connect; for a serial link that start-up put
    // up the hourglass, which this connect takes down.
    const bool autoConnectCursor =
        m_timer3->isActive() && linkSettings().AutoConnect && linkSettings().serial();
    m_timer3->stop();
    if (autoConnectCursor)
        m_waitCursor.release();
    m_linkControl->connectLink();
}

void TForm1::btnDisconnectClick() {
    if (!m_linkControl)
        return;
    m_linkControl->disconnectLink();
}

void TForm1::mnuConnectClick() {
    if (m_linkControl->layout().offersDisconnect)
        btnDisconnectClick();
    else
        btnConnect1Click();
}

void TForm1::mnuHostClick() {
    btnDisconnectClick();
    createOtherWindows();
    m_windows.AGWPE->setValues(linkSettings());
    m_windows.AGWPE->setCallsign(station().MyCall);
    m_windows.AGWPE->move(x() + 50, y() + 50);
    m_windows.AGWPE->exec();
    // Cancel too: the link type and auto-connect took effect when they were clicked.
    m_linkControl->setLinkSettings(m_windows.AGWPE->settings());
    const bool callsignSet = station().callsignSet();
    ui->btnConnect1->setEnabled(callsignSet);
    if (callsignSet)
        ui->btnDisconnect->setEnabled(false);
}

void TForm1::Debug1Click() {
    createOtherWindows();
    if (!m_linkControl->portOpened())
        btnConnect1Click();
    if (m_linkControl->serialPort().LastError() != 0)
        return;
    m_windows.frmTNC->move(x() + 100, y() + 60);
    m_windows.frmTNC->exec();
}

bool TForm1::linkConnected() const {
    return m_linkControl && m_linkControl->isConnected();
}

void TForm1::btnSendClick(QObject* sender) {
    if (ObjectPanel* p = panel(objectOfSender(sender)))
        p->send();
}

void TForm1::recordSent(const SentRecord& record) {
    m_sentThisRun.append(record);
    if (m_sentWindow)
        m_sentWindow->addRecord(record);
}

void TForm1::mnuSentClick() {
    if (!m_sentWindow) {
        // Read at the first showing, not at start-up: most runs never open it.
        QList<SentRecord> records;
        if (const SentLog* log = m_linkControl->sentLog())
            for (const SentRecord& r : log->readDay(m_clock.nowUtc().date()))
                if (r.utc < m_startedUtc)
                    records.append(r);
        records += m_sentThisRun;
        m_sentWindow = new TfrmSent(this);
        m_sentWindow->setRecords(records);
    }
    m_sentWindow->show();
    m_sentWindow->raise();
    m_sentWindow->activateWindow();
}

void TForm1::mnuHeardClick() {
    if (!m_heardWindow)
        m_heardWindow = new TfrmHeard(m_station->heardModel(), this);
    m_heardWindow->show();
    m_heardWindow->raise();
    m_heardWindow->activateWindow();
}
