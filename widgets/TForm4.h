// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The help document viewer. Created hidden at start-up and reused for the whole run.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("Form4"));
        setWindowTitle(QStringLiteral("Help"));
    }
};
