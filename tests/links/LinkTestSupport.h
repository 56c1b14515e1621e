// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// Runs the event loop until the condition holds or the bound passes; true when it held.
inline bool waitUntil(const std::function<bool()>& condition, int boundMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > boundMs)
            return false;
        // A short nested loop sleeps until an event comes instead of spinning.
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Runs the event loop for a while (for checks that nothing more happens).
inline void spinEvents(int ms) {
    waitUntil([] { return false; }, ms);
}

// A pseudo-terminal pair standing in for a serial cable: the component opens the slave by
// its path, the test plays the device on the master.
struct PtyPair {
    int master = -1;
    int slave = -1;
    QString path;

    PtyPair() {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&master, &slave, name, &raw, nullptr) == 0) {
            path = QString::fromLocal8Bit(name);
            fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~PtyPair() {
        closeMaster();
        closeSlave();
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    void closeMaster() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void closeSlave() {
        if (slave >= 0)
            ::close(slave);
        slave = -1;
    }
    bool send(const QByteArray& bytes) const {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Everything the component has written so far, waiting up to the bound for at least
    // `atLeast` bytes.
    QByteArray readAvailable(qsizetype atLeast = 0, int boundMs = 3000) const {
        QByteArray out;
        QElapsedTimer elapsed;
        elapsed.start();
        for (;;) {
            char buffer[4096];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                out.append(buffer, n);
                continue;
            }
            if (out.size() >= atLeast || elapsed.elapsed() > boundMs)
                return out;
            pollfd p{master, POLLIN, 0};
            ::poll(&p, 1, 20);
        }
    }
};
