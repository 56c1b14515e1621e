// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

// Acts on a modal dialog that the code under test opens with exec(): once the dialog of that
// object name is the active modal window, `action` runs on it, once; the action must close
// it. The watch ends with its scope, so it never acts on a later test's dialog.
class ModalWatch {
public:
    ModalWatch(const QString& objectName, std::function<void(QDialog*)> action) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, objectName, action] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != objectName)
                return;
            m_timer.stop();
            ++m_runs;
            action(dialog);
        });
        m_timer.start();
    }
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    bool ran() const { return m_runs > 0; }

private:
    QTimer m_timer;
    int m_runs = 0;
};

// Makes the window the active one, as a click on it would, so that focus and keys reach it.
inline bool activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

template <class T> T* child(const QWidget* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}
