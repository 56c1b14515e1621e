// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <QStringList>
#include <array>

// What the Comment Files dialog edits: each object's comment file and default comment, and the
// date/time format that replaces a comment's leading "$" or "%".
struct CommentSettings {
    std::array<QString, 3> commentFiles;
    std::array<QString, 3> defaultComments;
    QString dateFormat = QStringLiteral("hhmm"); // settings "Object" / "Date"
    int dateIndex = 4;                           // settings "Object" / "Index"
    // The station sends text as UTF-8: what a default comment may hold (not stored here).
    bool utf8Text = false;
};

namespace CommentDateFormats {

// The formats as the dialog lists them, index 0 to 4.
QStringList items();
// The format stored for a list item: its last two characters upper-cased, so that "mm" after an
// hour reads as minutes wherever the format goes. Empty for an index outside the list.
QString stored(int index);

} // namespace CommentDateFormats
