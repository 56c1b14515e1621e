// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Dire Wolf, the software TNC, as a real peer: started headless (no sound card; it listens on
// a UDP port of its own and writes its transmit audio to a file) in a temporary folder, with
// free AGW and KISS ports, and its virtual KISS terminal. Everything it transmits appears in
// its console log as "[0L] SOURCE>DEST,PATH:info". Stopped with SIGINT, then SIGKILL, when
// the object goes, and killed with the test process if that dies first.
class Direwolf {
public:
    Direwolf();
    ~Direwolf();
    Direwolf(const Direwolf&) = delete;
    Direwolf& operator=(const Direwolf&) = delete;

    // Started and listening; otherwise error() says why.
    bool ready() const { return m_ready; }
    // Dire Wolf is an optional package: a test skips itself without it.
    bool installed() const { return m_installed; }
    const QString& error() const { return m_error; }

    quint16 agwPort() const { return m_agwPort; }
    quint16 kissPort() const { return m_kissPort; }
    // The slave side of its virtual KISS TNC (/dev/pts/N).
    const QString& kissTerminal() const { return m_kissTerminal; }

    // The console output so far.
    QString log() const;
    // Waits up to the bound for the text to appear in the console output.
    bool waitForLog(const QString& text, int boundMs = 10000) const;

    // Makes it hear these frames on the air: each monitor line ("SRC>DST,DIGI1*:info") made
    // into 1200-baud audio by gen_packets and played into its audio input at about real time.
    // False, with error() set, when the audio cannot be made.
    bool hear(const QStringList& monitorLines);

    void stop();
    // Started again on the same ports, as after a restart by its operator; the console log
    // goes on. Its KISS terminal is a new one.
    bool restart();

private:
    bool launch();
    QString m_program;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_agwPort = 0;
    quint16 m_kissPort = 0;
    quint16 m_udpPort = 0;
    QString m_kissTerminal;
    QString m_error;
    bool m_ready = false;
    bool m_installed = false;
};
