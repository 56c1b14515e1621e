// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// The Comms dialog: link type, serial line and AGWPE address. Created hidden at start-up and reused
// for the whole run.
class TAGWPE : public QDialog {
    Q_OBJECT
public:
    explicit TAGWPE(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("AGWPE"));
        setWindowTitle(QStringLiteral("Comms"));
    }
};
