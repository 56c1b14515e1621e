// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/Direwolf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>
#include <QUdpSocket>

#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int kStartBoundMs = 15000;

// A port nobody listens on right now (the kernel's choice).
quint16 freeTcpPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}

quint16 freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

bool writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

} // namespace

Direwolf::Direwolf() {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    if (program.isEmpty()) {
        m_error = QStringLiteral("Dire Wolf is not installed (./test installs the Debian package "
                                 "direwolf when it can)");
        return;
    }
    m_installed = true;
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    m_agwPort = freeTcpPort();
    do
        m_kissPort = freeTcpPort();
    while (m_kissPort == m_agwPort);
    m_udpPort = freeUdpPort();

    const QString dir = m_dir.path();
    const QByteArray asoundrc = "pcm.dwtx { type file  slave.pcm \"null\"  file \"" +
                                QFile::encodeName(dir) + "/tx.raw\"  format \"raw\" }\n";
    const QByteArray config = QStringLiteral("ADEVICE UDP:%1 dwtx\n"
                                             "ARATE 44100\n"
                                             "ACHANNELS 1\n"
                                             "CHANNEL 0\n"
                                             "MYCALL N0CALL\n"
                                             "MODEM 1200\n"
                                             "FULLDUP ON\n"
                                             "AGWPORT %2\n"
                                             "KISSPORT %3\n")
                                  .arg(m_udpPort)
                                  .arg(m_agwPort)
                                  .arg(m_kissPort)
                                  .toLatin1();
    if (!writeFile(dir + QStringLiteral("/asoundrc"), asoundrc) ||
        !writeFile(dir + QStringLiteral("/direwolf.conf"), config)) {
        m_error = QStringLiteral("cannot write the configuration");
        return;
    }

    m_program = program;
    launch();
}

bool Direwolf::launch() {
    const QString dir = m_dir.path();
    m_ready = false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ALSA_CONFIG_PATH"),
               QStringLiteral("/usr/share/alsa/alsa.conf:") + dir + QStringLiteral("/asoundrc"));
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(dir);
    m_process.setStandardOutputFile(dir + QStringLiteral("/console.log"), QIODevice::Append);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A test that crashes must not leave Dire Wolf behind.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(m_program, {QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-p"),
                                QStringLiteral("-c"), dir + QStringLiteral("/direwolf.conf")});
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("direwolf did not start: ") + m_process.errorString();
        return false;
    }

    const qsizetype from = log().size();
    const QRegularExpression terminal(QStringLiteral("Virtual KISS TNC is available on (\\S+)"));
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < kStartBoundMs && m_process.state() == QProcess::Running) {
        const QString text = log().mid(from);
        const auto match = terminal.match(text);
        if (match.hasMatch() && text.contains(QStringLiteral("on port %1").arg(m_agwPort)) &&
            text.contains(QStringLiteral("on port %1").arg(m_kissPort))) {
            m_kissTerminal = match.captured(1);
            m_ready = true;
            return true;
        }
        QThread::msleep(50);
    }
    m_error = QStringLiteral("direwolf did not become ready:\n") + log();
    stop();
    return false;
}

bool Direwolf::hear(const QStringList& monitorLines) {
    const QString dir = m_dir.path();
    const QString frames = dir + QStringLiteral("/heard.txt");
    const QString wav = dir + QStringLiteral("/heard.wav");
    QByteArray samples;
    // One line a run: gen_packets keeps a line's end in the information field it sends.
    for (const QString& line : monitorLines) {
        if (!writeFile(frames, line.toLatin1())) {
            m_error = QStringLiteral("cannot write the frames to hear");
            return false;
        }
        QProcess gen;
        gen.setProcessChannelMode(QProcess::MergedChannels);
        gen.start(QStringLiteral("gen_packets"), {QStringLiteral("-r"), QStringLiteral("44100"),
                                                  QStringLiteral("-o"), wav, frames});
        if (!gen.waitForFinished(20000) || gen.exitCode() != 0) {
            m_error =
                QStringLiteral("gen_packets failed: ") + QString::fromLocal8Bit(gen.readAll());
            return false;
        }
        QFile file(wav);
        if (!file.open(QIODevice::ReadOnly) || file.size() <= 44) {
            m_error = QStringLiteral("gen_packets made no audio");
            return false;
        }
        file.seek(44); // the WAV header; the receiver wants the bare samples
        samples += file.readAll();
    }
    // A quarter of a second of silence after the frames, so that the last one ends.
    samples += QByteArray(44100 / 2, '\0');
    QUdpSocket udp;
    constexpr qsizetype kDatagram = 1024;
    constexpr double kBytesPerMs = 44100 * 2 / 1000.0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (qsizetype at = 0; at < samples.size(); at += kDatagram) {
        udp.writeDatagram(samples.mid(at, kDatagram), QHostAddress::LocalHost, m_udpPort);
        // Faster than the audio plays, the receiver's socket buffer would drop some.
        const qint64 due = qint64(double(at + kDatagram) / kBytesPerMs);
        if (due > elapsed.elapsed())
            QThread::msleep(quint64(due - elapsed.elapsed()));
    }
    return true;
}

bool Direwolf::restart() {
    stop();
    return launch();
}

Direwolf::~Direwolf() {
    stop();
}

void Direwolf::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGINT);
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString Direwolf::log() const {
    QFile f(m_dir.path() + QStringLiteral("/console.log"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll());
}

bool Direwolf::waitForLog(const QString& text, int boundMs) const {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!log().contains(text)) {
        if (elapsed.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}
