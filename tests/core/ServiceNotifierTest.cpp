// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "core/CoreFiles.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The service manager's end of NOTIFY_SOCKET: a datagram socket the test reads.
struct NotifySocket {
    explicit NotifySocket(const QString& path) {
        fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray p = path.toLocal8Bit();
        std::memcpy(address.sun_path, p.constData(), size_t(p.size()));
        bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~NotifySocket() { ::close(fd); }
    // Every message that has come, each into `messages`.
    void drain() {
        char buffer[4096];
        ssize_t n;
        while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
            messages << QString::fromUtf8(buffer, int(n));
    }
    int count(const QString& message) {
        drain();
        return int(messages.count(message));
    }
    bool waitFor(const QString& prefix, int boundMs = 10000) {
        return waitUntil(
            [&] {
                drain();
                return std::any_of(messages.cbegin(), messages.cend(),
                                   [&](const QString& m) { return m.startsWith(prefix); });
            },
            boundMs);
    }

    int fd = -1;
    bool bound = false;
    QStringList messages;
};

// Run by systemd: READY once the station runs, its state as STATUS, watchdog pings from the
// event loop (none while the process is stopped, so a stuck station would be restarted), and
// STOPPING when told to end.
TEST(ServiceNotifier, TheStationTellsSystemdItIsReadyAliveAndStopping) {
    QTemporaryDir dir;
    PacketEngine engine;
    StationFiles files(QDir(dir.path()), engine.port());
    NotifySocket systemd(dir.filePath("notify"));
    ASSERT_TRUE(systemd.bound);
    QProcessEnvironment env;
    env.insert("NOTIFY_SOCKET", dir.filePath("notify"));
    env.insert("WATCHDOG_USEC", "200000");
    QProcess skyvane;
    startHeadless(skyvane, QDir(dir.path()), {"--settings", files.settings}, env);
    ASSERT_TRUE(systemd.waitFor("READY=1")) << skyvane.readAllStandardError().toStdString();
    ASSERT_TRUE(systemd.waitFor("STATUS=Connected to 127.0.0.1:" + engine.port() +
                                "; objects running: PARK"))
        << systemd.messages.join('|').toStdString();
    ASSERT_TRUE(waitUntil([&] { return systemd.count("WATCHDOG=1") >= 3; }, 5000));

    ::kill(pid_t(skyvane.processId()), SIGSTOP);
    spinEvents(200); // a ping on its way when it stopped
    const int before = systemd.count("WATCHDOG=1");
    spinEvents(600);
    EXPECT_EQ(systemd.count("WATCHDOG=1"), before);
    ::kill(pid_t(skyvane.processId()), SIGCONT);
    EXPECT_TRUE(waitUntil([&] { return systemd.count("WATCHDOG=1") > before; }, 5000));

    ::kill(pid_t(skyvane.processId()), SIGTERM);
    ASSERT_TRUE(skyvane.waitForFinished(10000));
    EXPECT_EQ(skyvane.exitCode(), 0);
    EXPECT_EQ(systemd.count("STOPPING=1"), 1);
}

} // namespace
