// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Kiss.h"
#include "links/TncCommandMode.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString report = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

// tnc-sim as a user starts it, stopped with SIGTERM (then killed) whatever the test's outcome.
class TncSimProcess {
public:
    explicit TncSimProcess(const QStringList& arguments) {
        m_process.start(QStringLiteral(SKYVANE_BINARY_DIR "/tnc-sim"), arguments);
        if (m_process.waitForStarted(5000))
            m_ptyPath = readLine(5000);
    }
    ~TncSimProcess() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000)) {
                m_process.kill();
                m_process.waitForFinished(3000);
            }
        }
    }

    QString readLine(int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (!m_process.canReadLine() && timer.elapsed() < timeoutMs &&
               m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(50);
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    bool openPty() {
        m_fd = ::open(QFile::encodeName(m_ptyPath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios tio{};
        tcgetattr(m_fd, &tio);
        cfmakeraw(&tio);
        return tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }
    void closePty() {
        ::close(m_fd);
        m_fd = -1;
    }
    void write(const QByteArray& bytes) {
        ASSERT_EQ(::write(m_fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    // Everything the TNC says within the time, or until `until` has been seen.
    QByteArray read(int timeoutMs, const QByteArray& until = {}) {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs && (until.isEmpty() || !got.contains(until))) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 20) > 0) {
                char buffer[512];
                const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                if (n > 0)
                    got.append(buffer, n);
            }
        }
        return got;
    }

    QProcess m_process;
    QString m_ptyPath;
    int m_fd = -1;
};

// CPU seconds the process has used so far.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

} // namespace

TEST(TncSimProgram, KissFrameThenCommandModeDialogue) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("tnc"));
    TncSimProcess sim({QStringLiteral("--kiss"), QStringLiteral("--link"), link});
    ASSERT_TRUE(sim.m_ptyPath.startsWith(QStringLiteral("/dev/pts/")))
        << sim.m_ptyPath.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.m_ptyPath);
    ASSERT_TRUE(sim.openPty());

    // KISS: a frame for each TNC port, logged; nothing said back.
    for (const auto& f :
         kissReportFrames(report, QStringLiteral("NOCALL-1"), QStringLiteral("CQ"),
                          QStringLiteral("RELAY, WIDE"), {true, true, false, false}))
        sim.write(f.bytes);
    EXPECT_EQ(sim.readLine(5000), QStringLiteral("NOCALL-1>CQ,RELAY,WIDE:") + report);
    EXPECT_EQ(sim.readLine(5000), QStringLiteral("[1] NOCALL-1>CQ,RELAY,WIDE:") + report);
    sim.write(TncCommandMode::commandCode(3));
    EXPECT_EQ(sim.read(300), QByteArray());

    // Leave KISS mode; then the dialogue of a command-mode link.
    sim.write(QByteArray("\xC0\xFF\xC0", 3));
    EXPECT_TRUE(sim.read(3000, "cmd:").endsWith("cmd:"));
    sim.write(TncCommandMode::probe(3));
    EXPECT_TRUE(TncCommandMode::answerHasPrompt(sim.read(3000, "cmd:"), QStringLiteral("cmd:")));
    for (const QByteArray& line : TncCommandMode::connectLines(
             QStringLiteral("N0CALL-7"), QStringLiteral("APRS"), QStringLiteral("WIDE1-1"),
             QStringLiteral("CONOK OFF"), QStringLiteral("BEACON EVERY 0")))
        sim.write(line);
    EXPECT_TRUE(sim.read(3000, "BEACON was").contains("UNPROTO was CQ"));
    sim.write(TncCommandMode::converse(QStringLiteral("CONV"), 0x0D));
    sim.write(TncCommandMode::reportLine(report, 0x0D));
    sim.write(TncCommandMode::commandCode(3));
    EXPECT_EQ(sim.readLine(5000), QStringLiteral("N0CALL-7>APRS,WIDE1-1:") + report);
    EXPECT_TRUE(sim.read(3000, "cmd:").endsWith("cmd:"));

    // SIGTERM ends it cleanly and takes the link away.
    sim.m_process.terminate();
    ASSERT_TRUE(sim.m_process.waitForFinished(5000));
    EXPECT_EQ(sim.m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.m_process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(TncSimProgram, ExitsOnceItsTerminalIsClosedForGood) {
    TncSimProcess sim({QStringLiteral("--hangup-wait"), QStringLiteral("1")});
    ASSERT_TRUE(sim.openPty());
    sim.write(TncCommandMode::probe(3));
    EXPECT_TRUE(sim.read(3000, "cmd:").contains("cmd:"));
    // Closed and opened again within the wait: still there.
    sim.closePty();
    QThread::msleep(300);
    ASSERT_TRUE(sim.openPty());
    sim.write("MYCALL\r");
    EXPECT_TRUE(sim.read(3000, "cmd:").contains("MYCALL NOCALL"));
    sim.closePty();
    EXPECT_TRUE(sim.m_process.waitForFinished(6000));
    EXPECT_EQ(sim.m_process.exitCode(), 0);
}

// A terminal nobody holds open reports a hang-up at every look; waiting on it must not turn
// into a busy loop. A spinning simulator burns a good part of the second even on a busy machine; a
// waiting one next to nothing.
TEST(TncSimProgram, WaitsWithoutSpinning) {
    TncSimProcess sim({QStringLiteral("--hangup-wait"), QStringLiteral("0")});
    const qint64 pid = sim.m_process.processId();
    ASSERT_GT(pid, 0);
    const double atStart = cpuSeconds(pid);
    QThread::msleep(1000);
    EXPECT_LT(cpuSeconds(pid) - atStart, 0.1) << "before anyone opened the terminal";
    ASSERT_TRUE(sim.openPty());
    sim.write(TncCommandMode::probe(3));
    EXPECT_TRUE(sim.read(3000, "cmd:").contains("cmd:"));
    sim.closePty();
    const double afterClose = cpuSeconds(pid);
    QThread::msleep(1000);
    EXPECT_LT(cpuSeconds(pid) - afterClose, 0.1) << "after the terminal was closed";
    EXPECT_EQ(sim.m_process.state(), QProcess::Running);
}

TEST(TncSimProgram, RefusesBadOptions) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--sendpac"), QStringLiteral("300")},
          QStringList{QStringLiteral("--command-code"), QStringLiteral("x")},
          QStringList{QStringLiteral("--exit-kiss"), QStringLiteral("$C0,zz")},
          QStringList{QStringLiteral("stray")}}) {
        QProcess process;
        process.start(QStringLiteral(SKYVANE_BINARY_DIR "/tnc-sim"), args);
        ASSERT_TRUE(process.waitForFinished(5000)) << args.join(' ').toStdString();
        EXPECT_NE(process.exitCode(), 0);
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(process.readAllStandardError().startsWith("tnc-sim: "));
    }
}
