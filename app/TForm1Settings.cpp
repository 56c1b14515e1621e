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

#include <algorithm>

namespace {

// The screen holding most of the stored window, or none when no part of it lies on a screen
// (bounds from another screen layout, a monitor since unplugged).
const QScreen* screenHolding(const FormBounds& bounds) {
    const QRect rect(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    const QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->geometry().intersected(rect);
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The title bar and borders the window manager will put round the window. Before the window
// is first mapped, or with no window manager, there is no title bar to measure: one of the
// style's height and thin borders are assumed then, so the title bar fits when it comes.
QMargins expectedFrame(const QWidget& window) {
    const QRect inside = window.geometry();
    const QRect outside = window.frameGeometry();
    const QMargins measured(inside.left() - outside.left(), inside.top() - outside.top(),
                            outside.right() - inside.right(), outside.bottom() - inside.bottom());
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    if (measured.top() >= title)
        return measured;
    return {std::max(measured.left(), 4), title + 4, std::max(measured.right(), 4),
            std::max(measured.bottom(), 4)};
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
    QString error;
    if (!m_station->loadSettings(&error))
        m_dialogs.error(error + QStringLiteral("\n\nSkyvane starts with its default settings."));
    const AppSettings& s = m_station->settings();
    FormBounds bounds = s.form;
    const QScreen* screen = screenHolding(bounds);
    // A window too small to use, or on no screen at all, starts again where a new one does.
    if (bounds.Width < 200 || bounds.Height < 150 || !screen) {
        bounds = FormBounds();
        screen = QGuiApplication::primaryScreen();
    }
    // Placed at the size it will have: the window is never smaller than its controls need.
    const QSize least = minimumSizeHint().expandedTo(minimumSize());
    bounds.Width = std::max(bounds.Width, least.width());
    bounds.Height = std::max(bounds.Height, least.height());
    // Partly off its screen or under a panel, title bar included: moved (and if it must be,
    // made smaller) until the whole window can be seen and dragged.
    if (screen)
        bounds = wholeOnScreen(bounds, expectedFrame(*this), screen->availableGeometry());
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
