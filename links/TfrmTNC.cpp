// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TfrmTNC.h"

#include "common/Clock.h"
#include "common/Cp1252.h"
#include "links/KeyCode.h"
#include "links/LinkControl.h"
#include "links/TfrmKiss.h"
#include "links/TncCodes.h"
#include "ui_TfrmTNC.h"

#include <QLoggingCategory>
#include <QScrollBar>
#include <QThread>

Q_LOGGING_CATEGORY(lcTerminal, "skyvane.terminal")

namespace {

// TNCs take a moment to act on each line of the enter-KISS sequence.
constexpr int kEnterKissPauseMs = 250;

} // namespace

TfrmTNC::TfrmTNC(LinkControl& link, Clock& clock, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmTNC>()), m_link(link), m_clock(clock) {
    ui->setupUi(this);
    ui->Edit1->installEventFilter(this);
    connect(ui->btnSend, &QPushButton::clicked, this, &TfrmTNC::btnSendClick);
    connect(ui->btnExitKiss, &QPushButton::clicked, this, &TfrmTNC::btnExitKissClick);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmTNC::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TfrmTNC::Button2Click);
    connect(&m_link, &LinkControl::terminalText, this, &TfrmTNC::showReceived);
}

TfrmTNC::~TfrmTNC() = default;

void TfrmTNC::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    TNCShow();
}

bool TfrmTNC::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Edit1 && event->type() == QEvent::KeyPress)
        return EditKeyPress(typedCode(static_cast<QKeyEvent*>(event)));
    return QDialog::eventFilter(watched, event);
}

void TfrmTNC::TNCShow() {
    // From now on for the rest of the run, whether or not the window is showing.
    m_link.setTerminalEcho(true);
    ui->Edit1->setFocus();
}

void TfrmTNC::write(const QByteArray& bytes) {
    // Failures stay in the port's LastError; the terminal shows only what the TNC says.
    if (!m_link.serialPort().Write(bytes))
        qCWarning(lcTerminal) << "write failed, error" << m_link.serialPort().LastError();
}

bool TfrmTNC::EditKeyPress(int code) {
    if (code < 0)
        return false;
    const LinkSettings& link = m_link.linkSettings();
    if (code == link.SendPacCode) {
        // The line goes out whole, however long the operator made it.
        write(Cp1252::fromUnicode(ui->Edit1->text()) + "\r\n");
    } else if (code == link.CommandCode) {
        write(QByteArray(1, char(code)));
    } else {
        return false;
    }
    ui->Edit1->clear();
    ui->Edit1->setFocus();
    return true;
}

void TfrmTNC::matchLinkType(LinkType type) {
    LinkSettings link = m_link.linkSettings();
    if (!link.Match)
        return;
    link.UseKISS = type == LinkType::Kiss;
    link.Host = type == LinkType::Tnc;
    m_link.setLinkSettings(link);
    emit linkChanged(link);
}

void TfrmTNC::btnSendClick() {
    if (m_link.linkSettings().EnterKiss[0].isEmpty())
        Button1Click();
    const auto lines = KissSequence::enterLines(m_link.linkSettings().EnterKiss);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            m_clock.pause(kEnterKissPauseMs);
        write(lines[i]);
    }
    m_link.serialPort().PurgeOutput();
    matchLinkType(LinkType::Kiss);
}

void TfrmTNC::btnExitKissClick() {
    if (m_link.linkSettings().ExitKiss[0] == 0)
        Button1Click();
    matchLinkType(LinkType::Tnc);
    const QByteArray bytes = KissSequence::exitBytes(m_link.linkSettings().ExitKiss);
    if (!bytes.isEmpty())
        write(bytes);
    ui->Edit1->setFocus();
}

void TfrmTNC::Button1Click() {
    if (!m_kiss)
        return;
    m_kiss->setValues(m_link.linkSettings());
    m_kiss->move(x() + 20, y() + 20);
    if (m_kiss->exec() != QDialog::Accepted)
        return;
    LinkSettings link = m_link.linkSettings();
    link.EnterKiss = m_kiss->settings().EnterKiss;
    link.ExitKiss = m_kiss->settings().ExitKiss;
    link.Match = m_kiss->settings().Match;
    m_link.setLinkSettings(link);
    emit linkChanged(link);
}

void TfrmTNC::Button2Click() {
    if (m_link.isConnected())
        m_link.disconnectLink();
    reject();
}

void TfrmTNC::showReceived(const QString& text) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, text] { showReceived(text); }, Qt::QueuedConnection);
        return;
    }
    m_memo = TerminalText::append(m_memo, text);
    ui->Memo1->setPlainText(TerminalText::display(m_memo));
    // The newest text in view.
    ui->Memo1->moveCursor(QTextCursor::End);
    ui->Memo1->verticalScrollBar()->setValue(ui->Memo1->verticalScrollBar()->maximum());
}
