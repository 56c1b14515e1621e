// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The KISS command sequences dialog. Created hidden at start-up and reused for the whole run.
class TfrmKiss : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKiss(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmKiss"));
        setWindowTitle(QStringLiteral("Set Kiss Commands"));
    }
};
