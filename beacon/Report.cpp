// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/Report.h"

#include "beacon/BeaconObject.h"
#include "common/AirText.h"
#include "common/Cp1252.h"
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
                      const QString& longitude, const QString& code, bool utc) {
    const QString time =
        utc ? formatDateTime(QStringLiteral("DDHHmm"), local.toUTC()) + QLatin1Char('z')
            : formatDateTime(QStringLiteral("DDHHmm"), local) + QLatin1Char('/');
    return QLatin1Char('/') + time + latitude + table + longitude + code;
}

QString fitComment(const QString& comment, bool utf8) {
    return airLeft(comment, MaxComment, utf8);
}

QString fitWeatherData(const QString& data) {
    if (data.size() <= MaxComment)
        return data;
    qsizetype end = MaxComment;
    // Wind direction and speed ("090/005") are one group; every other starts with a letter.
    const auto startsGroup = [&](qsizetype at) {
        return at >= 7 && data[at].isLetter() && data[at].unicode() < 0x80;
    };
    while (end > 7 && !startsGroup(end))
        --end;
    return data.left(end);
}

QString commentRefusal(const QString& comment, bool utf8) {
    for (const QChar c : comment) {
        if (c == QLatin1Char('|') || c == QLatin1Char('~'))
            return QStringLiteral("A comment cannot hold \"%1\": receivers read \"|\" and \"~\" "
                                  "as telemetry and as a mark of their own.")
                .arg(c);
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("A comment cannot hold control characters.");
        if (!utf8 && !Cp1252::canEncode(QString(c)))
            return QStringLiteral("\"%1\" cannot be sent: Windows-1252 has no such character. Turn "
                                  "on \"Send text as UTF-8\" in Station Setup to send it.")
                .arg(c);
    }
    if (utf8 && airSize(comment, true) > MaxComment)
        return QStringLiteral("A comment holds at most %1 bytes as UTF-8; this one takes %2.")
            .arg(MaxComment)
            .arg(airSize(comment, true));
    return {};
}

QString applyCommentMarkers(const QString& comment, const QString& fileDateText,
                            const QString& currentTimeText, bool utf8) {
    QString text = comment;
    // A lone "$" has no text to date, so it goes out as it is.
    if (text.startsWith(QLatin1Char('$')) && text.size() > 1)
        text = fitComment(fileDateText + text.mid(1), utf8);
    if (text.startsWith(QLatin1Char('%')))
        text = fitComment(currentTimeText + text.mid(1), utf8);
    return text;
}

QString withTimeMarker(const QString& comment) {
    if (comment.startsWith(QLatin1Char('%')))
        return comment;
    return (QStringLiteral("% ") + comment).left(MaxComment);
}

} // namespace Report
