// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Comment files (and weather data files) are kept up to date by another program: line 1 holds
// the date and time the text was written, line 2 the text to send.

struct CommentFileText {
    enum class State {
        Read,      // line1 and line2 hold the first two lines (empty when absent)
        Missing,   // no file at that path (or no path at all)
        Unreadable // the file is there but could not be read; error says why
    };
    State state = State::Missing;
    QString line1;
    QString line2;
    QString error; // user-readable and naming the file, for Unreadable
};

// Reads the first two lines (Windows-1252; CR LF, LF or CR endings). Never throws.
CommentFileText readCommentFile(const QString& path);

// Line 1 as a date and time. A line starting with a digit is a day-first short date with an
// optional time ("06/03/07 14:30", "6.3.2007", "06-03-07 14:30:15"); a line starting with
// anything else is a word, a blank, a two-digit day and the rest ("Tue 06 07 14:30"), read with
// month 01. Two-digit years are placed within 50 years of `now`. nullopt when unreadable.
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
                                const QDateTime& now, const QString& format);
