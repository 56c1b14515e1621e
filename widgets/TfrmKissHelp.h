// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// Help on the exit-KISS sequence. Created hidden at start-up and reused for the whole run.
class TfrmKissHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKissHelp(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmKissHelp"));
        setWindowTitle(QStringLiteral("Exit Kiss Help"));
    }
};
