// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

// Keeps one copy of the program per user and desktop. Constructing it does the whole check:
// when another copy answers, that copy is asked to bring its window to the front and
// otherInstanceRunning() is true, and this process should end before showing anything.
// Otherwise this copy listens for later starts and brings window() forward when asked.
// The meeting place is a Unix socket in the temporary folder, spoken to with plain system
// calls: the window must not wait for a network library and its chain of libraries to load.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    bool otherInstanceRunning() const { return m_otherRunning; }
    // The window a later start brings to the front.
    void setWindow(QWidget* window) { m_window = window; }
    const QString& name() const { return m_name; }

    // Per user and display; $SKYVANE_INSTANCE replaces the display part, so that tests and
    // a second private copy can run beside an operator's own.
    static QString defaultName();
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
    void read(int fd, QSocketNotifier* notifier);
    void drop(int fd, QSocketNotifier* notifier);

    QString m_name;
    QByteArray m_path; // of the socket
    bool m_otherRunning = false;
    int m_listener = -1;
    QSocketNotifier* m_accepting = nullptr;
    QHash<int, QByteArray> m_pending; // per caller, what it said so far
    QPointer<QWidget> m_window;
};
