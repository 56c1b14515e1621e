// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TfrmCHelp1.h"

#include "ui_TfrmCHelp1.h"
#include "widgets/HelpWindow.h"

TfrmCHelp1::TfrmCHelp1(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmCHelp1>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
}

TfrmCHelp1::~TfrmCHelp1() = default;

void TfrmCHelp1::showAt(QPoint at) {
    showHelpWindow(this, ui->Memo1, at);
}
