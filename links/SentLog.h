// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One frame handed to a link: what went out, when, where, and what it cost on the channel.
struct SentRecord {
    QDateTime utc;
    int slot = 0;       // object 1..3
    QString identifier; // the object's name, or the station's call for its weather report
    QString link;       // "AGWPE port 1", "KISS port 2", "TNC", "APRS-IS"
    QString monitor;    // SOURCE>DEST,PATH:information
    int bytes = 0;      // on the air, flags and frame check included
    double seconds = 0; // airtime at 1200 baud
    bool sent = true;
    QString message; // what the user was told when it failed
    // A copy of a sent report heard on the channel: `monitor` is the copy as heard, `link`
    // the port it was heard on, `message` which sent report it is a copy of.
    bool heard = false;

    // A line to APRS-IS: `bytes` is its size on the connection, and there is no airtime.
    bool onAir() const { return link != QLatin1String("APRS-IS"); }

    bool operator==(const SentRecord&) const = default;
};

// The record of frames sent, one file a UTC day (YYYY-MM-DD.log) in a folder of its own. Each
// record is one line written with a single append, so a crash never leaves half a line or
// loses an earlier one, and two copies of the program can share the folder.
class SentLog {
public:
    explicit SentLog(const QString& folder);

    // $XDG_STATE_HOME/skyvane/sent, ~/.local/state/skyvane/sent when that is unset or relative.
    static QString defaultFolder(const QString& xdgStateHome, const QString& home);

    const QString& folder() const { return m_folder; }
    QString fileFor(const QDate& utcDay) const;

    // Appends the record to its day's file; false with *error set when the folder or file cannot
    // be written.
    bool append(const SentRecord& record, QString* error = nullptr) const;
    // The day's records in the order they were written; lines that are not records are skipped.
    QList<SentRecord> readDay(const QDate& utcDay) const;
    // Removes day files older than `days` days before `today`; other files are left alone.
    void prune(const QDate& today, int days = 30) const;

    static QString lineOf(const SentRecord& record);
    static std::optional<SentRecord> parseLine(const QString& line);

private:
    QString m_folder;
};
