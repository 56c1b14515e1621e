// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class Clock;
struct BeaconObject;

// A deleted object whose killed report is still being repeated.
struct PendingKill {
    int slot = 0; // the object 1..3 it was deleted from, for the sent-reports log
    QString identifier;
    QString latitude;
    QString longitude;
    QString table;
    QString code;
    QDateTime made; // UTC: when the operator asked for it
    int copiesSent = 0;
    // UTC: when the next copy is due. Invalid: the first copy waits for the link.
    QDateTime nextAt;

    // The kill of `object`, deleted from slot 1..3 at `made`; its first copy due then.
    static PendingKill of(const BeaconObject& object, int slot, const QDateTime& made);

    bool operator==(const PendingKill&) const = default;
};

namespace KillRepeats {

// On a shared channel one frame in several is lost, so a single killed report often never
// arrives and the object stays on maps until it times out. Four copies: at once, then after
// 1, 2 and 4 minutes. Every gap is well clear of the 30 s in which digipeaters drop a repeat
// of the same frame, and the doubling spreads the copies over different moments of a busy
// channel, as new information is spread in APRS, while all of them are out within 7 minutes.
inline constexpr int Copies = 4;
// Seconds between copy `copiesSent` and the next one.
int gapAfter(int copiesSent);
// By 120 minutes (the longest interval) the object has timed out on every map: a kill older
// than that is no use.
inline constexpr int MaxAgeMinutes = 120;

// The killed report of `kill` as it goes at `utc`: its time stamp renewed, no comment.
QString info(const PendingKill& kill, const QDateTime& utc);
// "killed, copy 2 of 4", as the sent-reports log shows a copy.
QString copyNote(int copy);

} // namespace KillRepeats

// The killed reports still to repeat. They belong to the station, not to an object slot: a new
// object in the emptied slot, or another Delete, stops none of them. A copy goes only while
// the link can carry it; what fell due while it was down goes once it is back, and the gaps
// count from then.
class PendingKills : public QObject {
    Q_OBJECT
public:
    struct Services {
        // A report handed to the link now goes on the air.
        std::function<bool()> linkUp;
        // Hands one copy to the link; false when nothing was handed (the link is coming back:
        // recorded as not sent).
        std::function<bool(const PendingKill& kill, const QString& info, const QString& note)> send;
    };

    PendingKills(Clock& clock, Services services, QObject* parent = nullptr);

    const QList<PendingKill>& kills() const { return m_kills; }
    // Wakes the repeats ("KillTimer"); its handler is due().
    QTimer* timer() const { return m_timer; }

    // The operator killed `object` of slot 1..3: its first copy goes now, or when the link is
    // back. A kill pending for the same name starts again.
    void add(const BeaconObject& object, int slot);
    // Kills kept in a file: each one not already pending, not finished in this run and not too
    // old goes on where it stopped.
    void restore(const QList<PendingKill>& stored);
    // The link is back: whatever is due goes now.
    void linkCameUp();
    // The timer's handler: drops kills too old, sends the copies due.
    void due();
    // One of our objects went on the air alive under this name: its kill is over.
    void liveSent(const QString& identifier);

signals:
    // The list changed: what the objects file keeps of it.
    void changed();

private:
    // Hands the next copy of `kill` to the link: the copies it has now, -1 when nothing was
    // handed (it then waits for the link).
    int sendCopy(const PendingKill& kill, const QDateTime& now);
    // Older than the longest interval: said in the log.
    bool tooOld(const PendingKill& kill, const QDateTime& now) const;
    void rearm();
    bool forget(const QString& identifier);

    Clock& m_clock;
    Services m_services;
    QTimer* m_timer;
    QList<PendingKill> m_kills;
    bool m_sending = false; // a copy is being handed to the link
    // Name and moment of the kills finished in this run: a file written before they finished
    // does not start them again.
    QList<QPair<QString, QDateTime>> m_finished;
};
