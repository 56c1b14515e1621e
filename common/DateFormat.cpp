// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/DateFormat.h"

namespace {

QString pad2(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

QString formatDateTime(const QString& format, const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    QString out;
    bool lastWasHour = false;
    int i = 0;
    const int n = int(format.size());
    while (i < n) {
        const QChar c = format[i];
        const QChar lc = c.toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = int(format.indexOf(c, i + 1));
            const int stop = end < 0 ? n : end;
            out += format.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        int run = 1;
        while (i + run < n && format[i + run].toLower() == lc)
            ++run;
        bool hour = false;
        if (lc == QLatin1Char('d')) {
            out += run >= 2 ? pad2(date.day()) : QString::number(date.day());
        } else if (lc == QLatin1Char('h')) {
            out += run >= 2 ? pad2(time.hour()) : QString::number(time.hour());
            hour = true;
        } else if (lc == QLatin1Char('n') || (lc == QLatin1Char('m') && lastWasHour)) {
            out += run >= 2 ? pad2(time.minute()) : QString::number(time.minute());
        } else if (lc == QLatin1Char('m')) {
            out += run >= 2 ? pad2(date.month()) : QString::number(date.month());
        } else if (lc == QLatin1Char('s')) {
            out += run >= 2 ? pad2(time.second()) : QString::number(time.second());
        } else if (lc == QLatin1Char('y')) {
            out += run >= 3 ? QString::number(date.year()) : pad2(date.year() % 100);
        } else {
            out += QString(run, c);
            i += run;
            continue; // literals do not end an hour's claim on a following "m"
        }
        lastWasHour = hour;
        i += run;
    }
    return out;
}
