// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/CommentFile.h"

#include "beacon/Report.h"
#include "common/Cp1252.h"
#include "common/DateFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

Q_LOGGING_CATEGORY(lcComment, "skyvane.comment")

namespace {

// Only two short lines matter; a writer that appends to a growing log must not make every
// send read the whole of it.
constexpr qint64 ReadLimit = 64 * 1024;

QStringList firstTwoLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    while (lines.size() < 2 && start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines << Cp1252::toUnicode(bytes.mid(start, end - start));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
            bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

int fullYear(int year, int digits, const QDateTime& now) {
    if (digits > 2)
        return year;
    const int current = now.date().year();
    int full = current - current % 100 + year;
    if (full > current + 50)
        full -= 100;
    else if (full <= current - 50)
        full += 100;
    return full;
}

} // namespace

CommentFileText readCommentFile(const QString& path) {
    CommentFileText result;
    if (path.isEmpty())
        return result;
    const QFileInfo info(path);
    if (!info.exists())
        return result;
    if (info.isDir()) {
        result.state = CommentFileText::State::Unreadable;
        result.error = QStringLiteral("Cannot read the comment file %1: it is a folder.")
                           .arg(QDir::toNativeSeparators(path));
        return result;
    }
    // A named pipe or a device would block the send until someone writes to it.
    if (!info.isFile()) {
        result.state = CommentFileText::State::Unreadable;
        result.error = QStringLiteral("Cannot read the comment file %1: it is not a regular file.")
                           .arg(QDir::toNativeSeparators(path));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.state = CommentFileText::State::Unreadable;
        result.error = QStringLiteral("Cannot read the comment file %1: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        qCWarning(lcComment) << "open failed" << path << file.errorString();
        return result;
    }
    const QByteArray bytes = file.read(ReadLimit);
    if (file.error() != QFileDevice::NoError) {
        result.state = CommentFileText::State::Unreadable;
        result.error = QStringLiteral("Cannot read the comment file %1: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        qCWarning(lcComment) << "read failed" << path << file.errorString();
        return result;
    }
    const QStringList lines = firstTwoLines(bytes);
    result.state = CommentFileText::State::Read;
    result.line1 = lines.value(0);
    result.line2 = lines.value(1);
    return result;
}

std::optional<QDateTime> commentFileDateTime(const QString& line1, const QDateTime& now) {
    if (line1.isEmpty())
        return std::nullopt;
    QString text = line1;
    if (!text[0].isDigit() || text[0].unicode() > '9') {
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        if (blank < 0)
            return std::nullopt;
        text = text.mid(blank + 1);
        text = text.left(2) + QStringLiteral("/01/") + text.mid(2);
    }
    // Day, month, optional year, optional time; blanks are allowed around the separators, as
    // the word-first form leaves one after the month.
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*([0-9]{1,2})\s*[/.\-]\s*([0-9]{1,2})(?:\s*[/.\-]\s*(?:([0-9]{1,4})(?!\s*:))?)?)"
        R"((?:\s+([0-9]{1,2})\s*:\s*([0-9]{1,2})(?:\s*:\s*([0-9]{1,2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const QString yearText = m.captured(3);
    const int year = yearText.isEmpty() ? now.date().year()
                                        : fullYear(yearText.toInt(), int(yearText.size()), now);
    int hour = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    const int minute = m.captured(5).isEmpty() ? 0 : m.captured(5).toInt();
    const int second = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
    const QString half = m.captured(7).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    if (now.timeSpec() == Qt::OffsetFromUTC)
        return QDateTime(date, time, Qt::OffsetFromUTC, now.offsetFromUtc());
    return QDateTime(date, time, now.timeSpec());
}

CommentFromFile commentFromFile(const CommentFileText& file, const QString& defaultComment,
                                const QDateTime& now, const QString& format) {
    CommentFromFile result;
    result.fileTime = now;
    if (file.state == CommentFileText::State::Read) {
        result.comment = file.line2.left(Report::MaxComment);
        if (const auto when = commentFileDateTime(file.line1, now))
            result.fileTime = *when;
    } else {
        result.comment = defaultComment;
    }
    result.fileDateText = formatDateTime(format, result.fileTime);
    result.currentTimeText = formatDateTime(format, now);
    return result;
}
