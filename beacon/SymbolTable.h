// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The symbols an object can carry. Numbers are stored in objects files and are the combo item
// index + 1, so their order is fixed.
struct SymbolInfo {
    int number;           // 1..12
    const char* itemText; // text of the symbol combo item
    char table;           // APRS symbol table character
    char code;            // APRS symbol code character
    const char* picture;  // base name of the map picture; objects 2 and 3 add "1" / "2"
};

namespace Symbols {

inline constexpr int WeatherStation = 12;
inline constexpr int Count = 12;

// nullptr for 0 (no symbol) and anything outside 1..12.
const SymbolInfo* byNumber(int number);
// Exact, case-sensitive match on the combo item text; nullptr when there is none.
const SymbolInfo* byItemText(const QString& text);
// Combo items of object 1..3: object 1 offers the weather station as well.
QStringList itemTexts(int objectNumber);
// Name of the map picture of a symbol for object 1..3 ("Car", "Car1", "Car2"); empty when the
// object cannot carry that symbol.
QString pictureName(int number, int objectNumber);

} // namespace Symbols
