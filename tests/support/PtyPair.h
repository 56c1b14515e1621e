// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

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

    ScriptedTnc(const PtyPair& pty, Mode mode) : mode(mode), m_pty(pty) {
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
