// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/ServiceNotifier.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

ServiceNotifier::ServiceNotifier(const QProcessEnvironment& env, QObject* parent)
    : QObject(parent), m_watchdog(new QTimer(this)) {
    m_watchdog->setObjectName(QStringLiteral("WatchdogTimer"));
    connect(m_watchdog, &QTimer::timeout, this, [this] { send("WATCHDOG=1"); });
    QByteArray path = env.value(QStringLiteral("NOTIFY_SOCKET")).toLocal8Bit();
    if (path.isEmpty() || (path[0] != '/' && path[0] != '@') ||
        size_t(path.size()) >= sizeof(sockaddr_un::sun_path))
        return;
    if (path[0] == '@')
        path[0] = '\0';
    m_address = path;
    m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    // The watchdog is this process's only when systemd named no other one.
    bool ok = false;
    const qint64 usec = env.value(QStringLiteral("WATCHDOG_USEC")).toLongLong(&ok);
    const QString pid = env.value(QStringLiteral("WATCHDOG_PID"));
    if (ok && usec > 0 && (pid.isEmpty() || pid.toLongLong() == ::getpid()))
        m_watchdogMs = int(std::clamp<qint64>(usec / 2000, 1, 24 * 3600 * 1000));
}

ServiceNotifier::~ServiceNotifier() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void ServiceNotifier::ready() {
    if (!send("READY=1"))
        return;
    if (m_watchdogMs > 0)
        m_watchdog->start(m_watchdogMs);
}

void ServiceNotifier::status(const QString& text) {
    if (!active() || text == m_lastStatus)
        return;
    m_lastStatus = text;
    send("STATUS=" + text.toUtf8());
}

void ServiceNotifier::stopping() {
    m_watchdog->stop();
    send("STOPPING=1");
}

bool ServiceNotifier::send(const QByteArray& message) {
    if (m_fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, m_address.constData(), size_t(m_address.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(m_address.size()));
    return ::sendto(m_fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&address), length) >= 0;
}
