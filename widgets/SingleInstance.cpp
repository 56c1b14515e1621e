// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "skyvane.instance")

namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kShownAnswer = "shown\n";
constexpr int kAnswerMs = 3000;
constexpr int kLockWaitMs = 5000;
// A caller says one short line; anything longer is no copy of this program.
constexpr qsizetype kMaxRequest = 64;

// The lock is held for a moment by a starting copy; one that is stopped while holding it is
// waited for a while and then started without it, as starting twice is better than never.
int takeLock(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        qCWarning(lcInstance) << "instance lock not taken:" << std::strerror(errno);
        return -1;
    }
    for (int waited = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; waited += 10) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kLockWaitMs) {
            qCWarning(lcInstance) << "instance lock not taken:" << std::strerror(errno);
            ::close(fd);
            return -1;
        }
        ::usleep(10000);
    }
    return fd;
}

// The user at the other end of a local socket; -1 when the system does not say.
qint64 peerUid(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return -1;
    return credentials.uid;
}

} // namespace

QString SingleInstance::defaultName() {
    QString place = qEnvironmentVariable("SKYVANE_INSTANCE");
    if (place.isEmpty())
        place = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (place.isEmpty())
        place = qEnvironmentVariable("DISPLAY");
    if (place.isEmpty())
        place = QStringLiteral("console");
    QString name = QStringLiteral("skyvane-%1").arg(place);
    // Socket names become file names: keep them to safe characters.
    for (QChar& c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_' && c != u'.' && c != u'-')
            c = u'_';
    return name;
}

QString SingleInstance::folderProblem(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (st.st_uid != ::getuid())
        return QStringLiteral("%1 belongs to another user").arg(path);
    if ((st.st_mode & 077) != 0)
        return QStringLiteral("%1 is open to other users").arg(path);
    return {};
}

QString SingleInstance::folder(QString* why) {
    // The XDG Base Directory rules give it to this user alone; one that is not is not used.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime)) {
        const QString problem = folderProblem(runtime);
        if (problem.isEmpty())
            return runtime;
        qCWarning(lcInstance) << "XDG_RUNTIME_DIR not used:" << problem;
    }
    const QString own = QDir::temp().filePath(QStringLiteral("skyvane-%1").arg(::getuid()));
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    const QString problem = folderProblem(own);
    if (problem.isEmpty())
        return own;
    if (why)
        *why = problem;
    return {};
}

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_name(name) {
    QString why;
    const QString place = folder(&why);
    if (place.isEmpty()) {
        // Better two copies than none: someone who made our folder elsewhere must not be
        // able to stop this user's program from starting.
        qCWarning(lcInstance) << "no single-instance check:" << why;
        return;
    }
    m_path = QDir(place).filePath(m_name);
    // Two copies started together must not both decide they are first: the check and the
    // start of listening happen under a lock, which the system lets go if its holder dies.
    const int lock = takeLock(QFile::encodeName(m_path + QStringLiteral(".lock")));
    if (askRunningInstance())
        m_otherRunning = true;
    else
        listen();
    if (lock >= 0)
        ::close(lock); // lets the lock go; the file stays for the next start
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    // Only this user can have made the socket in this folder; asked anyway, as giving way to
    // anyone else would stop this user's program.
    const qint64 uid = peerUid(socket.socketDescriptor());
    if (uid != qint64(::getuid())) {
        qCWarning(lcInstance) << "the copy at" << m_path << "is of user" << uid << ": ignored";
        return false;
    }
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kAnswerMs);
    // The running copy answers once its window is in front; a copy that hangs is no copy
    // this start can rely on, but it still holds the name, so this one gives way anyway.
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < kMaxRequest &&
           (socket.bytesAvailable() > 0 || socket.waitForReadyRead(kAnswerMs)))
        answer += socket.read(kMaxRequest);
    qCInfo(lcInstance) << "another copy is running; answer:" << answer.trimmed();
    return true;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    // Only this user may ask this copy to come forward.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A name left behind by a copy that crashed would block every later start; nobody
    // answered at it, under the lock, so it is no longer anyone's.
    QLocalServer::removeServer(m_path);
    if (!m_server->listen(m_path)) {
        qCWarning(lcInstance) << "not listening as" << m_path << m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    qCInfo(lcInstance) << "listening as" << m_path;
}

void SingleInstance::accept() {
    while (QLocalSocket* caller = m_server->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        const qint64 uid = peerUid(caller->socketDescriptor());
        if (uid != qint64(::getuid())) {
            qCWarning(lcInstance) << "a caller of user" << uid << "is not answered";
            caller->abort();
            caller->deleteLater();
            continue;
        }
        connect(caller, &QLocalSocket::readyRead, this, [this, caller] { read(caller); });
        if (caller->bytesAvailable() > 0)
            read(caller);
    }
}

void SingleInstance::read(QLocalSocket* caller) {
    if (!caller->canReadLine() && caller->bytesAvailable() < kMaxRequest)
        return; // more is on its way
    const QByteArray request = caller->readLine(kMaxRequest + 1);
    if (request == kShowRequest) {
        qCInfo(lcInstance) << "activation requested";
        if (m_window)
            bringToFront(m_window);
        caller->write(kShownAnswer);
        caller->flush();
        caller->disconnectFromServer();
        emit activationRequested();
        return;
    }
    caller->abort();
    caller->deleteLater();
}

void SingleInstance::bringToFront(QWidget* window) {
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    // A dialog or message box waiting for an answer must end up on top: raised behind it, the
    // main window would ignore every click and the user would not see why.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window) {
        window->activateWindow();
        return;
    }
    qCInfo(lcInstance) << "bringing the open dialog forward:" << modal->windowTitle();
    if (modal->isMinimized())
        modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
    modal->show();
    modal->raise();
    modal->activateWindow();
}
