// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/ModalWatchdog.h"

#include <QApplication>
#include <QDialog>
#include <gtest/gtest.h>

ModalWatchdog::ModalWatchdog(int boundMs) : m_boundMs(boundMs) {
    // A tenth of the bound, so a dialog is closed soon after its time is up.
    m_timer.setInterval(std::max(10, boundMs / 10));
    QObject::connect(&m_timer, &QTimer::timeout, [this] { check(); });
    m_timer.start();
}

void ModalWatchdog::check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != m_watched) {
        m_watched = modal;
        m_openFor.start();
        return;
    }
    if (!modal || m_openFor.elapsed() < m_boundMs)
        return;
    const QString title = modal->windowTitle();
    ADD_FAILURE() << "The dialog \"" << title.toStdString() << "\" was still open after "
                  << m_boundMs << " ms; the watchdog rejected it";
    ++m_rejected;
    m_watched = nullptr;
    const QPointer<QWidget> guard(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->done(QDialog::Rejected);
    else
        modal->close();
    // A dialog that ignores even that is hidden, which ends its event loop all the same.
    if (guard && guard->isVisible())
        guard->hide();
}
