// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>

class QTextDocument;

// Reads the rich text the help document is written in into a text document: paragraphs and
// line breaks, bold, italic, underline, font size, tabs, "\'hh" characters in code page 1252
// and "\uN" characters. Font, colour, style and information tables, pictures and "{\*...}"
// groups are skipped. Anything it does not know is ignored, so a document written by another
// word processor still reads as its text.
void readRtf(const QByteArray& rtf, QTextDocument& document);
