// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TfrmCHelp.h"

#include "ui_TfrmCHelp.h"
#include "widgets/HelpWindow.h"

TfrmCHelp::TfrmCHelp(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmCHelp>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
}

TfrmCHelp::~TfrmCHelp() = default;

void TfrmCHelp::showAt(QPoint at) {
    showHelpWindow(this, ui->Memo1, at);
}
