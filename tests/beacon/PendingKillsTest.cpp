// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/PendingKills.h"
#include "beacon/BeaconObject.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

namespace {

// The repeats against a link the test raises and drops; each copy handed over is kept as
// "seconds since the start: information field (note)".
struct Kills {
    Kills() {
        PendingKills::Services s;
        s.linkUp = [this] { return up; };
        s.send = [this](const PendingKill&, const QString& info, const QString& note) {
            if (!up) {
                notSent << info;
                return false;
            }
            sent << QStringLiteral("%1: %2 (%3)").arg(start.secsTo(clock.nowUtc())).arg(info, note);
            return true;
        };
        kills = std::make_unique<PendingKills>(clock, s);
        QObject::connect(kills.get(), &PendingKills::changed, [this] { ++changes; });
    }
    static BeaconObject object(const QString& name) {
        BeaconObject o;
        o.identifier = name;
        o.latitude = QStringLiteral("5130.00N");
        o.longitude = QStringLiteral("00045.00W");
        o.table = QStringLiteral("/");
        o.code = QStringLiteral("A");
        return o;
    }
    // Minute by minute, as the timer would wake it.
    void runMinutes(int minutes) {
        for (int i = 0; i < minutes * 2; ++i) {
            clock.advanceSecs(30);
            kills->due();
        }
    }

    ManualClock clock;
    QDateTime start = clock.nowUtc();
    bool up = true;
    QStringList sent;
    QStringList notSent;
    int changes = 0;
    std::unique_ptr<PendingKills> kills;
};

// Four copies, each well over 30 s after the one before, with a fresh time stamp; then the
// kill is over and the timer rests.
TEST(PendingKills, AKillGoesFourTimesWithDoublingGapsThenEnds) {
    Kills t;
    t.kills->add(Kills::object(QStringLiteral("AID1")), 2);
    t.runMinutes(10);
    EXPECT_EQ(t.sent, (QStringList{
                          "0: ;AID1     _061523z5130.00N/00045.00WA (killed, copy 1 of 4)",
                          "60: ;AID1     _061524z5130.00N/00045.00WA (killed, copy 2 of 4)",
                          "180: ;AID1     _061526z5130.00N/00045.00WA (killed, copy 3 of 4)",
                          "420: ;AID1     _061530z5130.00N/00045.00WA (killed, copy 4 of 4)",
                      }));
    EXPECT_TRUE(t.kills->kills().isEmpty());
    EXPECT_FALSE(t.kills->timer()->isActive());
}

// A kill made while the link is coming back is recorded as not sent and goes once the link is
// back, its gaps counted from then; a second kill of another name runs beside it, a second
// Delete of the same name starts it again, and our own live report of that name ends it.
TEST(PendingKills, KillsWaitForTheLinkRunSideBySideAndEndWhenTheNameLivesAgain) {
    Kills t;
    t.up = false;
    t.kills->add(Kills::object(QStringLiteral("AID1")), 1);
    EXPECT_EQ(t.notSent.size(), 1);
    t.runMinutes(5);
    EXPECT_TRUE(t.sent.isEmpty());
    t.up = true;
    t.kills->linkCameUp();
    t.kills->add(Kills::object(QStringLiteral("AID2")), 1);
    EXPECT_EQ(t.sent, (QStringList{
                          "300: ;AID1     _061528z5130.00N/00045.00WA (killed, copy 1 of 4)",
                          "300: ;AID2     _061528z5130.00N/00045.00WA (killed, copy 1 of 4)",
                      }));
    t.runMinutes(1);
    EXPECT_EQ(t.sent.size(), 4);
    t.kills->add(Kills::object(QStringLiteral("AID1")), 3); // deleted again: starts over
    t.kills->liveSent(QStringLiteral("AID2"));
    t.sent.clear();
    t.runMinutes(8);
    EXPECT_EQ(t.sent.size(), 3) << t.sent.join('\n').toStdString();
    for (const QString& s : t.sent)
        EXPECT_TRUE(s.contains(";AID1 ")) << s.toStdString();
    EXPECT_TRUE(t.kills->kills().isEmpty());
}

// What a file kept: a kill goes on where it stopped, one finished in this run or one older
// than the longest interval does not; a kill that waits for a link that never comes back is
// dropped at that age too.
TEST(PendingKills, StoredKillsGoOnWhereTheyStoppedUnlessTooOld) {
    Kills t;
    PendingKill half =
        PendingKill::of(Kills::object(QStringLiteral("AID1")), 1, t.start.addSecs(-200));
    half.copiesSent = 2;
    half.nextAt = t.start.addSecs(-20);
    PendingKill old = half;
    old.identifier = QStringLiteral("OLD");
    old.made = t.start.addSecs(-121 * 60);
    t.kills->restore({half, old});
    EXPECT_EQ(t.sent,
              QStringList{"0: ;AID1     _061523z5130.00N/00045.00WA (killed, copy 3 of 4)"});
    t.runMinutes(5);
    EXPECT_EQ(t.sent.size(), 2);
    t.kills->restore({half}); // the same file read again
    EXPECT_EQ(t.sent.size(), 2);

    t.up = false;
    t.kills->add(Kills::object(QStringLiteral("LATE")), 1);
    t.runMinutes(121);
    EXPECT_TRUE(t.kills->kills().isEmpty());
    EXPECT_FALSE(t.kills->timer()->isActive());
}

} // namespace
