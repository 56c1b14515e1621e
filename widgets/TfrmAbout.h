// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The about box. Created hidden at start-up and reused for the whole run.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("frmAbout"));
        setWindowTitle(QStringLiteral("About"));
    }
};
