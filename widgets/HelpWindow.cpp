// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/HelpWindow.h"

#include <QDialog>
#include <QPlainTextEdit>

void showHelpWindow(QDialog* window, QPlainTextEdit* text, QPoint at) {
    QPalette palette = text->palette();
    palette.setColor(QPalette::Base, kHelpTextColour);
    text->setPalette(palette);
    window->setFixedSize(window->size());
    window->move(at);
    window->exec();
}
