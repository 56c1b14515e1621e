// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/WaitCursor.h"

#include <QApplication>

void WaitCursor::hold() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_holds;
}

void WaitCursor::release() {
    if (m_holds == 0)
        return;
    QApplication::restoreOverrideCursor();
    --m_holds;
}

void WaitCursor::releaseAll() {
    while (m_holds > 0)
        release();
}
