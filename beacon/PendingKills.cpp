// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/PendingKills.h"

#include "beacon/BeaconObject.h"
#include "beacon/Report.h"
#include "common/Clock.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcKills, "skyvane.kills")

namespace KillRepeats {

int gapAfter(int copiesSent) {
    return 60 << qBound(0, copiesSent - 1, 2);
}

QString info(const PendingKill& kill, const QDateTime& utc) {
    return Report::objectHeader(Report::nameField(kill.identifier, true), Report::timeStamp(utc),
                                kill.latitude, kill.table, kill.longitude, kill.code);
}

QString copyNote(int copy) {
    return QStringLiteral("killed, copy %1 of %2").arg(copy).arg(Copies);
}

} // namespace KillRepeats

PendingKills::PendingKills(Clock& clock, Services services, QObject* parent)
    : QObject(parent), m_clock(clock), m_services(std::move(services)), m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("KillTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &PendingKills::due);
}

PendingKill PendingKill::of(const BeaconObject& object, int slot, const QDateTime& made) {
    return {slot,
            object.identifier,
            object.latitude,
            object.longitude,
            object.table,
            object.code,
            made,
            0,
            made};
}

void PendingKills::add(const BeaconObject& object, int slot) {
    const PendingKill kill = PendingKill::of(object, slot, m_clock.nowUtc());
    forget(kill.identifier);
    m_kills.append(kill);
    qCInfo(lcKills).noquote() << kill.identifier << "killed: its report goes" << KillRepeats::Copies
                              << "times";
    emit changed();
    if (m_sending) {
        // Another copy is waiting for the link: this one follows it.
        rearm();
        return;
    }
    if (m_services.linkUp()) {
        due();
        return;
    }
    // Handed over while the link is coming back, so that the log shows it as not sent yet;
    // it goes once the link is back.
    sendCopy(kill, kill.made);
    rearm();
}

void PendingKills::restore(const QList<PendingKill>& stored) {
    const QDateTime now = m_clock.nowUtc();
    bool taken = false;
    for (const PendingKill& kill : stored) {
        const bool pending = std::any_of(m_kills.cbegin(), m_kills.cend(), [&](const auto& k) {
            return k.identifier == kill.identifier;
        });
        if (pending || m_finished.contains({kill.identifier, kill.made}) ||
            kill.copiesSent >= KillRepeats::Copies)
            continue;
        if (tooOld(kill, now))
            continue;
        m_kills.append(kill);
        taken = true;
    }
    if (!taken)
        return;
    emit changed();
    due();
}

void PendingKills::linkCameUp() {
    due();
}

bool PendingKills::tooOld(const PendingKill& kill, const QDateTime& now) const {
    if (kill.made.secsTo(now) <= KillRepeats::MaxAgeMinutes * 60)
        return false;
    qCInfo(lcKills).noquote() << kill.identifier << "was killed over" << KillRepeats::MaxAgeMinutes
                              << "minutes ago: it has timed out everywhere, so its last "
                                 "copies are dropped";
    return true;
}

void PendingKills::due() {
    // A send can wait for the link with window events running, and this timer among them.
    if (m_sending) {
        rearm();
        return;
    }
    const QDateTime now = m_clock.nowUtc();
    bool changes = false;
    const QList<PendingKill> snapshot = m_kills;
    for (const PendingKill& kill : snapshot) {
        bool over = tooOld(kill, now);
        if (!over && m_services.linkUp() && (!kill.nextAt.isValid() || kill.nextAt <= now)) {
            changes = true;
            // Nothing handed while the link is up: the report cannot be made (a callsign the
            // link refuses, its message shown), and trying again would change nothing.
            const int copies = sendCopy(kill, now);
            over = copies < 0 || copies >= KillRepeats::Copies;
        }
        if (over) {
            m_finished.append({kill.identifier, kill.made});
            m_kills.removeIf([&](const PendingKill& k) {
                return k.identifier == kill.identifier && k.made == kill.made;
            });
            changes = true;
        }
    }
    rearm();
    if (changes)
        emit changed();
}

int PendingKills::sendCopy(const PendingKill& kill, const QDateTime& now) {
    const int copy = kill.copiesSent + 1;
    m_sending = true;
    const bool handed =
        m_services.send(kill, KillRepeats::info(kill, now), KillRepeats::copyNote(copy));
    m_sending = false;
    // Found again: the list may have changed while the link was waited for.
    for (PendingKill& k : m_kills) {
        if (k.identifier != kill.identifier || k.made != kill.made)
            continue;
        if (!handed) {
            k.nextAt = {};
            return -1;
        }
        k.copiesSent = copy;
        k.nextAt = now.addSecs(KillRepeats::gapAfter(copy));
        return copy;
    }
    return handed ? copy : -1;
}

void PendingKills::liveSent(const QString& identifier) {
    if (!forget(identifier))
        return;
    qCInfo(lcKills).noquote() << identifier << "is on the air again: its kill is over";
    rearm();
    emit changed();
}

bool PendingKills::forget(const QString& identifier) {
    return m_kills.removeIf([&](const PendingKill& k) { return k.identifier == identifier; }) > 0;
}

void PendingKills::rearm() {
    if (m_kills.isEmpty()) {
        m_timer->stop();
        return;
    }
    // At least once a minute, so that a kill waiting for the link is dropped in time; never
    // sooner than a second, so that a clock set back or a copy waiting cannot make it spin.
    const QDateTime now = m_clock.nowUtc();
    qint64 wait = 60000;
    for (const PendingKill& k : m_kills)
        if (k.nextAt.isValid())
            wait = qMin(wait, now.msecsTo(k.nextAt));
    m_timer->start(int(std::clamp<qint64>(wait, 1000, 60000)));
}
