// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TfrmSetTNC.h"

#include "common/Dialogs.h"
#include "links/KeyCode.h"
#include "links/TncCodes.h"
#include "ui_TfrmSetTNC.h"

TfrmSetTNC::TfrmSetTNC(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSetTNC>()), m_dialogs(dialogs) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ui->Command->installEventFilter(this);
    ui->SendPac->installEventFilter(this);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmSetTNC::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSetTNC::btnCancelClick);
}

TfrmSetTNC::~TfrmSetTNC() = default;

void TfrmSetTNC::showEvent(QShowEvent* event) {
    frmShow();
    QDialog::showEvent(event);
}

bool TfrmSetTNC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == ui->Command || watched == ui->SendPac)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Tab still moves between the boxes; it is no code anyone sends a TNC.
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            return KeyPress1(static_cast<QLineEdit*>(watched), typedCode(key));
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSetTNC::frmShow() {
    ui->Command->setText(m_link.Command);
    ui->Cmdprompt->setText(m_link.CmdPrompt);
    ui->SendPac->setText(m_link.SendPac);
    ui->Beac->setText(m_link.Beacon);
    ui->Convers->setText(m_link.Conv);
    ui->ConOK->setText(m_link.ConOk);
}

bool TfrmSetTNC::KeyPress1(QLineEdit* box, int code) {
    const auto text = TncCodes::keyText(code);
    if (!text)
        return false;
    box->setText(*text);
    box->end(false);
    return true;
}

void TfrmSetTNC::btnOKClick() {
    const auto sendPac = TncCodes::byteValue(ui->SendPac->text());
    if (!sendPac) {
        m_dialogs.information(QStringLiteral("Error with \"SendPac\" code."));
        return;
    }
    // The command code is used from now on, so a text that is no byte cannot be kept either.
    const auto command = TncCodes::byteValue(ui->Command->text());
    if (!command) {
        m_dialogs.information(QStringLiteral("Error with \"Command\" code."));
        return;
    }
    m_link.SendPac = ui->SendPac->text();
    m_link.SendPacCode = *sendPac;
    m_link.Command = ui->Command->text();
    m_link.CommandCode = *command;
    m_link.CmdPrompt = ui->Cmdprompt->text();
    m_link.Beacon = ui->Beac->text();
    m_link.Conv = ui->Convers->text();
    m_link.ConOk = ui->ConOK->text();
    accept();
}

void TfrmSetTNC::btnCancelClick() {
    reject();
}
