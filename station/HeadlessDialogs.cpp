// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/HeadlessDialogs.h"

#include "common/Clock.h"

#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

void HeadlessDialogs::line(const QString& text, Priority priority) {
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    // ISO 8601 ("2026-03-06T15:23:00Z"), never the desktop language's month names.
    QByteArray stamped = m_clock.nowUtc().toUTC().toString(Qt::ISODate).toLatin1() + ' ' +
                         flat.simplified().toUtf8() + '\n';
    if (m_journal)
        stamped.prepend('<' + QByteArray::number(int(priority)) + '>');
    std::fwrite(stamped.constData(), 1, size_t(stamped.size()), m_out);
    std::fflush(m_out);
}

void HeadlessDialogs::information(const QString& text, const QString&) {
    // What the window would show in a box: something the operator should know of.
    line(text, Priority::Notice);
}

void HeadlessDialogs::error(const QString& text, const QString&) {
    line(QStringLiteral("Error: ") + text, Priority::Error);
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

bool standardErrorIsJournal(const QString& journalStream) {
    const QStringList parts = journalStream.split(QLatin1Char(':'));
    struct stat st {};
    if (parts.size() != 2 || ::fstat(STDERR_FILENO, &st) != 0)
        return false;
    bool deviceOk = false;
    bool inodeOk = false;
    const qulonglong device = parts[0].toULongLong(&deviceOk);
    const qulonglong inode = parts[1].toULongLong(&inodeOk);
    return deviceOk && inodeOk && device == qulonglong(st.st_dev) && inode == qulonglong(st.st_ino);
}

namespace {
bool g_journal = false;

void journalHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    int priority = 6;
    switch (type) {
    case QtDebugMsg:
        priority = 7;
        break;
    case QtInfoMsg:
        priority = 6;
        break;
    case QtWarningMsg:
        priority = 4;
        break;
    case QtCriticalMsg:
    case QtFatalMsg:
        priority = 3;
        break;
    }
    QByteArray text;
    if (g_journal)
        text += '<' + QByteArray::number(priority) + '>';
    if (context.category && std::strcmp(context.category, "default") != 0)
        text += QByteArray(context.category) + ": ";
    text += message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}
} // namespace

void routeLogToStandardError(bool journal) {
    g_journal = journal;
    qInstallMessageHandler(journalHandler);
}
