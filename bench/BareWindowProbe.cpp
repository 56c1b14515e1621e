// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// The floor for bench/startup: an empty Qt Widgets main window of Skyvane's default size,
// built with the same compiler and flags, that logs the same line at the same moment as
// Skyvane does (when its show handler has run).
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

private:
    bool m_shown = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.resize(620, 438);
    window.show();
    return QApplication::exec();
}
