// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ObjectSlot.h"
#include "beacon/Report.h"
#include "support/ManualClock.h"
#include "support/SlotServices.h"
#include "support/TestDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// One object with no window: what it sends comes from its own state, never from a control.
struct Slot {
    explicit Slot(int index = 1) {
        ObjectSlotServices services = testSlotServices(markers, connected);
        services.decay = [this] { return decay; };
        slot = std::make_unique<ObjectSlot>(index, dialogs, clock, services);
        QObject::connect(slot.get(), &ObjectSlot::reportReady,
                         [this](int, const QString& info, const QString& to, const QString&) {
                             reports << to + QLatin1Char(':') + info;
                         });
        // The station repeats a kill; its first copy is the object's killed report as it
        // stands.
        QObject::connect(slot.get(), &ObjectSlot::killRequested,
                         [this](int, const BeaconObject& o) {
                             reports << QStringLiteral("APRS:") + Report::objectHeader(o);
                         });
        slot->setTimeStamp(QStringLiteral("061523z"));
    }
    void complete(const QString& name) {
        slot->setPosition(QStringLiteral("5130.00N"), QStringLiteral("00045.00W"));
        slot->setIdentifier(name);
        slot->setSymbol(4, QStringLiteral("/"), QStringLiteral(">"));
        slot->updateHeader();
    }

    TestDialogs dialogs;
    ManualClock clock;
    CommentMarkers markers;
    bool connected = true;
    bool decay = false;
    std::unique_ptr<ObjectSlot> slot;
    QStringList reports;
};

TEST(ObjectSlot, StartSendsAtOnceAndEveryIntervalUntilStopped) {
    Slot t;
    t.complete(QStringLiteral("CAR"));
    t.slot->setComment(QStringLiteral("Net tonight"));
    // Typed below the least interval: a Start holds it to ten minutes.
    t.slot->setInterval(3);
    QList<bool> running;
    QObject::connect(t.slot.get(), &ObjectSlot::runningChanged,
                     [&](int, bool on) { running << on; });
    ASSERT_TRUE(t.slot->start(false));
    EXPECT_TRUE(t.slot->timer()->isActive());
    EXPECT_EQ(t.reports, QStringList{"APRS:;CAR      *061523z5130.00N/00045.00W>Net tonight"});
    EXPECT_EQ(t.slot->object().interval, 10);
    for (int i = 0; i < 9; ++i)
        t.slot->tick();
    EXPECT_EQ(t.slot->intervalHint(), QStringLiteral("1 Mins remaining. "));
    EXPECT_EQ(t.reports.size(), 1);
    t.slot->tick();
    EXPECT_EQ(t.reports.size(), 2);
    t.slot->stop();
    t.slot->tick();
    EXPECT_EQ(t.reports.size(), 2);
    EXPECT_FALSE(t.slot->timer()->isActive());
    EXPECT_EQ(running, (QList<bool>{true, false}));
}

TEST(ObjectSlot, RefusalsComeInOrderAndATimedOneNeverStacks) {
    Slot t;
    t.connected = false;
    QStringList refused;
    QObject::connect(t.slot.get(), &ObjectSlot::refused,
                     [&](int, const QString& text) { refused << text; });
    EXPECT_FALSE(t.slot->start(false));
    t.connected = true;
    EXPECT_FALSE(t.slot->start(false));
    t.complete(QStringLiteral("CAR"));
    ASSERT_TRUE(t.slot->start(false));
    EXPECT_EQ(refused, (QStringList{"Not connected to host.", "An Identifier is required."}));
    EXPECT_EQ(t.dialogs.texts(), refused);
    EXPECT_TRUE(t.slot->running());
}

TEST(ObjectSlot, TheKilledReportHasNoCommentAndTheFileIsReadAtEverySend) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("park.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("06/03/26 14:30\r\n$ Open\r\n");
    file.close();
    Slot t;
    t.complete(QStringLiteral("CAR"));
    t.slot->setCommentFile(path);
    t.slot->setUseCommentFile(true);
    QStringList shown;
    QObject::connect(t.slot.get(), &ObjectSlot::sending,
                     [&](int, const QString& comment, bool) { shown << comment; });
    t.slot->send();
    ASSERT_EQ(t.reports.size(), 1);
    EXPECT_TRUE(t.reports[0].endsWith(QStringLiteral(">1430 Open"))) << t.reports[0].toStdString();
    // The object keeps the marker; what went out is shown while it goes.
    EXPECT_EQ(t.slot->object().comment, QStringLiteral("$ Open"));
    EXPECT_EQ(shown, QStringList{"1430 Open"});
    EXPECT_TRUE(t.slot->nextReport().info.endsWith(QStringLiteral("1430 Open")));

    t.slot->sendKilled();
    ASSERT_EQ(t.reports.size(), 2);
    EXPECT_EQ(t.reports[1], QStringLiteral("APRS:;CAR      _061523z5130.00N/00045.00W>"));
}

// The minutes at which an object sends, from its Start, over `minutes` ticks; with the decay
// on, a change to the running object at `changeAt` (settled at once) starts it again.
QList<int> sendMinutes(bool decay, int interval, int minutes, int changeAt = -1) {
    Slot t;
    t.decay = decay;
    t.complete(QStringLiteral("CAR"));
    t.slot->setInterval(interval);
    t.slot->start(false);
    // The line under the header tells the next send, decay or interval alike.
    EXPECT_EQ(t.slot->nextReport().minutesLeft, decay ? 1 : interval);
    QList<int> at{0};
    for (int minute = 1; minute <= minutes; ++minute) {
        const qsizetype before = t.reports.size();
        t.slot->tick();
        if (minute == changeAt) {
            t.slot->setComment(QStringLiteral("Moved"));
            EXPECT_EQ(t.slot->settleTimer()->isActive(), decay);
            t.slot->settled();
        }
        if (t.reports.size() > before)
            at << minute;
    }
    return at;
}

// With the decay, a Start sends at once and again after 1, 2, 4... minutes until the gap would
// reach the interval, then every interval; a change to the running object starts it again.
// Without it, the interval grid of today.
TEST(ObjectSlot, TheDecaySendsSoonAfterAStartOrAChangeThenSettlesOnTheInterval) {
    EXPECT_EQ(sendMinutes(false, 10, 30), (QList<int>{0, 10, 20, 30}));
    EXPECT_EQ(sendMinutes(true, 10, 40), (QList<int>{0, 1, 3, 7, 15, 25, 35}));
    EXPECT_EQ(sendMinutes(true, 30, 70), (QList<int>{0, 1, 3, 7, 15, 31, 61}));
    EXPECT_EQ(sendMinutes(true, 10, 20, 5), (QList<int>{0, 1, 3, 5, 6, 8, 12, 20}));
    EXPECT_EQ(sendMinutes(false, 10, 20, 5), (QList<int>{0, 10, 20}));
}

} // namespace
