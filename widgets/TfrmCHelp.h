// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// Help on comment files, opened from the Help menu. Created hidden at start-up and reused for the
// whole run.
class TfrmCHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCHelp(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmCHelp"));
        setWindowTitle(QStringLiteral("Comment File Help"));
    }
};
