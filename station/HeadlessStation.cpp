// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/HeadlessStation.h"

#include "links/LinkControl.h"
#include "settings/SettingsLock.h"
#include "station/HeadlessDialogs.h"
#include "station/Station.h"

#include <QFileInfo>

HeadlessStation::HeadlessStation(HeadlessDialogs& dialogs, Clock& clock,
                                 const QString& settingsPath, const QString& sentLogFolder,
                                 QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_settingsPath(settingsPath) {
    m_station = new Station(dialogs, clock, settingsPath, sentLogFolder, this);
}

HeadlessStation::~HeadlessStation() = default;

std::optional<int> HeadlessStation::start() {
    // Nothing may be written before the files have been read whole: a copy started on the
    // wrong path must not leave a file of defaults behind.
    if (!QFileInfo(m_settingsPath).isFile()) {
        m_dialogs.line(QStringLiteral("The settings file %1 does not exist.").arg(m_settingsPath),
                       HeadlessDialogs::Priority::Error);
        return 2;
    }
    m_lock = std::make_unique<SettingsLock>(m_settingsPath);
    if (!m_lock->held()) {
        m_dialogs.line(m_lock->refusal(m_settingsPath), HeadlessDialogs::Priority::Error);
        return 1;
    }
    QString error;
    if (!m_station->loadSettings(&error)) {
        m_dialogs.line(error, HeadlessDialogs::Priority::Error);
        return 2;
    }
    Station& s = *m_station;
    if (s.mapPath().isEmpty()) {
        m_dialogs.line(QStringLiteral("The settings file %1 names no map: load one in the window "
                                      "first, so that its objects file is known.")
                           .arg(m_settingsPath),
                       HeadlessDialogs::Priority::Error);
        return 2;
    }
    const QString objects = s.objectsPath();
    if (!QFileInfo(objects).isFile()) {
        m_dialogs.line(QStringLiteral("The objects file %1 does not exist.").arg(objects),
                       HeadlessDialogs::Priority::Error);
        return 2;
    }
    // An unreadable file has been reported as its one line.
    if (!s.readObjects())
        return 2;
    s.setObjectsOpen(true);
    s.readTime();

    const auto running = s.storedRunning();
    if (!running[0] && !running[1] && !running[2])
        m_dialogs.line(QStringLiteral("No object of %1 was running when it was last saved "
                                      "(Running=1): none is started.")
                           .arg(objects),
                       HeadlessDialogs::Priority::Warning);
    LinkControl& link = s.link();
    // The packet engine's idle reconnect every 15 s says "Connected" again: not news, and
    // a journal would fill with it.
    connect(&link, &LinkControl::statusChanged, this, [this, &link](const QString& text) {
        if (text == m_lastStatus)
            return;
        m_lastStatus = text;
        // A link lost while the objects run is worth a look; a link up is routine.
        m_dialogs.line(text, link.reconnecting() ? HeadlessDialogs::Priority::Warning
                                                 : HeadlessDialogs::Priority::Info);
    });
    // What went on the air, as the sent-reports log has it; what could not go is a warning.
    connect(&link, &LinkControl::frameRecorded, this, [this](const SentRecord& r) {
        if (r.heard)
            return;
        const QString what = QStringLiteral("%1 on %2: %3").arg(r.identifier, r.link, r.monitor);
        if (r.sent)
            m_dialogs.line(QStringLiteral("Sent ") + what, HeadlessDialogs::Priority::Notice);
        else
            m_dialogs.line(QStringLiteral("Not sent (%1): ").arg(r.message) + what,
                           HeadlessDialogs::Priority::Warning);
    });
    // A clock not set is worth a look; its coming right is routine.
    connect(&s, &Station::clockStatus, this, [this, &s](const QString& text) {
        m_dialogs.line(text, s.clockUnsynchronised() ? HeadlessDialogs::Priority::Warning
                                                     : HeadlessDialogs::Priority::Info);
    });
    s.checkClock();
    s.resumeWhenConnected();
    // Nobody is there to read a box: an engine not up yet, or one that goes away later, is
    // retried while the objects keep their schedule.
    if (!link.connectLink(true))
        return 1;
    return std::nullopt;
}

int HeadlessStation::stop() {
    const QStringList lost = m_station->shutDown();
    if (lost.isEmpty())
        return 0;
    m_dialogs.line(QStringLiteral("Not saved: %1.").arg(lost.join(QStringLiteral(" and "))),
                   HeadlessDialogs::Priority::Error);
    return 1;
}

QString HeadlessStation::serviceStatus() const {
    const Station& s = *m_station;
    QStringList running;
    for (int k = 0; k < 3; ++k)
        if (s.slot(k).running())
            running << (s.slot(k).weatherMode() ? s.station().MyCall
                                                : s.slot(k).object().identifier);
    return s.link().stateText() + QStringLiteral("; objects running: ") +
           (running.isEmpty() ? QStringLiteral("none") : running.join(QStringLiteral(", ")));
}
