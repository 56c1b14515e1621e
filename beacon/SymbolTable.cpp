// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/SymbolTable.h"

#include <array>

namespace {

// "Navigation Bouy" is spelled as operators have always seen it in the list.
constexpr std::array<SymbolInfo, Symbols::Count> symbols{{
    {1, "Advisory", '\\', '<', "Advise"},
    {2, "Aid Station", '/', 'A', "Aid"},
    {3, "Campground", '/', ';', "Camp"},
    {4, "Car", '/', '>', "Car"},
    {5, "Emergency", '\\', '!', "Emergency"},
    {6, "Home", '/', '-', "Home"},
    {7, "Info Kiosk", '\\', '?', "Info"},
    {8, "Navigation Bouy", '\\', 'N', "NavBouy"},
    {9, "Park", '\\', ';', "park"},
    {10, "Parking", '\\', 'P', "parking"},
    {11, "Phone", '/', '$', "phone"},
    {12, "Weather Station", '/', '_', "wx"},
}};

} // namespace

namespace Symbols {

const SymbolInfo* byNumber(int number) {
    if (number < 1 || number > Count)
        return nullptr;
    return &symbols[size_t(number - 1)];
}

const SymbolInfo* byItemText(const QString& text) {
    for (const SymbolInfo& s : symbols)
        if (text == QLatin1String(s.itemText))
            return &s;
    return nullptr;
}

QStringList itemTexts(int objectNumber) {
    QStringList items;
    for (const SymbolInfo& s : symbols)
        if (s.number != WeatherStation || objectNumber == 1)
            items << QString::fromLatin1(s.itemText);
    return items;
}

QString pictureName(int number, int objectNumber) {
    const SymbolInfo* s = byNumber(number);
    if (!s || objectNumber < 1 || objectNumber > 3)
        return {};
    if (number == WeatherStation && objectNumber != 1)
        return {};
    QString name = QString::fromLatin1(s->picture);
    if (objectNumber > 1)
        name += QString::number(objectNumber - 1);
    return name;
}

} // namespace Symbols
