// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QColor>
#include <QPoint>

class QDialog;
class QPlainTextEdit;

// The pale cream behind the text of the help windows that hold one text.
inline const QColor kHelpTextColour(0xF6, 0xF4, 0xDA);

// Shows a fixed help window modally at `at` (screen position of its frame), its text on the
// help colour.
void showHelpWindow(QDialog* window, QPlainTextEdit* text, QPoint at);
