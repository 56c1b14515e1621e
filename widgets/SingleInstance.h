// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QWidget;

// Keeps one copy of the program per user and desktop. Constructing it does the whole check:
// when another copy of this user answers, that copy is asked to bring its window to the front
// and otherInstanceRunning() is true, and this process should end before showing anything.
// Otherwise this copy listens for later starts and brings window() forward when asked.
// The meeting place is a local socket in a folder only this user can write to
// ($XDG_RUNTIME_DIR, or a folder of the user's own checked for its owner and mode), so no
// other user can stand in for a running copy; and a running copy answers this user only.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    bool otherInstanceRunning() const { return m_otherRunning; }
    // The window a later start brings to the front.
    void setWindow(QWidget* window) { m_window = window; }
    const QString& name() const { return m_name; }
    // The socket's path; empty when no safe folder was found (the guard is then off).
    const QString& path() const { return m_path; }

    // Per display; $SKYVANE_INSTANCE replaces the display part, so that tests and a second
    // private copy can run beside an operator's own.
    static QString defaultName();
    // $XDG_RUNTIME_DIR when it is this user's own folder with mode 0700; else the folder
    // skyvane-UID in the temporary folder, made with mode 0700 if missing. Empty, with
    // `why` set, when that is not a folder of this user's alone.
    static QString folder(QString* why = nullptr);
    // Empty when `path` is a real folder (no link) owned by this user that nobody else may
    // enter, else why not.
    static QString folderProblem(const QString& path);
    // Restores a minimised window, shows and raises it, then activates it, or, while a modal
    // dialog is open, raises and activates that dialog above it.
    static void bringToFront(QWidget* window);

signals:
    // A later start asked this copy to come forward (after the window was brought forward).
    void activationRequested();

private:
    bool askRunningInstance();
    void listen();
    void accept();
    void read(QLocalSocket* caller);

    QString m_name;
    QString m_path;
    bool m_otherRunning = false;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_window;
};
