// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The weather data dialog. Created hidden at start-up and reused for the whole run.
class TfrmWx : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWx(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmWx"));
        setWindowTitle(QStringLiteral("Weather Data"));
    }
};
