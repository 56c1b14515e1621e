// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// tnc-sim: a simulated TNC on a pseudo-terminal, for trying Skyvane (or any program that talks
// to a TNC) without a radio. It prints the terminal's path on its first line, then one line per
// frame it would transmit, as "SOURCE>DEST,PATH:info".

#include "common/ConvertError.h"
#include "common/Cp1252.h"
#include "common/Numbers.h"
#include "tools/TncSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t stopSignal = 0;
int wakePipe[2] = {-1, -1};

void onStopSignal(int signal) {
    stopSignal = signal;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(wakePipe[1], &byte, 1);
}

qint64 nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool printLine(const QString& text, FILE* stream) {
    const QByteArray bytes = text.toUtf8() + '\n';
    return fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size()) &&
           fflush(stream) == 0;
}

[[noreturn]] void fail(const QString& message) {
    printLine(QStringLiteral("tnc-sim: ") + message, stderr);
    std::exit(2);
}

// "$C0,$FF,$C0", "192 255 192" or "0xC0,0xFF,0xC0".
QByteArray parseBytes(const QString& text) {
    QByteArray bytes;
    for (const QString& item :
         text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
        const int value = strToInt(item);
        if (value < 0 || value > 255)
            throw ConvertError(QStringLiteral("'%1' is not a byte value (0 to 255)").arg(item));
        bytes.append(char(value));
    }
    return bytes;
}

quint8 parseByte(const QString& text) {
    const QByteArray bytes = parseBytes(text);
    if (bytes.size() != 1)
        throw ConvertError(QStringLiteral("'%1' is not one byte value (0 to 255)").arg(text));
    return quint8(bytes[0]);
}

void makeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
}

// Writes everything unless the other side is gone; a TNC does not wait for a listener.
void writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 1000) > 0)
                continue;
        }
        return;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tnc-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated TNC on a pseudo-terminal. Prints the terminal's path, then one line per "
        "frame it would transmit: SOURCE>DEST,PATH:info (frames for KISS port N > 0 start with "
        "\"[N] \"). Command mode understands MYCALL, UNPROTO dest [VIA path], CONOK, BEACON, "
        "CONV, DISPLAY and the like; the command code returns from converse mode."));
    parser.addHelpOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also reach the terminal through a symbolic link "
                                                 "at <path> (removed on exit)."),
                                  QStringLiteral("path"));
    const QCommandLineOption prompt(QStringLiteral("prompt"),
                                    QStringLiteral("Command prompt (default \"cmd:\")."),
                                    QStringLiteral("text"), QStringLiteral("cmd:"));
    const QCommandLineOption commandCode(
        QStringLiteral("command-code"),
        QStringLiteral("Byte that returns to command mode (default $03)."), QStringLiteral("byte"),
        QStringLiteral("$03"));
    const QCommandLineOption sendPac(
        QStringLiteral("sendpac"),
        QStringLiteral("Byte that ends and sends a converse line (default $0D)."),
        QStringLiteral("byte"), QStringLiteral("$0D"));
    const QCommandLineOption enterKiss(
        QStringLiteral("enter-kiss"),
        QStringLiteral("Command line of the sequence that enters KISS mode; repeat for each line "
                       "in order (default: \"KISS ON\" then \"RESTART\")."),
        QStringLiteral("line"));
    const QCommandLineOption exitKiss(
        QStringLiteral("exit-kiss"),
        QStringLiteral("Bytes that leave KISS mode (default \"$C0,$FF,$C0\")."),
        QStringLiteral("bytes"), QStringLiteral("$C0,$FF,$C0"));
    const QCommandLineOption kiss(QStringLiteral("kiss"), QStringLiteral("Start in KISS mode."));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Never answer."));
    const QCommandLineOption latePrompt(QStringLiteral("late-prompt"),
                                        QStringLiteral("Answer everything 2 seconds late."));
    const QCommandLineOption chatter(QStringLiteral("chatter"),
                                     QStringLiteral("Answer with text even in KISS mode."));
    const QCommandLineOption echo(QStringLiteral("echo"),
                                  QStringLiteral("Echo what is typed outside KISS mode."));
    const QCommandLineOption hangupWait(
        QStringLiteral("hangup-wait"),
        QStringLiteral("Exit when the terminal has been closed by its user and not reopened for "
                       "<seconds> (default 30; 0 waits for ever)."),
        QStringLiteral("seconds"), QStringLiteral("30"));
    parser.addOptions({link, prompt, commandCode, sendPac, enterKiss, exitKiss, kiss, silent,
                       latePrompt, chatter, echo, hangupWait});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument \"%1\"; see --help")
                 .arg(parser.positionalArguments().first()));

    TncSimulator::Options options;
    int hangupSeconds = 30;
    try {
        options.prompt = Cp1252::fromUnicode(parser.value(prompt));
        options.commandCode = parseByte(parser.value(commandCode));
        options.sendPac = parseByte(parser.value(sendPac));
        if (parser.isSet(enterKiss))
            options.enterKiss = parser.values(enterKiss);
        options.exitKiss = parseBytes(parser.value(exitKiss));
        hangupSeconds = strToInt(parser.value(hangupWait));
    } catch (const ConvertError& e) {
        fail(e.message());
    }
    if (hangupSeconds < 0)
        fail(QStringLiteral("--hangup-wait must not be negative"));
    options.startInKiss = parser.isSet(kiss);
    options.silent = parser.isSet(silent);
    options.replyDelayMs = parser.isSet(latePrompt) ? 2000 : 0;
    options.chatter = parser.isSet(chatter);
    options.echo = parser.isSet(echo);
    TncSimulator tnc(options);

    signal(SIGPIPE, SIG_IGN);
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        fail(QStringLiteral("cannot create a pipe: %1")
                 .arg(QString::fromLocal8Bit(strerror(errno))));
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART; // poll() still returns early; log writes carry on
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &action, nullptr);

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        fail(QStringLiteral("cannot open a pseudo-terminal: %1")
                 .arg(QString::fromLocal8Bit(strerror(errno))));
    makeRaw(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    const QString slavePath = QString::fromLocal8Bit(name);

    QString linkPath;
    if (parser.isSet(link)) {
        linkPath = parser.value(link);
        const QFileInfo existing(linkPath);
        if (existing.isSymLink())
            unlink(QFile::encodeName(linkPath).constData());
        else if (existing.exists())
            fail(QStringLiteral("%1 exists and is not a symbolic link; not replacing it")
                     .arg(linkPath));
        if (symlink(name, QFile::encodeName(linkPath).constData()) != 0)
            fail(QStringLiteral("cannot create the link %1: %2")
                     .arg(linkPath, QString::fromLocal8Bit(strerror(errno))));
    }

    // Nobody holds the terminal open but its user: a hang-up then tells that the user closed it.
    close(slave);
    if (!printLine(slavePath, stdout))
        return 1;
    bool open = false;
    bool everOpened = false;
    qint64 closedSince = nowMs();
    int exitCode = 0;
    bool watchStdout = true;

    while (!stopSignal) {
        int timeout = -1;
        if (const auto due = tnc.nextReplyDue())
            timeout = int(std::clamp<qint64>(*due - nowMs(), 0, 60000));
        // A terminal nobody has open signals a hang-up at every poll, so while it is closed
        // look for its user a few times a second instead of waiting on it.
        if (!open)
            timeout = timeout < 0 ? 200 : std::min(timeout, 200);
        // Standard output is watched too: when whoever read our log has gone (a test that
        // died), nobody needs this simulator any more.
        pollfd fds[3] = {{wakePipe[0], POLLIN, 0},
                         {open ? master : -1, POLLIN, 0},
                         {watchStdout ? STDOUT_FILENO : -1, 0, 0}};
        if (poll(fds, 3, timeout) < 0 && errno != EINTR)
            break;
        if (fds[2].revents & POLLNVAL)
            watchStdout = false;
        else if (fds[2].revents & (POLLERR | POLLHUP)) {
            printLine(QStringLiteral("tnc-sim: standard output closed; exiting"), stderr);
            break;
        }

        if (!open || (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buffer[4096];
            const ssize_t n = read(master, buffer, sizeof buffer);
            const bool nowOpen = n > 0 || (n < 0 && errno == EAGAIN);
            if (nowOpen && !open)
                printLine(QStringLiteral("tnc-sim: terminal opened"), stderr);
            if (!nowOpen && n < 0 && errno == EIO && open) {
                printLine(QStringLiteral("tnc-sim: terminal closed"), stderr);
                closedSince = nowMs();
            }
            if (nowOpen || (n < 0 && errno == EIO)) {
                open = nowOpen;
                everOpened = everOpened || nowOpen;
            }
            if (n > 0)
                tnc.receive(QByteArray(buffer, int(n)), nowMs());
        }
        if (!open && everOpened && hangupSeconds > 0 &&
            nowMs() - closedSince >= qint64(hangupSeconds) * 1000) {
            printLine(QStringLiteral("tnc-sim: terminal closed for good; exiting"), stderr);
            break;
        }

        const QByteArray reply = tnc.takeReply(nowMs());
        if (!reply.isEmpty() && open)
            writeAll(master, reply);
        for (const QString& note : tnc.takeNotes())
            printLine(QStringLiteral("tnc-sim: ") + note, stderr);
        for (const QString& frame : tnc.takeTransmitted())
            if (!printLine(frame, stdout)) {
                exitCode = 1; // nobody reads our log any more
                stopSignal = SIGPIPE;
            }
    }

    if (!linkPath.isEmpty())
        unlink(QFile::encodeName(linkPath).constData());
    close(master);
    return exitCode;
}
