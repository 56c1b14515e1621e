// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/UnprotoPath.h"

namespace {

bool isTrimmed(QChar c) {
    return c.unicode() <= ' ';
}

QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QStringList unprotoPathEntries(const QString& path) {
    QStringList entries;
    QString rest = path;
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        entries << trimmed(comma < 0 ? rest : rest.left(comma));
        rest = comma < 0 ? QString() : rest.mid(comma + 1);
    }
    return entries;
}
