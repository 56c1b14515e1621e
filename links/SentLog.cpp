// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/SentLog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString DayPattern = QStringLiteral("yyyy-MM-dd");
const QChar Tab = QLatin1Char('\t');

// Fields are tab-separated, so a tab, line end or backslash inside one is written escaped.
QString escaped(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (const QChar c : field) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == Tab)
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != QLatin1Char('\\') || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const QChar next = field[++i];
        out += next == QLatin1Char('t')   ? Tab
               : next == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
               : next == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                          : next;
    }
    return out;
}

} // namespace

SentLog::SentLog(const QString& folder) : m_folder(folder) {}

QString SentLog::defaultFolder(const QString& xdgStateHome, const QString& home) {
    // A relative value is to be ignored, as the XDG Base Directory rules say.
    const QString state = QDir::isAbsolutePath(xdgStateHome)
                              ? xdgStateHome
                              : QDir(home).filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("skyvane/sent"));
}

QString SentLog::fileFor(const QDate& utcDay) const {
    return QDir(m_folder).filePath(utcDay.toString(DayPattern) + QStringLiteral(".log"));
}

QString SentLog::lineOf(const SentRecord& r) {
    const QStringList fields = {
        r.utc.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")),
        QString::number(r.slot),
        escaped(r.identifier),
        escaped(r.link),
        r.heard  ? QStringLiteral("heard")
        : r.sent ? QStringLiteral("sent")
                 : QStringLiteral("failed"),
        QString::number(r.bytes),
        QString::number(r.seconds, 'f', 3),
        escaped(r.monitor),
        escaped(r.message),
    };
    return fields.join(Tab) + QLatin1Char('\n');
}

std::optional<SentRecord> SentLog::parseLine(const QString& line) {
    QString text = line;
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    const QStringList f = text.split(Tab);
    if (f.size() != 9)
        return std::nullopt;
    SentRecord r;
    r.utc = QDateTime::fromString(f[0], QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
    r.utc.setTimeSpec(Qt::UTC);
    bool slotOk = false, bytesOk = false, secondsOk = false;
    r.slot = f[1].toInt(&slotOk);
    r.identifier = unescaped(f[2]);
    r.link = unescaped(f[3]);
    r.heard = f[4] == QLatin1String("heard");
    r.sent = r.heard || f[4] == QLatin1String("sent");
    r.bytes = f[5].toInt(&bytesOk);
    r.seconds = f[6].toDouble(&secondsOk); // Qt reads "0.437" whatever the desktop's locale
    r.monitor = unescaped(f[7]);
    r.message = unescaped(f[8]);
    if (!r.utc.isValid() || !slotOk || !bytesOk || !secondsOk ||
        (!r.sent && f[4] != QLatin1String("failed")))
        return std::nullopt;
    return r;
}

bool SentLog::append(const SentRecord& record, QString* error) const {
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = QStringLiteral("Unable to create the folder %1").arg(m_folder);
        return false;
    }
    const QString path = fileFor(record.utc.toUTC().date());
    const QByteArray line = lineOf(record).toUtf8();
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = QStringLiteral("Unable to write to %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // One write of the whole line: with O_APPEND the kernel places it after everything already
    // there, so lines never interleave or tear.
    ssize_t written;
    do
        written = ::write(fd, line.constData(), size_t(line.size()));
    while (written < 0 && errno == EINTR);
    const int writeErrno = errno;
    ::close(fd);
    if (written != line.size()) {
        if (error)
            *error =
                QStringLiteral("Unable to write to %1: %2")
                    .arg(path,
                         QString::fromLocal8Bit(std::strerror(written < 0 ? writeErrno : ENOSPC)));
        return false;
    }
    return true;
}

QList<SentRecord> SentLog::readDay(const QDate& utcDay) const {
    QList<SentRecord> records;
    QFile file(fileFor(utcDay));
    if (!file.open(QIODevice::ReadOnly))
        return records;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(64 * 1024);
        // A line without its end is still being written (or was cut by a full disc).
        if (!line.endsWith('\n'))
            break;
        if (auto r = parseLine(QString::fromUtf8(line)))
            records.append(*r);
    }
    return records;
}

void SentLog::prune(const QDate& today, int days) const {
    static const QRegularExpression dayFile(QStringLiteral(R"(^(\d{4}-\d{2}-\d{2})\.log$)"));
    QDir dir(m_folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const auto m = dayFile.match(name);
        if (!m.hasMatch())
            continue;
        const QDate day = QDate::fromString(m.captured(1), DayPattern);
        if (day.isValid() && day.daysTo(today) > days)
            dir.remove(name);
    }
}
