// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>
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

// Plays a TNC on the master side of a pseudo-terminal, inside the test's own event loop, so
// it answers while the link waits for it.
class ScriptedTnc : public QObject {
public:
    enum class Mode {
        Silent,  // a TNC in KISS mode, or one switched off
        Prompt,  // command mode: the command code brings "cmd:"
        Chatter, // says something whatever it gets
    };

    ScriptedTnc(const PtyPair& pty, Mode mode) : m_pty(pty), mode(mode) {
        m_notifier = new QSocketNotifier(pty.master, QSocketNotifier::Read, this);
        QObject::connect(m_notifier, &QSocketNotifier::activated, this, [this] { onRead(); });
    }

    // Before the test closes the master: stop listening on it.
    void stop() { m_notifier->setEnabled(false); }

    QByteArray received;
    Mode mode;
    QByteArray prompt = QByteArrayLiteral("\r\ncmd:");

private:
    void onRead() {
        char buffer[4096];
        const ssize_t n = ::read(m_pty.master, buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return; // woken by a flush on the other side
        if (n <= 0) {
            m_notifier->setEnabled(false);
            return;
        }
        const QByteArray bytes(buffer, n);
        received.append(bytes);
        switch (mode) {
        case Mode::Silent:
            break;
        case Mode::Prompt:
            if (bytes.contains('\x03'))
                m_pty.send(prompt);
            break;
        case Mode::Chatter:
            m_pty.send(QByteArrayLiteral("?EH\r\n"));
            break;
        }
    }

    const PtyPair& m_pty;
    QSocketNotifier* m_notifier;
};
