// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDateTime>
#include <QString>

struct BeaconObject;

// The texts of an APRS object report. The information field that every link carries is
// header + comment with nothing between them.
namespace Report {

inline constexpr int MaxComment = 40;
inline constexpr int IdentifierWidth = 9;
// A header shorter than this lacks its time stamp or position, so it is not worth sending.
inline constexpr int MinHeader = 20;

// "DDHHMMz" in UTC: day of month, hour, minute. A time in another zone is converted first.
QString timeStamp(const QDateTime& when);

// ";" + identifier left-justified in 9 blanks + "*" (live) or "_" (killed). A longer
// identifier is cut so that the fixed-width header keeps its layout.
QString nameField(const QString& identifier, bool killed = false);

// Name field + time stamp + latitude + table + longitude + code; empty when that comes out
// shorter than MinHeader (the object is not complete).
QString objectHeader(const QString& nameField, const QString& timeStamp, const QString& latitude,
                     const QString& table, const QString& longitude, const QString& code);
QString objectHeader(const BeaconObject& object);

// "/" + DDHHmm of the given local time + "/" + latitude + table + longitude + code. Always
// returned whole: the weather station is never judged by the header length.
QString weatherHeader(const QDateTime& local, const QString& latitude, const QString& table,
                      const QString& longitude, const QString& code);

// The comment as sent: a leading "$" (when more follows it) becomes the file date text, then a
// leading "%" becomes the current-time text; each replacement is cut to MaxComment.
QString applyCommentMarkers(const QString& comment, const QString& fileDateText,
                            const QString& currentTimeText);

// The toolbar time button: "% " in front of the comment, cut to MaxComment, unless the comment
// already starts with "%".
QString withTimeMarker(const QString& comment);

} // namespace Report
