// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>

// Help on entering weather data. Created hidden at start-up and reused for the whole run.
class TForm14 : public QDialog {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName(QStringLiteral("Form14"));
        setWindowTitle(QStringLiteral("Weather data "));
    }
};
