// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QMainWindow>

class Dialogs;
class Clock;

// The main window: owns the objects, the station and link settings, the map and every timer.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(Dialogs& dialogs, Clock& clock, QWidget* parent = nullptr);
    ~TForm1() override;

private:
    Dialogs& m_dialogs;
    Clock& m_clock;
};
