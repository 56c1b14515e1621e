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
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
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
    const QByteArray path = QDir::temp().filePath(name).toLocal8Bit();
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
    QLocalSocket probe;
    probe.connectToServer(name);
    EXPECT_TRUE(probe.waitForConnected(2000));
    lock.remove();
}

// Whoever else connects (another user cannot: the socket is the user's alone) and says
// something else, or nothing whole, is hung up on, and the copy still answers the next start.
TEST(SingleInstance, OnlyTheUsersOwnShowRequestIsAnswered) {
    const QString name = QStringLiteral("skyvane-") + uniquePlace();
    SingleInstance first(name);
    ASSERT_FALSE(first.otherInstanceRunning());
    QFileInfo socket(QDir::temp().filePath(name));
    EXPECT_EQ(socket.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    int requests = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++requests; });
    for (const QByteArray& said : {QByteArray("hello\n"), QByteArray(200, 'x')}) {
        QLocalSocket stranger;
        stranger.connectToServer(name);
        ASSERT_TRUE(stranger.waitForConnected(2000));
        stranger.write(said);
        stranger.flush();
        EXPECT_TRUE(
            waitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, 5000))
            << said.left(10).constData();
    }
    QLocalSocket silent; // connects and never speaks
    silent.connectToServer(name);
    ASSERT_TRUE(silent.waitForConnected(2000));
    QLocalSocket next;
    next.connectToServer(name);
    ASSERT_TRUE(next.waitForConnected(2000));
    next.write("show\n");
    EXPECT_TRUE(waitFor([&] { return next.canReadLine(); }, 5000));
    EXPECT_EQ(next.readLine(), "shown\n");
    EXPECT_EQ(requests, 1);
}

} // namespace
