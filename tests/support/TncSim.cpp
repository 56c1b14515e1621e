// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/TncSim.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
constexpr int kStartBoundMs = 5000;
}

TncSim::TncSim(const QStringList& options) {
    QStringList arguments = options;
    if (!arguments.contains(QStringLiteral("--hangup-wait")))
        arguments << QStringLiteral("--hangup-wait") << QStringLiteral("0");
    m_process.start(QStringLiteral(SKYVANE_BINARY_DIR "/tnc-sim"), arguments);
    if (!m_process.waitForStarted(kStartBoundMs))
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!m_process.canReadLine() && elapsed.elapsed() < kStartBoundMs &&
           m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(50);
    m_path = QString::fromUtf8(m_process.readLine()).trimmed();
}

TncSim::~TncSim() {
    stop();
}

void TncSim::readLines() {
    while (m_process.canReadLine())
        m_frames << QString::fromUtf8(m_process.readLine()).trimmed();
}

QStringList TncSim::frames(qsizetype count, int boundMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        readLines();
        if (m_frames.size() >= count || elapsed.elapsed() > boundMs ||
            m_process.state() != QProcess::Running)
            return m_frames;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        m_process.waitForReadyRead(20);
    }
}

bool TncSim::waitForNote(const QString& text, int boundMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        m_notes += QString::fromUtf8(m_process.readAllStandardError());
        if (m_notes.contains(text))
            return true;
        if (elapsed.elapsed() > boundMs)
            return false;
        if (m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(20);
        else
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool TncSim::finished(int boundMs) {
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(boundMs);
}

void TncSim::kill() {
    m_process.kill();
    m_process.waitForFinished(3000);
}

void TncSim::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}
