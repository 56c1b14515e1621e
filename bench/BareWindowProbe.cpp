// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// The floor for bench/startup: an empty Qt Widgets main window of Skyvane's default size,
// built with the same compiler and flags, that logs the same lines at the same moments as
// Skyvane does: when its show handler has run, and when its first frame has been drawn.
#include <QApplication>
#include <QLoggingCategory>
#include <QMainWindow>

Q_LOGGING_CATEGORY(lcApp, "skyvane.app")

namespace {

class BareWindow : public QMainWindow {
protected:
    void showEvent(QShowEvent* event) override {
        QMainWindow::showEvent(event);
        if (!m_shown) {
            m_shown = true;
            qCInfo(lcApp) << "main window shown";
        }
    }

    bool event(QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QMetaObject::invokeMethod(
                this, [] { qCInfo(lcApp) << "main window painted"; }, Qt::QueuedConnection);
        }
        return QMainWindow::event(event);
    }

private:
    bool m_shown = false;
    bool m_painted = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.resize(620, 438);
    window.show();
    return QApplication::exec();
}
