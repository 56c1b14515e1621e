// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

TForm1::TForm1(Dialogs& dialogs, Clock& clock, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_clock(clock) {
    setWindowTitle(QStringLiteral("Skyvane"));
}

TForm1::~TForm1() = default;
