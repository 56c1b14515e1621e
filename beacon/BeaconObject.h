// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/SymbolTable.h"

#include <QPoint>
#include <QString>

// One of the three object slots. The main window holds three and shows them on its tabs;
// the fields here are what reports, scheduling and the objects file work from.
struct BeaconObject {
    QString identifier;                      // at most 9 characters, upper case
    QString nameField = QStringLiteral(";"); // ";" + identifier padded to 9 + status character
    int symbolNumber = 0;                    // 0 none, 1..11, 12 weather station (object 1 only)
    QString table;          // APRS symbol table character ("/" or "\\"), may be empty
    QString code;           // APRS symbol code character, may be empty
    QString latitude;       // "5130.25N", empty without a position
    QString longitude;      // "00007.50W"
    QString timeStamp;      // "061523z", UTC
    QString header;         // report without its comment; empty when incomplete
    QString comment;        // at most 40 characters
    QString commentFile;    // full path, may be empty
    QString defaultComment; // used when the comment file is missing
    bool useCommentFile = false;
    int interval = 30; // minutes, 10..120
    bool running = false;
    int minutesLeft = 0;
    bool hasPosition = false;
    bool picking = false; // the next click on the map moves this object
    QPoint symbolAt;      // top-left of its symbol on the map picture, pixels

    // Only object 1 can carry the weather station symbol; it then reports the station's weather.
    bool isWeatherStation() const { return symbolNumber == Symbols::WeatherStation; }
};
