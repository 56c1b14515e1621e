// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Kiss.h"
#include "links/TncCommandMode.h"
#include "support/TncSim.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString report = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

// The user's end of tnc-sim's terminal, opened as a program opens a serial port.
class Terminal {
public:
    ~Terminal() { close(); }

    bool open(const QString& path) {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios tio{};
        tcgetattr(m_fd, &tio);
        cfmakeraw(&tio);
        return tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }
    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    void write(const QByteArray& bytes) {
        ASSERT_EQ(::write(m_fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    // Everything the TNC says until `until` has been seen, or the bound passes.
    QByteArray read(const QByteArray& until, int boundMs = 3000) {
        QByteArray got;
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < boundMs && !got.contains(until)) {
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

private:
    int m_fd = -1;
};

// The scheduler's state of the process: 'S' while it sleeps in a wait, 'R' while it runs or is
// about to.
char processState(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return '?';
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1).at(0);
}

// How many of `samples` looks at the process, 10 ms apart, found it asleep.
int sleepingSamples(qint64 pid, int samples = 20) {
    int sleeping = 0;
    for (int i = 0; i < samples; ++i) {
        if (processState(pid) == 'S')
            ++sleeping;
        QThread::msleep(10);
    }
    return sleeping;
}

} // namespace

TEST(TncSimProgram, KissFrameThenCommandModeDialogue) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("tnc"));
    TncSim sim({QStringLiteral("--kiss"), QStringLiteral("--link"), link});
    ASSERT_TRUE(sim.path().startsWith(QStringLiteral("/dev/pts/"))) << sim.path().toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.path());
    Terminal terminal;
    ASSERT_TRUE(terminal.open(sim.path()));

    // KISS: a frame for each TNC port, logged; nothing said back.
    for (const auto& f :
         kissReportFrames(report, QStringLiteral("NOCALL-1"), QStringLiteral("CQ"),
                          QStringLiteral("RELAY, WIDE"), {true, true, false, false}))
        terminal.write(f.bytes);
    const QString line = QStringLiteral("NOCALL-1>CQ,RELAY,WIDE:") + report;
    EXPECT_EQ(sim.frames(2), (QStringList{line, QStringLiteral("[1] ") + line}));
    terminal.write(TncCommandMode::commandCode(3));

    // Leave KISS mode: the prompt is the first thing said, so the command code before it got
    // no answer. Then the dialogue of a command-mode link.
    terminal.write(QByteArray("\xC0\xFF\xC0", 3));
    EXPECT_EQ(terminal.read("cmd:"), QByteArray("\r\ncmd:"));
    terminal.write(TncCommandMode::probe(3));
    EXPECT_TRUE(TncCommandMode::answerHasPrompt(terminal.read("cmd:"), QStringLiteral("cmd:")));
    for (const QByteArray& line : TncCommandMode::connectLines(
             QStringLiteral("N0CALL-7"), QStringLiteral("APRS"), QStringLiteral("WIDE1-1"),
             QStringLiteral("CONOK OFF"), QStringLiteral("BEACON EVERY 0")))
        terminal.write(line);
    EXPECT_TRUE(terminal.read("BEACON was").contains("UNPROTO was CQ"));
    terminal.write(TncCommandMode::converse(QStringLiteral("CONV"), 0x0D));
    terminal.write(TncCommandMode::reportLine(report, 0x0D));
    terminal.write(TncCommandMode::commandCode(3));
    EXPECT_EQ(sim.frames(3).value(2), QStringLiteral("N0CALL-7>APRS,WIDE1-1:") + report);
    EXPECT_TRUE(terminal.read("cmd:").endsWith("cmd:"));

    // SIGTERM ends it cleanly and takes the link away.
    sim.process().terminate();
    ASSERT_TRUE(sim.finished(5000));
    EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.process().exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(TncSimProgram, ExitsOnceItsTerminalIsClosedForGood) {
    TncSim sim({QStringLiteral("--hangup-wait"), QStringLiteral("1")});
    Terminal terminal;
    ASSERT_TRUE(terminal.open(sim.path()));
    terminal.write(TncCommandMode::probe(3));
    EXPECT_TRUE(terminal.read("cmd:").contains("cmd:"));
    // Closed and opened again within the wait: still there.
    terminal.close();
    ASSERT_TRUE(sim.waitForNote(QStringLiteral("terminal closed")));
    ASSERT_TRUE(terminal.open(sim.path()));
    terminal.write("MYCALL\r");
    EXPECT_TRUE(terminal.read("cmd:").contains("MYCALL NOCALL"));
    terminal.close();
    EXPECT_TRUE(sim.finished(6000));
    EXPECT_EQ(sim.process().exitCode(), 0);
    EXPECT_TRUE(sim.waitForNote(QStringLiteral("terminal closed for good")));
}

// A terminal nobody holds open reports a hang-up at every look; waiting on it must not turn
// into a busy loop. A waiting simulator is found asleep nearly every time the scheduler is
// asked; a spinning one never, however loaded the machine. (bench/tnc-sim measures the CPU.)
TEST(TncSimProgram, WaitsWithoutSpinning) {
    TncSim sim;
    const qint64 pid = sim.process().processId();
    ASSERT_TRUE(sim.running());
    EXPECT_GE(sleepingSamples(pid), 10) << "before anyone opened the terminal";
    Terminal terminal;
    ASSERT_TRUE(terminal.open(sim.path()));
    terminal.write(TncCommandMode::probe(3));
    EXPECT_TRUE(terminal.read("cmd:").contains("cmd:"));
    EXPECT_GE(sleepingSamples(pid), 10) << "while the terminal is open and idle";
    terminal.close();
    ASSERT_TRUE(sim.waitForNote(QStringLiteral("terminal closed")));
    EXPECT_GE(sleepingSamples(pid), 10) << "after the terminal was closed";
    EXPECT_EQ(sim.process().state(), QProcess::Running);
}

TEST(TncSimProgram, RefusesBadOptions) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--sendpac"), QStringLiteral("300")},
          QStringList{QStringLiteral("--command-code"), QStringLiteral("x")},
          QStringList{QStringLiteral("--exit-kiss"), QStringLiteral("$C0,zz")},
          QStringList{QStringLiteral("stray")}}) {
        TncSim sim(args);
        ASSERT_TRUE(sim.finished(5000)) << args.join(' ').toStdString();
        EXPECT_NE(sim.process().exitCode(), 0);
        EXPECT_TRUE(sim.path().isEmpty());
        EXPECT_TRUE(sim.process().readAllStandardOutput().isEmpty());
        EXPECT_TRUE(sim.process().readAllStandardError().startsWith("tnc-sim: "));
    }
}
