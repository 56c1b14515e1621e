// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "skyvane.instance")

namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kShownAnswer = "shown\n";
constexpr int kAnswerMs = 3000;
constexpr int kLockWaitMs = 5000;
// A caller says one short line; anything longer is no copy of this program.
constexpr qsizetype kMaxRequest = 64;

bool addressOf(const QByteArray& path, sockaddr_un* address) {
    *address = {};
    address->sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address->sun_path))
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

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

} // namespace

QString SingleInstance::defaultName() {
    QString place = qEnvironmentVariable("SKYVANE_INSTANCE");
    if (place.isEmpty())
        place = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (place.isEmpty())
        place = qEnvironmentVariable("DISPLAY");
    if (place.isEmpty())
        place = QStringLiteral("console");
    QString name = QStringLiteral("skyvane-%1-%2").arg(::getuid()).arg(place);
    // Socket names become file names: keep them to safe characters.
    for (QChar& c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_' && c != u'.' && c != u'-')
            c = u'_';
    return name;
}

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_name(name), m_path(QFile::encodeName(QDir::temp().filePath(name))) {
    // Two copies started together must not both decide they are first: the check and the
    // start of listening happen under a lock, which the system lets go if its holder dies.
    const int lock = takeLock(m_path + ".lock");
    if (askRunningInstance())
        m_otherRunning = true;
    else
        listen();
    if (lock >= 0)
        ::close(lock); // lets the lock go; the file stays for the next start
}

SingleInstance::~SingleInstance() {
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        ::close(it.key());
    if (m_listener >= 0) {
        ::close(m_listener);
        // The next start finds nobody at the name either way; the file is only tidied.
        ::unlink(m_path.constData());
    }
}

bool SingleInstance::askRunningInstance() {
    sockaddr_un address;
    if (!addressOf(m_path, &address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Connecting to a local socket does not wait: it is taken, or refused when nobody listens.
    const timeval bound{kAnswerMs / 1000, (kAnswerMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof(bound));
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &bound, sizeof(bound));
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return false;
    }
    if (::send(fd, kShowRequest.constData(), size_t(kShowRequest.size()), MSG_NOSIGNAL) !=
        kShowRequest.size()) {
        ::close(fd);
        return false;
    }
    // The running copy answers once its window is in front; a copy that hangs is no copy
    // this start can rely on, but it still holds the name, so this one gives way anyway.
    QByteArray answer;
    char buffer[64];
    while (!answer.contains('\n') && answer.size() < kMaxRequest) {
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got > 0)
            answer.append(buffer, got);
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    ::close(fd);
    qCInfo(lcInstance) << "another copy is running; answer:" << answer.trimmed();
    return true;
}

void SingleInstance::listen() {
    sockaddr_un address;
    if (!addressOf(m_path, &address)) {
        qCWarning(lcInstance) << "not listening: the name is too long" << m_name;
        return;
    }
    // A name left behind by a copy that crashed would block every later start; nobody
    // answered at it, under the lock, so it is no longer anyone's.
    ::unlink(m_path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    // Only this user may ask this copy to come forward.
    const mode_t before = ::umask(0077);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::umask(before);
    if (!bound || ::listen(fd, 8) != 0) {
        qCWarning(lcInstance) << "not listening as" << m_name << std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return;
    }
    m_listener = fd;
    m_accepting = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_accepting, &QSocketNotifier::activated, this, &SingleInstance::accept);
    qCInfo(lcInstance) << "listening as" << m_name;
}

void SingleInstance::accept() {
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        m_pending.insert(fd, {});
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, fd, notifier] { read(fd, notifier); });
    }
}

void SingleInstance::read(int fd, QSocketNotifier* notifier) {
    QByteArray& said = m_pending[fd];
    char buffer[64];
    ssize_t got;
    while ((got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0)
        said.append(buffer, got);
    if (got < 0 && (errno == EAGAIN || errno == EINTR) && !said.contains('\n') &&
        said.size() < kMaxRequest)
        return; // more is on its way
    const QByteArray request = said.left(said.indexOf('\n') + 1);
    if (request == kShowRequest) {
        qCInfo(lcInstance) << "activation requested";
        if (m_window)
            bringToFront(m_window);
        ::send(fd, kShownAnswer.constData(), size_t(kShownAnswer.size()), MSG_NOSIGNAL);
        drop(fd, notifier);
        emit activationRequested();
        return;
    }
    drop(fd, notifier);
}

void SingleInstance::drop(int fd, QSocketNotifier* notifier) {
    notifier->setEnabled(false);
    notifier->deleteLater();
    m_pending.remove(fd);
    ::close(fd);
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
