// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QProcess>
#include <QStringList>

// tools/tnc-sim as a user runs it: started with the given options (and no hang-up wait unless
// they name one, so it outlives every test that closes its terminal), its terminal's path read
// from its first line, every further line, a frame it would transmit, collected. Stopped with
// SIGTERM, then killed, whatever the test's outcome.
class TncSim {
public:
    explicit TncSim(const QStringList& options = {});
    ~TncSim();
    TncSim(const TncSim&) = delete;
    TncSim& operator=(const TncSim&) = delete;

    bool running() const { return m_process.state() == QProcess::Running && !m_path.isEmpty(); }
    // The slave side of its terminal (/dev/pts/N); empty when it did not start.
    const QString& path() const { return m_path; }

    // The frames logged so far, waiting up to the bound for at least `count` of them. Runs the
    // event loop meanwhile, so a link in the same thread gets on with its work.
    QStringList frames(qsizetype count = 0, int boundMs = 5000);

    // Waits up to the bound for the text among its notes on standard error.
    bool waitForNote(const QString& text, int boundMs = 5000);

    // As if the TNC were unplugged: the process dies and its terminal with it.
    void kill();
    // Waits up to the bound for the process to end; true when it has.
    bool finished(int boundMs = 5000);
    // SIGTERM, then SIGKILL when it does not end.
    void stop();
    QProcess& process() { return m_process; }

private:
    void readLines();

    QProcess m_process;
    QString m_path;
    QStringList m_frames;
    QString m_notes;
};
