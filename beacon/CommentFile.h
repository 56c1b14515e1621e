// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

struct BeaconObject;

// Comment files (and weather data files) are kept up to date by another program: line 1 holds
// the date and time the text was written, line 2 the text to send.

struct CommentFileText {
    enum class State {
        Read,       // line1 and line2 hold the first two lines (empty when absent)
        Missing,    // no file at that path (or no path at all)
        Unreadable, // the file is there but could not be read; error says why
        Busy        // its writer is at work on it: a glance does not wait to read it whole
    };
    State state = State::Missing;
    QString line1;
    QString line2;
    bool line2Ended = false; // a line break follows line 2, so its writer has finished it
    QString error;           // user-readable and naming the file, for Unreadable
};

// Larger files are refused: a comment file holds two short lines, and a log that grows without
// end must not slow every send down.
inline constexpr qint64 MaxCommentFileSize = 64 * 1024;

// The first two lines of a file's bytes: Windows-1252 text with LF, CR LF or CR line ends. A
// file starting with a UTF-8 byte order mark was saved as UTF-8 and is read as such.
CommentFileText commentFileLines(const QByteArray& bytes);

// Reads the first two lines. Folders, pipes, devices and files larger than
// MaxCommentFileSize are refused. A file that its writer is replacing or rewriting while it is
// read is read again until a whole version is seen, so line 2 is never half of one version or
// a mix of two. Never throws; may wait a fraction of a second for a writer to finish.
CommentFileText readCommentFile(const QString& path);

// One look at the file, never waiting: what a send would read now, or Busy while the file is
// being written (a send would wait for it). For showing what the next send will be.
CommentFileText glanceAtCommentFile(const QString& path);

// Line 1 as a date and time. A line starting with a digit is a day-first short date ("/", "-"
// or "." between its parts) with an optional time ("06/03/07 14:30", "6.3.2007",
// "06-03-07 14:30:15"); a line starting with anything else is a word, a blank, a two-digit day
// and the rest ("Tue 06 07 14:30"), read with month 01. Two-digit years are placed within 50
// years of `now`. nullopt when unreadable.
std::optional<QDateTime> commentFileDateTime(const QString& line1, const QDateTime& now);

struct CommentFromFile {
    QString comment;         // what goes into the comment box
    QDateTime fileTime;      // the file's date and time, or `now` when there is none
    QString fileDateText;    // fileTime in the user's format: replaces a leading "$"
    QString currentTimeText; // `now` in the user's format: replaces a leading "%"
};

// What a send makes of a comment file read (or found missing): the first 40 characters of
// line 2, or the default comment when there is no file. `now` is the current local time and
// `format` the user's date/time format.
CommentFromFile commentFromFile(const CommentFileText& file, const QString& defaultComment,
                                const QDateTime& now, const QString& format, bool utf8 = false);

// A read comment file applied to its object just before a send: the time stamp refreshed from
// `nowUtc`, the comment taken from the file (or the default; the weather station has none, as
// its weather data would be wrong) and the header rebuilt. The weather station's header and
// current-time text carry the time written in the file, which is when its readings were taken.
// `file` must not be Unreadable. A weather data line too long to send is cut where a group
// ends; `utf8` and `utcWeather` are the station's text and weather time options.
CommentFromFile applyCommentFile(BeaconObject& object, bool weatherStation,
                                 const CommentFileText& file, const QDateTime& nowUtc,
                                 const QDateTime& nowLocal, const QString& format,
                                 bool utf8 = false, bool utcWeather = false);
