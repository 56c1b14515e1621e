// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The comment files dialog. Created hidden at start-up and reused for the whole run.
class TfrmComment : public QDialog {
    Q_OBJECT
public:
    explicit TfrmComment(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmComment"));
        setWindowTitle(QStringLiteral("Comment Files"));
    }
};
