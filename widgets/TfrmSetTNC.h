// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The TNC command settings dialog. Created hidden at start-up and reused for the whole run.
class TfrmSetTNC : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetTNC(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmSetTNC"));
        setWindowTitle(QStringLiteral("TNC Settings"));
    }
};
