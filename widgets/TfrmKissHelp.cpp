// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TfrmKissHelp.h"

#include "ui_TfrmKissHelp.h"
#include "widgets/HelpWindow.h"

TfrmKissHelp::TfrmKissHelp(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmKissHelp>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
}

TfrmKissHelp::~TfrmKissHelp() = default;

void TfrmKissHelp::showEvent(QShowEvent* event) {
    frmShow();
    QDialog::showEvent(event);
}

void TfrmKissHelp::frmShow() {
    QPalette palette = ui->Memo1->palette();
    palette.setColor(QPalette::Base, kHelpTextColour);
    ui->Memo1->setPalette(palette);
}
