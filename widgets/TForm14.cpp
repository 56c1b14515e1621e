// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TForm14.h"

#include "ui_TForm14.h"
#include "widgets/HelpWindow.h"

TForm14::TForm14(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm14>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
}

TForm14::~TForm14() = default;

void TForm14::showEvent(QShowEvent* event) {
    frmShow();
    QDialog::showEvent(event);
}

void TForm14::frmShow() {
    if (m_opener)
        move(m_opener->x() + 30, m_opener->y() + 40);
    QPalette palette = ui->Memo1->palette();
    palette.setColor(QPalette::Base, kHelpTextColour);
    ui->Memo1->setPalette(palette);
}
