// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/BeaconObject.h"
#include "beacon/CommentFile.h"

#include <QDateTime>
#include <QString>

// Everything a send takes into the report beyond the object itself.
struct ReportMoment {
    QDateTime nowUtc;
    QDateTime nowLocal;
    QString dateFormat;   // the user's, for the "$" and "%" markers
    QString fileDateText; // the date of the comment file read last; "$" without a file takes it
    bool weatherStation = false;
    // The comment file, read (or found missing) for this send; not looked at unless the object
    // takes its comment from a file.
    CommentFileText file;
    bool fromFile = false;
    QString typedComment;    // the comment box, when the comment is not from a file
    bool utf8 = false;       // the station sends text as UTF-8: limits count bytes
    bool utcWeather = false; // the weather header carries UTC with "z"
};

// The report a send puts on the air now, and the object as the send leaves it: its time stamp
// renewed, its header rebuilt (a weather station's only from its data file, which holds the
// time of the readings), its comment from the file or as typed, and the "$" and "%" markers
// replaced in what goes out. One function for the send and for showing the next report, so the
// two cannot differ.
struct ComposedReport {
    BeaconObject object;
    QString comment;         // with the markers replaced
    QString fileDateText;    // for the next report that has no file of its own
    QString currentTimeText; // what "%" became
    QString error;           // the comment file could not be read: nothing is sent
    QString info() const { return object.header + comment; }
};

ComposedReport composeReport(const BeaconObject& object, const ReportMoment& moment);

// What an object's next send would be, as its tab shows it.
struct NextReportView {
    QString info;          // the information field, exactly as it would go out; empty if none
    QString destination;   // where it would go
    QString refusal;       // why a send now would put nothing on the air
    bool fileBusy = false; // its comment file was being written: shown from the last one read
    QString linkDown;      // the link is coming back: what it is doing
    bool running = false;
    int minutesLeft = 0;
};
