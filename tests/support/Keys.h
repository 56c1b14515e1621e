// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

// Key presses delivered to a widget as the keyboard would deliver them.
inline void pressKey(QWidget* target, int key, const QString& text = {},
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

// Types each character of text; letters and digits carry their key codes.
inline void typeText(QWidget* target, const QString& text) {
    for (QChar c : text) {
        int key = c.toUpper().unicode();
        if (c == QLatin1Char('.'))
            key = Qt::Key_Period;
        pressKey(target, key, QString(c));
    }
}
