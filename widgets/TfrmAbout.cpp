// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TfrmAbout.h"

#include "Version.h"
#include "ui_TfrmAbout.h"
#include "widgets/AppIcon.h"

#include <QFont>

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmAbout>()) {
    ui->setupUi(this);
    ui->ProgramIcon->setPixmap(appIcon().pixmap(64, 64));
    QFont name = ui->ProductName->font();
    name.setPointSizeF(name.pointSizeF() * 1.6);
    name.setBold(true);
    ui->ProductName->setFont(name);
    ui->Version->setText(
        QStringLiteral("Version %1, released %2")
            .arg(QLatin1String(SKYVANE_VERSION), QLatin1String(SKYVANE_RELEASE_DATE)));
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmAbout::Button1Click);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::Button1Click() {
    accept();
}
