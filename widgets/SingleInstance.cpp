// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QWidget>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "skyvane.instance")

namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kShownAnswer = "shown\n";
constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 3000;

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
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return name;
}

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_name(name) {
    // Two copies started together must not both decide they are first: the check and the
    // start of listening happen under a lock.
    QLockFile lock(QDir::temp().filePath(m_name + QStringLiteral(".lock")));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(5000))
        qCWarning(lcInstance) << "instance lock not taken:" << lock.error();
    if (askRunningInstance()) {
        m_otherRunning = true;
        return;
    }
    listen();
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    // The running copy answers once its window is in front; a copy that hangs is no copy
    // this start can rely on, but it still holds the name, so this one gives way anyway.
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerMs)) {
    }
    qCInfo(lcInstance) << "another copy is running; answer:" << socket.readLine().trimmed();
    return true;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A name left behind by a copy that crashed would block every later start.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        qCWarning(lcInstance) << "not listening as" << m_name << m_server->errorString();
        return;
    }
    qCInfo(lcInstance) << "listening as" << m_name;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray request = socket->readLine();
            if (request != kShowRequest) {
                socket->disconnectFromServer();
                return;
            }
            qCInfo(lcInstance) << "activation requested";
            if (m_window)
                bringToFront(m_window);
            socket->write(kShownAnswer);
            socket->flush();
            emit activationRequested();
        });
    }
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
