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

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

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
    const AppSettings s = AppSettings::load(m_settingsPath, &error);
    m_settingsUnreadable = !error.isEmpty();
    if (!error.isEmpty()) {
        qCWarning(lcApp) << "settings not read:" << error;
        m_dialogs.error(error + QStringLiteral("\n\nSkyvane starts with its default settings."));
    }
    m_linkControl->setStation(s.station);
    m_linkControl->setLinkSettings(s.link);
    m_mapPath = s.map;
    m_dateFormat = s.date;
    m_dateIndex = s.dateIndex;
    m_metric = s.metric;
    m_hints = s.hints;
    FormBounds bounds = s.form;
    if (!reachable(QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height)))
        bounds = FormBounds();
    move(bounds.Left, bounds.Top);
    resize(bounds.Width, bounds.Height);
    for (int k = 0; k < 3; ++k)
        m_panels[k]->setInterval(s.timers[size_t(k)]);
}

AppSettings TForm1::currentSettings() const {
    AppSettings s;
    s.station = station();
    s.link = linkSettings();
    s.map = m_mapPath;
    s.date = m_dateFormat;
    s.dateIndex = m_dateIndex;
    s.metric = m_metric;
    s.hints = m_hints;
    if (isMaximized() || isMinimized() || isFullScreen()) {
        // Come back at the size the user gave the window, not as a full screen or an icon.
        const QRect normal = normalGeometry();
        s.form = {normal.x(), normal.y(), normal.width(), normal.height()};
    } else {
        s.form = {x(), y(), width(), height()};
    }
    s.timers = {m_panels[0]->interval(), m_panels[1]->interval(), m_panels[2]->interval()};
    return s;
}

bool TForm1::saveSettings() {
    QString error;
    QString keptAs;
    if (currentSettings().save(m_settingsPath, &error, m_settingsUnreadable, &keptAs)) {
        m_settingsUnreadable = false;
        if (!keptAs.isEmpty())
            m_dialogs.information(IniFile::keptAsideMessage(m_settingsPath, keptAs));
        return true;
    }
    qCWarning(lcApp) << "settings not written:" << error;
    m_dialogs.error(QStringLiteral("Unable to write to %1").arg(m_settingsPath));
    return false;
}
