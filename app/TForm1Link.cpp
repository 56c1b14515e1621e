// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "beacon/CommentFile.h"
#include "beacon/Report.h"
#include "beacon/SendPlan.h"
#include "common/Clock.h"
#include "common/ConvertError.h"
#include "common/DateFormat.h"
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
    for (QPushButton* send : {ui->btnSend, ui->btnSend1, ui->btnSend2})
        connect(send, &QPushButton::clicked, this, [this, send] { btnSendClick(send); });

    connect(link, &LinkControl::statusChanged, ui->Edit1, &QLineEdit::setText);
    connect(link, &LinkControl::layoutChanged, this, &TForm1::applyLinkLayout);
    connect(link, &LinkControl::beaconsStopped, this, [this] {
        btnStopClick();
        btnStop1Click();
        btnStop2Click();
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

void TForm1::SessionConnected(int socket) {
    m_linkControl->SessionConnected(socket);
}

void TForm1::Error(int socket, int error, const QString& message) {
    m_linkControl->Error(socket, error, message);
}

void TForm1::ConnectedTest() {
    m_linkControl->ConnectedTest();
}

void TForm1::BusyTimed() {
    m_linkControl->BusyTimed();
}

void TForm1::TNCTimed() {
    m_linkControl->TNCTimed();
}

void TForm1::AfterRecieve(const QString& text) {
    m_linkControl->AfterRecieve(text);
}

bool TForm1::linkConnected() const {
    return m_linkControl && m_linkControl->isConnected();
}

void TForm1::sendFrom(QObject* sender) {
    btnSendClick(sender);
}

void TForm1::releaseLink() {
    // Stop all has already taken every wait cursor down.
    m_overrideCursors = 0;
    m_linkControl->BusyTimed();
}

bool TForm1::ReadCommentFile(int object) {
    if (object < 1 || object > 3)
        return false;
    BeaconObject& o = m_objects[object - 1];
    const bool weather = object == 1 && o.isWeatherStation();
    const CommentFileText file = readCommentFile(o.commentFile);
    if (file.state == CommentFileText::State::Unreadable) {
        m_dialogs.error(file.error);
        return false;
    }
    const CommentFromFile read =
        applyCommentFile(o, weather, file, m_clock.nowUtc(), m_clock.nowLocal(), m_dateFormat);
    QLineEdit* boxes[3] = {ui->Comment, ui->Comment1, ui->Comment2};
    QLineEdit* headers[3] = {ui->Header, ui->Header1, ui->Header2};
    boxes[object - 1]->setText(o.comment);
    headers[object - 1]->setText(o.header);
    headers[object - 1]->setCursorPosition(0);
    m_fileDateText = read.fileDateText;
    m_currentTimeText = read.currentTimeText;
    return true;
}

void TForm1::btnSendClick(QObject* sender) {
    const int k = objectOfSender(sender);
    if (k < 0)
        return;
    try {
        sendObject(k, sender);
    } catch (const ConvertError& e) {
        m_dialogs.error(e.message());
    }
}

void TForm1::sendObject(int k, QObject* sender) {
    m_currentTimeText = formatDateTime(m_dateFormat, m_clock.nowLocal());
    BeaconObject& o = m_objects[k];
    const bool weather = k == 0 && o.isWeatherStation();
    const SendPlan plan = prepareSend(sendRequest(k, false));
    if (!plan.ok()) {
        m_dialogs.information(plan.refusal);
        return;
    }

    QCheckBox* fileBoxes[3] = {ui->chkFile, ui->chkFile1, ui->chkFile2};
    QPushButton* deletes[3] = {ui->btnDelete, ui->btnDelete1, ui->btnDelete2};
    if (fileBoxes[k]->isChecked() && sender != deletes[k]) {
        if (!ReadCommentFile(k + 1))
            return;
    } else {
        ui->Page->setCurrentIndex(k);
        ReadTime();
        if (!weather)
            UpdateHeader(k + 1);
    }

    QLineEdit* commentBoxes[3] = {ui->Comment, ui->Comment1, ui->Comment2};
    QLineEdit* box = commentBoxes[k];
    const QString before = box->text();
    const QString comment = Report::applyCommentMarkers(before, m_fileDateText, m_currentTimeText);
    // The operator sees what goes on the air; the marker comes back afterwards.
    box->setText(comment);

    if (const QString refusal = reportRefusal(o.header); !refusal.isEmpty()) {
        m_dialogs.information(refusal);
        box->setText(before);
        return;
    }
    m_linkControl->setLinkSettings(m_link);
    m_linkControl->setStation(m_station);
    // The weather report carries no name of its own: the log names it by the station.
    m_linkControl->sendReport(o.header + comment, plan.destination,
                              {k + 1, weather ? m_station.MyCall : o.identifier});
    box->setText(before);
}
