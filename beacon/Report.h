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

// "/" + DDHHmm of the given local time + "/" + latitude + table + longitude + code; with `utc`
// the time is DDHHMM in UTC followed by "z". Always returned whole: the weather station is
// never judged by the header length.
QString weatherHeader(const QDateTime& local, const QString& latitude, const QString& table,
                      const QString& longitude, const QString& code, bool utc = false);

// The comment cut to MaxComment: characters, or with `utf8` bytes, never half a character.
QString fitComment(const QString& comment, bool utf8);
// A weather data string longer than MaxComment, cut where a group ends ("b1013" of "b10132"
// would send a wrong pressure): before the letter of the last group that does not fit.
QString fitWeatherData(const QString& data);
// Why a comment as typed cannot go on the air, or empty: "|" and "~" (receivers read "|...|"
// as telemetry), a character Windows-1252 lacks (unless `utf8`), a control character, or
// more than MaxComment bytes with `utf8`.
QString commentRefusal(const QString& comment, bool utf8);

// The comment as sent: a leading "$" (when more follows it) becomes the file date text, then a
// leading "%" becomes the current-time text; each replacement is cut to MaxComment (bytes with
// `utf8`).
QString applyCommentMarkers(const QString& comment, const QString& fileDateText,
                            const QString& currentTimeText, bool utf8 = false);

// The toolbar time button: "% " in front of the comment, cut to MaxComment, unless the comment
// already starts with "%".
QString withTimeMarker(const QString& comment);

} // namespace Report
