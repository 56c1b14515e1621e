// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/HeadlessDialogs.h"

#include "common/Clock.h"

void HeadlessDialogs::line(const QString& text) {
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    // ISO 8601 ("2026-03-06T15:23:00Z"), never the desktop language's month names.
    const QByteArray stamped = m_clock.nowUtc().toUTC().toString(Qt::ISODate).toLatin1() + ' ' +
                               flat.simplified().toUtf8() + '\n';
    std::fwrite(stamped.constData(), 1, size_t(stamped.size()), m_out);
    std::fflush(m_out);
}

void HeadlessDialogs::information(const QString& text, const QString&) {
    line(text);
}

void HeadlessDialogs::error(const QString& text, const QString&) {
    line(QStringLiteral("Error: ") + text);
}

bool HeadlessDialogs::okCancel(const QString& text) {
    line(text + QStringLiteral(" (Cancel)"));
    return false;
}

Dialogs::Answer HeadlessDialogs::yesNoCancel(const QString& text) {
    line(text + QStringLiteral(" (Cancel)"));
    return Answer::Cancel;
}

bool HeadlessDialogs::yesNo(const QString& text) {
    line(text + QStringLiteral(" (No)"));
    return false;
}

std::optional<Dialogs::FileChoice> HeadlessDialogs::openFile(const FileRequest&) {
    return std::nullopt;
}
