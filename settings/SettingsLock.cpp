// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/SettingsLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString SettingsLock::lockPathFor(const QString& settingsPath) {
    const QFileInfo info(settingsPath);
    // A symbolic link, a relative path and "a/../b" name one file: they must meet.
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical) + QStringLiteral(".lock");
}

SettingsLock::SettingsLock(const QString& settingsPath) : m_path(lockPathFor(settingsPath)) {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        char text[32] = {};
        const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
        if (got > 0)
            m_holder = QByteArray(text, int(got)).trimmed().toLongLong();
        ::close(fd);
        return;
    }
    // The holder's process, for the message of the copy that gives way.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.constData(), size_t(pid.size()), 0) < 0)
        m_error = QString::fromLocal8Bit(std::strerror(errno));
    m_fd = fd;
}

SettingsLock::~SettingsLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SettingsLock::refusal(const QString& settingsPath) const {
    if (held())
        return {};
    if (!m_error.isEmpty())
        return QStringLiteral("Skyvane cannot lock its settings file %1 (%2: %3).")
            .arg(settingsPath, m_path, m_error);
    const QString who = m_holder > 0 ? QStringLiteral("process %1").arg(m_holder)
                                     : QStringLiteral("another process");
    return QStringLiteral("Skyvane already runs on the settings file %1 (%2).")
        .arg(settingsPath, who);
}
