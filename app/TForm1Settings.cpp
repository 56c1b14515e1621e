// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
// The main window's settings: where they live, and reading and writing them.
#include "app/TForm1.h"

#include "beacon/ObjectPanel.h"
#include "common/Dialogs.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "settings/AppSettings.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "settings/WindowPlacement.h"
#include "station/Station.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QStyle>

namespace {

// Stored bounds from another screen layout (a monitor since unplugged) would put the window
// where nobody can reach it: some of its top edge must lie on a screen, and it must be usable.
bool reachable(const QRect& bounds) {
    if (bounds.width() < 200 || bounds.height() < 150)
        return false;
    const QRect titleBand(bounds.left(), bounds.top(), bounds.width(), 40);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(titleBand);
        if (overlap.width() >= 50 && overlap.height() >= 20)
            return true;
    }
    return false;
}

// The part of the screen the window opens on that panels leave free.
QRect screenFor(const FormBounds& bounds) {
    const QScreen* screen = QGuiApplication::screenAt(QPoint(bounds.Left, bounds.Top));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, bounds.Width, bounds.Height);
}

// The title bar and borders the window manager will put round the window. Before the window
// is first mapped they are not known; a title bar's height and thin borders are assumed then.
QMargins expectedFrame(const QWidget& window) {
    const QRect inside = window.geometry();
    const QRect outside = window.frameGeometry();
    if (outside != inside)
        return {inside.left() - outside.left(), inside.top() - outside.top(),
                outside.right() - inside.right(), outside.bottom() - inside.bottom()};
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {4, title + 4, 4, 4};
}

} // namespace

QString TForm1::defaultSettingsPath() {
    const QString program = QCoreApplication::applicationFilePath();
    return defaultSettingsPathFor(program,
                                  QFileInfo(QFileInfo(program).absolutePath()).isWritable(),
                                  qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

QString TForm1::defaultSentLogFolder() {
    return SentLog::defaultFolder(qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath());
}

QString TForm1::defaultHelpPath() {
    return helpDocumentPathFor(QCoreApplication::applicationFilePath());
}

void TForm1::loadSettings() {
    const bool firstStart = !QFileInfo::exists(m_settingsPath);
    QString error;
    if (!m_station->loadSettings(&error))
        m_dialogs.error(error + QStringLiteral("\n\nSkyvane starts with its default settings."));
    const AppSettings& s = m_station->settings();
    FormBounds bounds = s.form;
    if (!reachable(QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height)))
        bounds = FormBounds();
    if (firstStart)
        bounds = wholeOnScreen(bounds, expectedFrame(*this), screenFor(bounds));
    move(bounds.Left, bounds.Top);
    resize(bounds.Width, bounds.Height);
    for (int k = 0; k < 3; ++k)
        m_panels[k]->setInterval(s.timers[size_t(k)]);
}

void TForm1::storeWindowState() {
    if (isMaximized() || isMinimized() || isFullScreen()) {
        // Come back at the size the user gave the window, not as a full screen or an icon.
        const QRect normal = normalGeometry();
        m_station->setFormBounds({normal.x(), normal.y(), normal.width(), normal.height()});
    } else {
        m_station->setFormBounds({x(), y(), width(), height()});
    }
    storeMapState();
}

bool TForm1::saveSettings() {
    storeWindowState();
    return m_station->saveSettings();
}

const StationSettings& TForm1::station() const {
    return m_station->station();
}
const LinkSettings& TForm1::linkSettings() const {
    return m_station->linkSettings();
}
const QString& TForm1::mapPath() const {
    return m_station->mapPath();
}
const QString& TForm1::dateFormat() const {
    return m_station->settings().date;
}
int TForm1::dateIndex() const {
    return m_station->settings().dateIndex;
}
bool TForm1::metric() const {
    return m_station->settings().metric;
}
bool TForm1::hints() const {
    return m_station->settings().hints;
}
