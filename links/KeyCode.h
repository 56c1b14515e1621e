// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QKeyEvent>

// The character code a key press types, control keys included. Some window systems leave the
// text of Ctrl+letter or Enter empty, so those are worked out from the key itself; -1 when the
// press types nothing.
inline int typedCode(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1)
        return text[0].unicode();
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (key == Qt::Key_Escape)
        return 27;
    if (key == Qt::Key_Tab)
        return 9;
    if (key == Qt::Key_Backspace)
        return 8;
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    return -1;
}
