// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "links/Ax25.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// A report handed to the link, as a copy of it heard on the channel must match it.
struct SentReport {
    int slot = 0;       // 0..2
    QString identifier; // the name the operator knows the object by
    QString source;     // the callsign it went out from
    QByteArray info;    // the information field exactly as sent
    QDateTime utc;
    int windowSeconds = 600; // a copy counts when heard this long after the send at most
    QStringList path;        // the digipeater entries it went out with ("WIDE1-1", "WIDE2-1")
};

// A copy of a sent report heard on the channel.
struct HeardCopy {
    QDateTime utc;
    // The stations that repeated it ("DIGI1", "DIGI1, DIGI2", "a digipeater (WIDE1)",
    // "the internet gateway IGATE"); empty when heard direct.
    QString via;
};

// Another station sends an object of the same name as one of ours.
struct NameClash {
    QString call;
    QDateTime utc;
};

// What became of each object's last report: the copies of it heard on the channel, through
// which digipeaters, and other stations sending an object of the same name. Pure bookkeeping:
// frames come in decoded, with the time they were heard.
class HeardReports {
public:
    static constexpr int Slots = 3;

    // What one received frame meant.
    struct Outcome {
        int slot = -1;         // a copy of this slot's last report
        QString via;           // for that copy; empty when direct
        bool newPath = false;  // the first copy through this digipeater (or direct)
        int clashSlot = -1;    // another station's object of this slot's name
        bool newClash = false; // the first such frame from that station
    };

    void sent(const SentReport& report);
    Outcome heard(const Ax25Frame& frame, const QDateTime& utc);

    const std::optional<SentReport>& last(int slot) const { return m_slots[size_t(slot)].last; }
    const QList<HeardCopy>& copies(int slot) const { return m_slots[size_t(slot)].copies; }
    const std::optional<NameClash>& clash(int slot) const { return m_slots[size_t(slot)].clash; }

    // "Sent 12:03:05, heard via DIGI1 12:03:06, WIDE2 12:03:09", "Sent 12:03:05, not heard yet";
    // "not heard" once the report's window has passed at `now`. Only "Sent 12:03:05" when the
    // link hears nothing (`listening` false). Empty before the slot's first report. UTC times.
    QString fateText(int slot, bool listening, const QDateTime& now) const;
    // "AID1 is also sent by G4XYZ (12:04)"; empty when nobody else sends our name.
    QString clashText(int slot) const;

    // "N0CALL-0", "n0call" and "N0CALL-00" are "N0CALL": callsigns as an AX.25 address
    // carries them.
    static QString normalCall(const QString& call);
    // Who repeated a copy heard with `path` (and its has-been-repeated bits) that went out
    // with `sentPath`: the stations named in the path up to the last repeated address, passing
    // over aliases (WIDEn, TRACEn, RELAY, WIDE and what we sent ourselves); "a digipeater
    // (WIDE1)" when only an alias says so. A path that differs from the one sent was repeated
    // even with no bit set. Empty when heard direct.
    static QString repeatedBy(const QStringList& path, const QList<bool>& repeated,
                              const QStringList& sentPath);

private:
    struct Slot {
        std::optional<SentReport> last;
        QString source;       // normalCall(last->source)
        QByteArray nameField; // the object's name and its padding, when the report is an object
        QList<HeardCopy> copies;
        std::optional<NameClash> clash;
        QSet<QString> clashCalls; // told about once each
    };
    std::array<Slot, Slots> m_slots;
};
