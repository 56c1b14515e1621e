// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

// tools/tnc-sim as a peer: started with the given options, its terminal's path read from its
// first line, every frame it would transmit collected from its output. Stopped with SIGTERM,
// then killed, whatever the test's outcome.
class TncSim {
public:
    explicit TncSim(const QStringList& options) {
        m_process.start(QStringLiteral(SKYVANE_BINARY_DIR "/tnc-sim"),
                        options +
                            QStringList{QStringLiteral("--hangup-wait"), QStringLiteral("0")});
        if (!m_process.waitForStarted(5000))
            return;
        QElapsedTimer elapsed;
        elapsed.start();
        while (!m_process.canReadLine() && elapsed.elapsed() < 5000 &&
               m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(50);
        path = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~TncSim() { stop(); }
    TncSim(const TncSim&) = delete;
    TncSim& operator=(const TncSim&) = delete;

    bool running() const { return m_process.state() == QProcess::Running && !path.isEmpty(); }

    // Frames logged so far, waiting up to the bound for at least `count` of them.
    QStringList frames(int count = 0, int boundMs = 5000) {
        QElapsedTimer elapsed;
        elapsed.start();
        for (;;) {
            while (m_process.canReadLine())
                m_frames << QString::fromUtf8(m_process.readLine()).trimmed();
            if (m_frames.size() >= count || elapsed.elapsed() > boundMs ||
                m_process.state() != QProcess::Running)
                return m_frames;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            m_process.waitForReadyRead(20);
        }
    }

    // As if the TNC were unplugged: the process dies and its terminal with it.
    void kill() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    QString path;

private:
    QProcess m_process;
    QStringList m_frames;
};
