// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ObjectSlot.h"
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
        slot = std::make_unique<ObjectSlot>(index, dialogs, clock,
                                            testSlotServices(markers, connected));
        QObject::connect(slot.get(), &ObjectSlot::reportReady,
                         [this](int, const QString& info, const QString& to, const QString&) {
                             reports << to + QLatin1Char(':') + info;
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

} // namespace
