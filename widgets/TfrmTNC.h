// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The TNC terminal. Created hidden at start-up and reused for the whole run.
class TfrmTNC : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTNC(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmTNC"));
        setWindowTitle(QStringLiteral("TNC Terminal"));
    }
};
