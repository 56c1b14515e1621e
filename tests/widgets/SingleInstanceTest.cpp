// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/SingleInstance.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <QWidget>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString uniquePlace() {
    return QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// The real program, private to this test: its own instance name and settings file.
QProcessEnvironment programEnvironment(const QString& place, const QString& settings) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SKYVANE_INSTANCE"), place);
    env.insert(QStringLiteral("SKYVANE_SETTINGS"), settings);
    env.insert(QStringLiteral("QT_LOGGING_RULES"),
               QStringLiteral("skyvane.instance.info=true\nskyvane.app.info=true"));
    return env;
}

QString program() {
    return QStringLiteral(SKYVANE_BINARY_DIR "/skyvane");
}

// Runs the event loop until done() or the bound passes.
template <class F> bool waitFor(F done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The guard's name at a place of the test's own, as the program would take it from
// SKYVANE_INSTANCE.
QString nameAt(const QString& place) {
    qputenv("SKYVANE_INSTANCE", place.toLocal8Bit());
    const QString name = SingleInstance::defaultName();
    qunsetenv("SKYVANE_INSTANCE");
    return name;
}

struct Process {
    ~Process() {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
    QString err() {
        log += QString::fromLocal8Bit(p.readAllStandardError());
        return log;
    }
    QProcess p;
    QString log;
};

// Starts the real program as a later copy at `place` and waits for it to give way and end.
void startAgain(Process& again, const QString& place, const QString& settings) {
    again.p.setProcessEnvironment(programEnvironment(place, settings));
    again.p.start(program(), {});
    ASSERT_TRUE(again.p.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return again.p.state() == QProcess::NotRunning; }, 15000))
        << again.err().toStdString();
    EXPECT_EQ(again.p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(again.p.exitCode(), 0);
}

TEST(SingleInstance, NamesDifferPerDisplayAndHoldSafeCharacters) {
    qputenv("SKYVANE_INSTANCE", ":0.0/x");
    const QString a = SingleInstance::defaultName();
    qputenv("SKYVANE_INSTANCE", ":1");
    const QString b = SingleInstance::defaultName();
    qunsetenv("SKYVANE_INSTANCE");
    EXPECT_NE(a, b);
    EXPECT_FALSE(a.contains('/'));
    EXPECT_TRUE(a.startsWith("skyvane-"));
}

TEST(SingleInstance, SecondStartBringsTheFirstWindowForwardAndEndsAtOnce) {
    QTemporaryDir dir;
    const QString place = uniquePlace();
    SingleInstance first(nameAt(place));
    ASSERT_FALSE(first.otherInstanceRunning());
    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    first.setWindow(&window);
    int requests = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++requests; });

    Process second;
    startAgain(second, place, dir.filePath("second.ini"));
    EXPECT_EQ(requests, 1);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    // It never got as far as its settings.
    EXPECT_FALSE(QFile::exists(dir.filePath("second.ini")));
}

// Records which windows were raised, in order.
class RaiseOrder : public QObject {
public:
    void watch(QWidget* w) { w->installEventFilter(this); }
    QStringList order;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange)
            order << watched->objectName();
        return false;
    }
};

// A second start while the first waits in a modal dialog (Station Setup, a question): the
// dialog is what the user must answer, so it comes up above the main window, and has the focus.
TEST(SingleInstance, ASecondStartBringsTheOpenDialogAboveTheWindow) {
    QTemporaryDir dir;
    const QString place = uniquePlace();
    SingleInstance first(nameAt(place));
    ASSERT_FALSE(first.otherInstanceRunning());
    QWidget window;
    window.setObjectName("window");
    window.show();
    first.setWindow(&window);
    QWidget elsewhere; // where the user went meanwhile
    elsewhere.setObjectName("elsewhere");
    elsewhere.show();
    elsewhere.activateWindow();
    QDialog dialog(&window);
    dialog.setObjectName("dialog");
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    RaiseOrder raises;
    raises.watch(&window);
    raises.watch(&dialog);
    int requests = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++requests; });

    const auto startFromElsewhere = [&](const char* settings) {
        raises.order.clear();
        elsewhere.activateWindow();
        Process again;
        startAgain(again, place, dir.filePath(settings));
    };
    startFromElsewhere("second.ini");
    EXPECT_EQ(requests, 1);
    ASSERT_FALSE(raises.order.isEmpty());
    EXPECT_EQ(raises.order.last(), QStringLiteral("dialog"));
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == &dialog; }, 2000));

    // Answered, the dialog is gone: the next start brings the main window itself.
    dialog.accept();
    startFromElsewhere("third.ini");
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(raises.order, QStringList{QStringLiteral("window")});
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }, 2000));
}

TEST(SingleInstance, TwoRealProcesses) {
    QTemporaryDir dir;
    const QString place = uniquePlace();
    Process first;
    first.p.setProcessEnvironment(programEnvironment(place, dir.filePath("first.ini")));
    first.p.start(program(), {});
    ASSERT_TRUE(first.p.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return first.err().contains("main window shown"); }, 15000))
        << first.err().toStdString();
    ASSERT_TRUE(first.err().contains("listening as")) << first.err().toStdString();

    Process second;
    startAgain(second, place, dir.filePath("second.ini"));
    EXPECT_TRUE(second.err().contains("another copy is running")) << second.err().toStdString();
    EXPECT_TRUE(second.err().contains("answer: \"shown\"")) << second.err().toStdString();
    EXPECT_FALSE(second.err().contains("main window shown")) << second.err().toStdString();
    EXPECT_TRUE(waitFor([&] { return first.err().contains("activation requested"); }, 5000))
        << first.err().toStdString();
    EXPECT_EQ(first.p.state(), QProcess::Running);
}

TEST(SingleInstance, NameLeftByACrashedCopyDoesNotBlockTheNextStart) {
    const QString name = QStringLiteral("skyvane-") + uniquePlace();
    const QString folder = SingleInstance::folder();
    ASSERT_FALSE(folder.isEmpty());
    const QByteArray path = QDir(folder).filePath(name).toLocal8Bit();
    // A socket file nobody listens on, as a killed copy leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof(addr.sun_path));
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));
    // And the lock file beside it, as a copy killed while starting leaves it.
    QFile lock(QString::fromLocal8Bit(path) + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("4242\nskyvane\nelsewhere\n");
    lock.close();

    SingleInstance guard(name);
    EXPECT_FALSE(guard.otherInstanceRunning());
    EXPECT_EQ(guard.path(), QString::fromLocal8Bit(path));
    QLocalSocket probe;
    probe.connectToServer(guard.path());
    EXPECT_TRUE(probe.waitForConnected(2000));
    lock.remove();
}

// Whoever else connects (another user cannot: the socket is the user's alone) and says
// something else, or nothing whole, is hung up on, and the copy still answers the next start.
TEST(SingleInstance, OnlyTheUsersOwnShowRequestIsAnswered) {
    const QString name = QStringLiteral("skyvane-") + uniquePlace();
    SingleInstance first(name);
    ASSERT_FALSE(first.otherInstanceRunning());
    QFileInfo socket(first.path());
    EXPECT_EQ(socket.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    int requests = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++requests; });
    for (const QByteArray& said : {QByteArray("hello\n"), QByteArray(200, 'x')}) {
        QLocalSocket stranger;
        stranger.connectToServer(first.path());
        ASSERT_TRUE(stranger.waitForConnected(2000));
        stranger.write(said);
        stranger.flush();
        EXPECT_TRUE(
            waitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, 5000))
            << said.left(10).constData();
    }
    QLocalSocket silent; // connects and never speaks
    silent.connectToServer(first.path());
    ASSERT_TRUE(silent.waitForConnected(2000));
    QLocalSocket next;
    next.connectToServer(first.path());
    ASSERT_TRUE(next.waitForConnected(2000));
    next.write("show\n");
    EXPECT_TRUE(waitFor([&] { return next.canReadLine(); }, 5000));
    EXPECT_EQ(next.readLine(), "shown\n");
    EXPECT_EQ(requests, 1);
}

} // namespace

namespace {

constexpr uid_t kOtherUser = 65534; // nobody

// Runs `work` in a child process as another user (the test must run as root to become one);
// the child reports one byte through the pipe and then waits until the test closes `hold`.
struct OtherUser {
    pid_t pid = -1;
    int report[2] = {-1, -1};
    int hold[2] = {-1, -1};

    template <class Work> explicit OtherUser(Work work) {
        if (::pipe(report) != 0 || ::pipe(hold) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            // Only system calls from here on: this is a copy of a threaded test program.
            ::close(report[0]);
            ::close(hold[1]);
            char result = 'E';
            if (::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 &&
                ::setuid(kOtherUser) == 0)
                result = work();
            (void)!::write(report[1], &result, 1);
            char byte;
            (void)!::read(hold[0], &byte, 1);
            ::_exit(0);
        }
        ::close(report[1]);
        ::close(hold[0]);
    }
    // The child's one byte, the event loop running meanwhile; 0 after the bound.
    char result(int boundMs = 10000) const {
        char byte = 0;
        waitFor(
            [&] {
                pollfd p{report[0], POLLIN, 0};
                return ::poll(&p, 1, 0) > 0 && ::read(report[0], &byte, 1) == 1;
            },
            boundMs);
        return byte;
    }
    ~OtherUser() {
        ::close(hold[1]);
        ::close(report[0]);
        if (pid > 0)
            ::waitpid(pid, nullptr, 0);
    }
};

// A listening socket at `path`, as another user's stand-in for a running copy; false when it
// cannot be made.
bool squat(const QByteArray& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (fd < 0 || size_t(path.size()) >= sizeof(addr.sun_path))
        return false;
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ::unlink(path.constData());
    return ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
           ::chmod(path.constData(), 0777) == 0 && ::listen(fd, 8) == 0;
}

} // namespace

// Another local user who listens first, at the name of earlier versions, in the folder this
// user would make in the temporary folder, or in a runtime folder that is not this user's,
// cannot make this user's start give way.
TEST(SingleInstance, AnotherUsersSocketNeverMakesAStartGiveWay) {
    if (::getuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    QTemporaryDir tmp; // the temporary folder of this test, open to all as /tmp is
    ASSERT_TRUE(tmp.isValid());
    ::chmod(QFile::encodeName(tmp.path()).constData(), 01777);
    const QString place = uniquePlace();
    const QByteArray oldName = QFile::encodeName(
        QStringLiteral("%1/skyvane-%2-%3").arg(tmp.path()).arg(::getuid()).arg(place));
    const QByteArray ownFolder =
        QFile::encodeName(QStringLiteral("%1/skyvane-%2").arg(tmp.path()).arg(::getuid()));
    const QByteArray foreignRuntime = QFile::encodeName(tmp.path() + "/run-nobody");
    const QByteArray name = QFile::encodeName(nameAt(place));
    OtherUser other([&] {
        const bool made = ::mkdir(ownFolder.constData(), 0777) == 0 &&
                          ::chmod(ownFolder.constData(), 0777) == 0 &&
                          ::mkdir(foreignRuntime.constData(), 0700) == 0 && squat(oldName) &&
                          squat(ownFolder + "/" + name) && squat(foreignRuntime + "/" + name);
        return made ? 'S' : 'F';
    });
    ASSERT_EQ(other.result(), 'S');

    const QByteArray tmpBefore = qgetenv("TMPDIR");
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    for (const QByteArray& runtime : {QByteArray(), foreignRuntime}) {
        qputenv("XDG_RUNTIME_DIR", runtime);
        QString why;
        EXPECT_EQ(SingleInstance::folder(&why), QString()) << runtime.constData();
        EXPECT_TRUE(why.contains("belongs to another user")) << why.toStdString();
        qputenv("SKYVANE_INSTANCE", place.toLocal8Bit());
        SingleInstance guard;
        qunsetenv("SKYVANE_INSTANCE");
        EXPECT_FALSE(guard.otherInstanceRunning()) << runtime.constData();
        EXPECT_EQ(guard.path(), QString()) << "no check rather than a foreign one";
    }
    // A runtime folder of this user's own is used, whatever the temporary folder holds.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ::chmod(QFile::encodeName(runtime.path()).constData(), 0700);
    EXPECT_EQ(SingleInstance::folder(), runtime.path());
    ::chmod(QFile::encodeName(runtime.path()).constData(), 0755);
    EXPECT_NE(SingleInstance::folder(), runtime.path()) << "a runtime folder open to others";
    tmpBefore.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpBefore);
    runtimeBefore.isNull() ? qunsetenv("XDG_RUNTIME_DIR")
                           : qputenv("XDG_RUNTIME_DIR", runtimeBefore);
}

// A caller of another user is hung up on unanswered, even when it could reach the socket.
TEST(SingleInstance, ACallerOfAnotherUserIsNotAnswered) {
    if (::getuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    QTemporaryDir folder;
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
    SingleInstance first(QStringLiteral("skyvane-") + uniquePlace());
    runtimeBefore.isNull() ? qunsetenv("XDG_RUNTIME_DIR")
                           : qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    ASSERT_TRUE(first.path().startsWith(folder.path()));
    ASSERT_FALSE(first.otherInstanceRunning());
    ASSERT_FALSE(first.path().isEmpty());
    int requests = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++requests; });
    // Opened up after the start, as a mistaken chmod might.
    ::chmod(QFile::encodeName(folder.path()).constData(), 0711);
    ::chmod(QFile::encodeName(first.path()).constData(), 0777);
    const QByteArray path = QFile::encodeName(first.path());
    OtherUser other([&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
            return 'C';
        const timeval bound{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof(bound));
        if (::write(fd, "show\n", 5) != 5)
            return 'W';
        char answer[16];
        const ssize_t got = ::read(fd, answer, sizeof answer);
        // Hung up (closed, or reset as a close with the request unread is), answered, or
        // left waiting.
        if (got == 0 || (got < 0 && errno == ECONNRESET))
            return 'H';
        return got > 0 ? 'A' : 'T';
    });
    EXPECT_EQ(other.result(), 'H');
    EXPECT_EQ(requests, 0);
    // This user's own start is still answered.
    QLocalSocket next;
    next.connectToServer(first.path());
    ASSERT_TRUE(next.waitForConnected(2000));
    next.write("show\n");
    EXPECT_TRUE(waitFor([&] { return next.canReadLine(); }, 5000));
    EXPECT_EQ(requests, 1);
}
