// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/Report.h"

#include "beacon/BeaconObject.h"
#include "common/DateFormat.h"

namespace Report {

QString timeStamp(const QDateTime& when) {
    return formatDateTime(QStringLiteral("ddhhnn"), when.toUTC()) + QLatin1Char('z');
}

QString nameField(const QString& identifier, bool killed) {
    return QLatin1Char(';') + identifier.leftJustified(IdentifierWidth, QLatin1Char(' '), true) +
           QLatin1Char(killed ? '_' : '*');
}

QString objectHeader(const QString& nameField, const QString& timeStamp, const QString& latitude,
                     const QString& table, const QString& longitude, const QString& code) {
    const QString header = nameField + timeStamp + latitude + table + longitude + code;
    return header.size() < MinHeader ? QString() : header;
}

QString objectHeader(const BeaconObject& object) {
    return objectHeader(object.nameField, object.timeStamp, object.latitude, object.table,
                        object.longitude, object.code);
}

QString weatherHeader(const QDateTime& local, const QString& latitude, const QString& table,
                      const QString& longitude, const QString& code) {
    return QLatin1Char('/') + formatDateTime(QStringLiteral("DDHHmm"), local) + QLatin1Char('/') +
           latitude + table + longitude + code;
}

QString applyCommentMarkers(const QString& comment, const QString& fileDateText,
                            const QString& currentTimeText) {
    QString text = comment;
    // A lone "$" has no text to date, so it goes out as it is.
    if (text.startsWith(QLatin1Char('$')) && text.size() > 1)
        text = (fileDateText + text.mid(1)).left(MaxComment);
    if (text.startsWith(QLatin1Char('%')))
        text = (currentTimeText + text.mid(1)).left(MaxComment);
    return text;
}

QString withTimeMarker(const QString& comment) {
    if (comment.startsWith(QLatin1Char('%')))
        return comment;
    return (QStringLiteral("% ") + comment).left(MaxComment);
}

} // namespace Report
