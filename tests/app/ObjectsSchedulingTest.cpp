// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "links/LinkControl.h"
#include "map/MapView.h"
#include "station/Station.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"
#include "widgets/TSpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

// The main window connected to a packet engine on 127.0.0.1, at 12:00 UTC on 6 March.
class ObjectScheduling : public ObjectsFixture {
protected:
    void SetUp() override {
        m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(12, 0), Qt::UTC));
        start();
        editStation(*m_form, [&](StationSettings& s) { s.MyCall = "G4ABC-1"; });
        editLink(*m_form, [&](LinkSettings& s) { s.IPAddr = "127.0.0.1"; });
        editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = m_engine.port(); });
        m_form->link()->setBusyInterval(1);
        connectLink();
    }
    void connectLink() {
        m_form->btnConnect1Click();
        ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
        ASSERT_TRUE(m_engine.hasPeer());
    }
    TSpinEdit* interval(int k) const {
        return find<TSpinEdit>((QByteArray("spinInterval") + suffix(k)).constData());
    }
    QTimer* timer(int k) const {
        return k == 0   ? m_form->panel(0)->timer()
               : k == 1 ? m_form->panel(1)->timer()
                        : m_form->panel(2)->timer();
    }
    // One minute passes: the clock moves on and the object's timer fires.
    void minute(int k) {
        m_clock.advanceSecs(60);
        m_form->stationCore().slot(k).tick();
    }
    void minutes(int k, int n) {
        for (int i = 0; i < n; ++i)
            minute(k);
    }
    // The time stamps of the reports received so far.
    QStringList stamps() const {
        QStringList out;
        for (const QString& info : m_engine.infos())
            out << info.mid(11, 7);
        return out;
    }
    // Everything the link sent so far has come.
    void settle() { ASSERT_TRUE(m_engine.sync(*m_form->link())); }
    // Buttons are usable again once the busy period of the last frame is over.
    void idle() {
        ASSERT_TRUE(waitUntil([&] { return !m_form->link()->isBusy(); }));
    }
    void click(const char* base, int k) {
        idle();
        button(base, k)->click();
    }
    QString hint(int k) {
        m_form->panel(k)->showIntervalHint();
        return interval(k)->toolTip();
    }
    // The running label (aqua) shows beside a running object, the stopped one otherwise.
    QLabel* label(int k, bool running) const {
        static const char* names[2][3] = {{"IDPanel1", "IDPanel101", "IDPanel102"},
                                          {"IDPanel", "IDPanel01", "IDPanel02"}};
        return find<QLabel>(names[running][k]);
    }
    bool running(int k) const {
        return m_form->panel(k)->running() && !label(k, true)->isHidden() &&
               label(k, false)->isHidden() && button("btnStart", k)->isHidden() &&
               !button("btnStop", k)->isHidden() && timer(k)->isActive() &&
               !button("btnDelete", k)->isEnabled();
    }
    bool stopped(int k) const {
        return !m_form->panel(k)->running() && label(k, true)->isHidden() &&
               !button("btnStart", k)->isHidden() && button("btnStop", k)->isHidden() &&
               !timer(k)->isActive() && button("btnDelete", k)->isEnabled();
    }

    PacketEngine m_engine;
};

TEST_F(ObjectScheduling, SendsAtStartAndEveryIntervalWithTheMinutesLeftInTheHint) {
    complete(0, "AID1", "Aid Station");
    box("Comment", 0)->setText("Water and first aid");
    interval(0)->setValue(10);
    EXPECT_TRUE(button("btnStart", 0)->isEnabled());
    click("btnStart", 0);
    ASSERT_TRUE(m_engine.waitForFrames(1));
    EXPECT_TRUE(running(0));
    EXPECT_EQ(m_engine.infos().first(), ";AID1     *061200z5115.00N/00015.00WAWater and first aid");
    const Agwpe::ParsedFrame& f = m_engine.frames.first();
    EXPECT_EQ(f.kind, 'M');
    EXPECT_EQ(f.portByte, 0);
    EXPECT_EQ(f.pid, 0xF0);
    EXPECT_EQ(f.callFrom, "G4ABC-1");
    EXPECT_EQ(f.callTo, "CQ");

    minutes(0, 3);
    EXPECT_EQ(hint(0), "7 Mins remaining. ");
    minutes(0, 6);
    settle();
    EXPECT_EQ(m_engine.frames.size(), 1); // 12:09: not yet
    minute(0);
    ASSERT_TRUE(m_engine.waitForFrames(2));
    minutes(0, 10);
    ASSERT_TRUE(m_engine.waitForFrames(3));
    settle();
    EXPECT_EQ(stamps(), (QStringList{"061200z", "061210z", "061220z"}));
    EXPECT_EQ(hint(0), "10 Mins remaining. ");
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join('|').toStdString();
}

TEST_F(ObjectScheduling, AnIntervalChangeTakesEffectAtTheNextSend) {
    complete(1, "CAR");
    interval(1)->setValue(10);
    click("btnStart", 1);
    minutes(1, 5);
    interval(1)->setValue(30); // 12:05
    minutes(1, 5);             // 12:10: still the old interval
    ASSERT_TRUE(m_engine.waitForFrames(2));
    minutes(1, 29);
    settle();
    EXPECT_EQ(m_engine.frames.size(), 2);
    minute(1); // 12:40
    ASSERT_TRUE(m_engine.waitForFrames(3));
    EXPECT_EQ(stamps(), (QStringList{"061200z", "061210z", "061240z"}));
}

TEST_F(ObjectScheduling, StopAndStartAgainBeginsANewInterval) {
    complete(2, "PARK", "Parking");
    interval(2)->setValue(10);
    click("btnStart", 2);
    minutes(2, 5);
    click("btnStop", 2); // 12:05
    EXPECT_TRUE(stopped(2));
    EXPECT_EQ(hint(2), "");
    m_clock.advanceSecs(120);
    click("btnStart", 2); // 12:07
    EXPECT_TRUE(running(2));
    minutes(2, 10); // 12:17
    ASSERT_TRUE(m_engine.waitForFrames(3));
    settle();
    EXPECT_EQ(stamps(), (QStringList{"061200z", "061207z", "061217z"}));
}

TEST_F(ObjectScheduling, EachHintShowsItsOwnObject) {
    complete(0, "ONE");
    complete(2, "THREE");
    interval(2)->setValue(20);
    click("btnStart", 2);
    minutes(2, 4);
    EXPECT_EQ(hint(2), "16 Mins remaining. ");
    EXPECT_EQ(hint(0), "");
    click("btnStop", 2);
    interval(0)->setValue(15);
    click("btnStart", 0);
    minute(0);
    EXPECT_EQ(hint(0), "14 Mins remaining. ");
    EXPECT_EQ(hint(2), "");
    // Moving the mouse over the box is what brings the hint up to date.
    minute(0);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(interval(0), &move);
    EXPECT_EQ(interval(0)->toolTip(), "13 Mins remaining. ");
    // The interval boxes always show their hints, whatever the toolbar hints switch says.
    if (!m_form->hints())
        m_form->mnuHintsClick();
    m_form->mnuHintsClick();
    ASSERT_FALSE(m_form->hints());
    EXPECT_EQ(hint(0), "13 Mins remaining. ");
}

TEST_F(ObjectScheduling, StartRefusesInOrderAndLeavesTheObjectStopped) {
    click("btnStart", 1);
    place(1);
    click("btnStart", 1);
    name(1, "NOSYM");
    click("btnStart", 1);
    EXPECT_EQ(m_dialogs.texts(),
              (QStringList{"An Identifier is required.", "An Identifier is required.",
                           "A Symbol is required."}));
    EXPECT_TRUE(stopped(1));
    // An entry restored without a place, though named and with a symbol, is refused too.
    BeaconObject unplaced;
    unplaced.identifier = "NOPOS";
    unplaced.symbolNumber = 1;
    if (m_form->panel(2)->slot().adopt(unplaced))
        m_form->panel(2)->showAdopted();
    m_dialogs.clear();
    click("btnStart", 2);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Select a location on the map first."});
    EXPECT_TRUE(stopped(2));
    settle();
    EXPECT_TRUE(m_engine.frames.isEmpty());

    // Without a link, Start is disabled; called anyway it refuses first of all.
    m_form->btnDisconnectClick();
    chooseSymbol(1, "Home");
    EXPECT_FALSE(button("btnStart", 1)->isEnabled());
    EXPECT_FALSE(button("btnSend", 1)->isEnabled());
    m_dialogs.clear();
    m_form->stationCore().slot(1).start(false);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Not connected to host."});
    EXPECT_TRUE(stopped(1));
}

TEST_F(ObjectScheduling, AnErasedIdentifierIsAskedForEveryMinuteUntilTyped) {
    complete(0, "TENT");
    interval(0)->setValue(10);
    click("btnStart", 0);
    ASSERT_TRUE(m_engine.waitForFrames(1));
    name(0, "");
    minutes(0, 10);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"An Identifier is required."});
    EXPECT_TRUE(running(0));
    minutes(0, 2);
    EXPECT_EQ(m_dialogs.texts().size(), 3);
    settle();
    EXPECT_EQ(m_engine.frames.size(), 1);
    name(0, "TENT2");
    minute(0); // 12:13: sent, and ten minutes from here
    ASSERT_TRUE(m_engine.waitForFrames(2));
    EXPECT_TRUE(m_engine.infos().last().startsWith(";TENT2    *061213z"));
    EXPECT_EQ(hint(0), "10 Mins remaining. ");
    minutes(0, 10);
    ASSERT_TRUE(m_engine.waitForFrames(3));
    EXPECT_EQ(stamps().last(), "061223z");
}

// The engine restarting while nobody watches: the objects keep running with no box, what falls
// due is recorded as not sent and goes out once (not once per missed interval) when the link is
// back by itself. Only the user's Disconnect stops them.
TEST_F(ObjectScheduling, ALostLinkKeepsTheObjectsRunningAndSendsWhatFellDueOnceWhenBack) {
    m_form->link()->setRetryIntervals(30, 120, 30);
    QList<SentRecord> records;
    QObject::connect(m_form->link(), &LinkControl::frameRecorded,
                     [&](const SentRecord& r) { records << r; });
    complete(0, "ONE");
    complete(1, "TWO");
    interval(0)->setValue(10);
    interval(1)->setValue(10);
    click("btnStart", 0);
    click("btnStart", 1);
    ASSERT_TRUE(m_engine.waitForFrames(2));
    m_engine.stop();
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->reconnecting(); }));
    EXPECT_TRUE(running(0) && running(1));
    EXPECT_TRUE(find<QLabel>("LinkStatePanel")->text().startsWith("Reconnecting to 127.0.0.1:"))
        << find<QLabel>("LinkStatePanel")->text().toStdString();
    minutes(0, 20); // two intervals missed
    minutes(1, 10);
    EXPECT_EQ(records.size(), 5);
    EXPECT_FALSE(records.last().sent);
    EXPECT_TRUE(records.last().message.startsWith("link down: "));
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join('|').toStdString();
    QApplication::processEvents();
    ASSERT_TRUE(waitUntil([&] {
        return find<QLabel>("NextReport")->toolTip().startsWith("Waiting for the link (");
    })) << find<QLabel>("NextReport")->toolTip().toStdString();
    // Send Now is there, and says why it cannot send.
    EXPECT_TRUE(button("btnSend", 0)->isEnabled());
    click("btnSend", 0);
    ASSERT_EQ(m_dialogs.texts().size(), 1);
    EXPECT_TRUE(m_dialogs.texts()[0].startsWith("Not sent: the link is down (Reconnecting to"))
        << m_dialogs.texts()[0].toStdString();

    ASSERT_TRUE(m_engine.restart());
    ASSERT_TRUE(m_engine.waitForFrames(4, 5000));
    settle();
    EXPECT_EQ(m_engine.frames.size(), 4);
    EXPECT_TRUE(running(0) && running(1));
    // Its grid goes on: the next report ten minutes after the last one that fell due.
    minutes(0, 10);
    ASSERT_TRUE(m_engine.waitForFrames(5));

    m_form->btnDisconnectClick();
    EXPECT_TRUE(stopped(0));
    EXPECT_TRUE(stopped(1));
    EXPECT_EQ(hint(0), "");
}

// A Delete while the engine is away still offers the notice; the killed report is recorded as
// not sent and goes by itself once the link is back.
TEST_F(ObjectScheduling, ADeleteWhileTheLinkComesBackSendsTheKillOnceItIsBack) {
    m_form->link()->setRetryIntervals(30, 120, 30);
    complete(1, "TWO");
    m_engine.stop();
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->reconnecting(); }));
    m_dialogs.yesNoAnswers.enqueue(Dialogs::Answer::Yes);
    click("btnDelete", 1);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Notify other stations?"});
    EXPECT_FALSE(m_form->panel(1)->hasPosition());
    ASSERT_TRUE(m_engine.restart());
    ASSERT_TRUE(m_engine.waitForFrames(1, 5000));
    EXPECT_TRUE(m_engine.infos()[0].startsWith(";TWO      _061200z"))
        << m_engine.infos()[0].toStdString();
}

TEST_F(ObjectScheduling, StopAllStopsEverythingAndReleasesTheLink) {
    complete(0, "ONE");
    complete(2, "THREE");
    click("btnStart", 0);
    click("btnStart", 2);
    ASSERT_TRUE(m_engine.waitForFrames(2));
    // A send waiting in a long busy period is let go at once.
    m_form->link()->setBusyInterval(600000);
    m_form->btnSendClick(button("btnSend", 0));
    ASSERT_TRUE(m_form->link()->isBusy());
    find<QToolButton>("btnStopAll")->click();
    EXPECT_FALSE(m_form->link()->isBusy());
    EXPECT_FALSE(m_form->link()->busyTimer().isActive());
    EXPECT_TRUE(find<QTabWidget>("Page")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(stopped(k)) << k;
}

TEST_F(ObjectScheduling, ATimedStartKeepsTheMinutePeriodOfTheFirstStart) {
    complete(1, "GRID");
    interval(1)->setValue(10);
    click("btnStart", 1);
    EXPECT_TRUE(timer(1)->isActive());
    EXPECT_GT(timer(1)->remainingTime(), 55000);
    // A tick delivered long before its minute is due still counts for that minute, and the
    // timer is re-armed for the second grid point, not a fresh minute from now.
    minute(1);
    EXPECT_TRUE(timer(1)->isActive());
    EXPECT_GT(timer(1)->remainingTime(), 115000);
    minutes(1, 9);
    ASSERT_TRUE(m_engine.waitForFrames(2));
    // The timed Start does not restart the period either.
    EXPECT_TRUE(timer(1)->isActive());
    EXPECT_GT(timer(1)->remainingTime(), 115000);
    EXPECT_EQ(hint(1), "10 Mins remaining. ");
}

TEST_F(ObjectScheduling, AnIntervalStillBeingTypedIsHeldToItsLimits) {
    complete(0, "FAST");
    // Typed, and Start pressed from the keyboard before the box was left.
    auto* text = interval(0)->findChild<QLineEdit*>();
    ASSERT_TRUE(text);
    text->setText("1");
    click("btnStart", 0);
    ASSERT_TRUE(m_engine.waitForFrames(1));
    EXPECT_EQ(hint(0), "10 Mins remaining. ");
    minutes(0, 9);
    settle();
    EXPECT_EQ(m_engine.frames.size(), 1);
    click("btnStop", 0);
    text->setText("500");
    click("btnStart", 0);
    EXPECT_EQ(hint(0), "120 Mins remaining. ");
}

TEST_F(ObjectScheduling, DeleteWithNotifySendsTheKilledReportOnEveryPort) {
    m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(15, 23), Qt::UTC));
    complete(1, "ABC");
    box("Comment", 1)->setText("Net tonight");
    m_form->panel(0)->slot().setCommentFile("/data/keep.txt");
    // The comment file in use is not read for the last report.
    QFile file(path("net.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("06/03/26 15:00\r\nNet tomorrow\r\n");
    file.close();
    m_form->panel(1)->slot().setCommentFile(file.fileName());
    find<QCheckBox>("chkFile1")->setEnabled(true);
    find<QCheckBox>("chkFile1")->setChecked(true);

    // One killed report with no comment on each port, then the object is empty.
    m_dialogs.yesNoAnswers.enqueue(Dialogs::Answer::Yes);
    editStation(*m_form, [&](StationSettings& s) {
        s.Ports = "1010";
        s.PortFlags = {true, false, true, false};
    });
    click("btnDelete", 1);
    ASSERT_TRUE(m_engine.waitForFrames(2));
    settle();
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Notify other stations?"});
    EXPECT_EQ(m_engine.infos(), QStringList(2, ";ABC      _061523z5115.00N/00015.00W>"));
    EXPECT_EQ(m_engine.frames[0].portByte, 0);
    EXPECT_EQ(m_engine.frames[1].portByte, 2);
    EXPECT_EQ(box("Identifier", 1)->text(), "");
    EXPECT_FALSE(m_form->panel(1)->hasPosition());
    EXPECT_EQ(m_form->panel(0)->object().commentFile, "/data/keep.txt");
}

TEST_F(ObjectScheduling, DeleteWithTheLinkUpAsksNothingWithoutAHeaderOrForTheWeatherStation) {
    showTab(1); // never placed: nothing to announce
    click("btnDelete", 1);
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();

    place(0);
    chooseSymbol(0, "Weather Station");
    ASSERT_FALSE(box("Header", 0)->text().isEmpty());
    click("btnDelete", 0);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    EXPECT_FALSE(m_form->weatherMode());
    settle();
    EXPECT_TRUE(m_engine.frames.isEmpty());
}

TEST_F(ObjectScheduling, TheWeatherStationGoesToTheWeatherDestinationOnlyForItsOwnReports) {
    editStation(*m_form, [&](StationSettings& s) { s.WxDest = "WX"; });
    place(0);
    chooseSymbol(0, "Weather Station"); // the weather header takes this moment's time
    box("Comment", 0)->setText("c000s000g000t050");
    complete(1, "CAR");
    interval(0)->setValue(10);
    interval(1)->setValue(10);
    m_clock.advanceSecs(120);
    click("btnStart", 0); // no identifier needed
    click("btnStart", 1);
    for (int m = 0; m < 10; ++m) {
        minute(0);
        m_form->stationCore().slot(1).tick(); // the same minute
    }
    ASSERT_TRUE(m_engine.waitForFrames(4)) << m_dialogs.texts().join('|').toStdString();
    settle();
    ASSERT_EQ(m_engine.frames.size(), 4);
    QStringList to;
    for (const Agwpe::ParsedFrame& f : m_engine.frames)
        to << f.callTo;
    EXPECT_EQ(to, (QStringList{"WX", "CQ", "WX", "CQ"}));
    // Without a data file the weather header keeps the time it was built at.
    EXPECT_EQ(m_engine.infos()[0], "/061200/5115.00N/00015.00W_c000s000g000t050");
    EXPECT_EQ(m_engine.infos()[2], m_engine.infos()[0]);
    EXPECT_EQ(m_engine.infos()[3], ";CAR      *061212z5115.00N/00015.00W>");
    EXPECT_EQ(m_form->station().Destination, "CQ");
}

} // namespace

namespace {

// Message boxes that stay open while a given number of minutes pass, as they do when nobody is
// at the desk: the window's timers keep firing inside the box's own event loop.
class SlowDialogs : public TestDialogs {
public:
    std::function<void()> whileOpen;
    int depth = 0;
    int deepest = 0;
    void information(const QString& text, const QString& title = {}) override {
        TestDialogs::information(text, title);
        ++depth;
        deepest = std::max(deepest, depth);
        if (whileOpen)
            whileOpen();
        --depth;
    }
};

TEST(ObjectRefusals, ARepeatedRefusalNeverStacksBoxesWhileOneIsOpen) {
    QTemporaryDir dir;
    SlowDialogs dialogs;
    ManualClock clock(QDateTime(QDate(2026, 3, 6), QTime(12, 0), Qt::UTC));
    PacketEngine engine;
    TForm1 form(dialogs, clock, dir.filePath("skyvane.ini"), dir.filePath("skyvane.doc"), nullptr,
                dir.filePath("sent"));
    form.show();
    editStation(form, [&](StationSettings& s) { s.MyCall = "G4ABC-1"; });
    editLink(form, [&](LinkSettings& s) { s.TCPPort = engine.port(); });
    form.link()->setBusyInterval(1);
    form.btnConnect1Click();
    ASSERT_TRUE(waitUntil([&] { return form.link()->isConnected(); }));
    ASSERT_TRUE(form.findChild<MapView*>()->loaded()); // the sample map of a first start
    auto* page = form.findChild<QTabWidget*>("Page");
    page->setCurrentIndex(1);
    form.ImageMouseMove(100, 160);
    form.ImageMouseUp(Qt::LeftButton, 100, 160);
    auto* list = form.findChild<QComboBox*>("cmbSymbol1");
    list->setCurrentIndex(3);
    emit list->activated(3);
    auto* identifier = form.findChild<QLineEdit*>("Identifier1");
    identifier->setText("TENT");
    form.findChild<TSpinEdit*>("spinInterval1")->setValue(10);
    form.findChild<QPushButton*>("btnStart1")->click();
    ASSERT_TRUE(engine.waitForFrames(1));
    ASSERT_TRUE(waitUntil([&] { return !form.link()->isBusy(); }));

    identifier->clear();
    for (int m = 0; m < 9; ++m)
        form.stationCore().slot(1).tick();
    // The tenth minute's box stays open for an hour of ticks.
    int ticksWhileOpen = 0;
    dialogs.whileOpen = [&] {
        for (; ticksWhileOpen < 60; ++ticksWhileOpen)
            form.stationCore().slot(1).tick();
    };
    form.stationCore().slot(1).tick();
    EXPECT_EQ(ticksWhileOpen, 60);
    EXPECT_EQ(dialogs.deepest, 1);
    EXPECT_EQ(dialogs.texts(), QStringList{"An Identifier is required."});
    // Once it is closed, the next minute asks again.
    dialogs.whileOpen = nullptr;
    form.stationCore().slot(1).tick();
    EXPECT_EQ(dialogs.texts().size(), 2);
    ASSERT_TRUE(engine.sync(*form.link()));
    EXPECT_EQ(engine.frames.size(), 1);
    form.findChild<QPushButton*>("btnStop1")->click();
}

} // namespace

namespace {

// A station that comes back after a power cut: with Resume Objects at Start-up ticked, what
// ran at the close starts again once the link first connects; unticked, nothing does.
TEST_F(ObjectScheduling, ResumeAtStartUpStartsWhatRanAtTheLastCloseOnceTheLinkIsUp) {
    complete(1, "TENT");
    click("btnStart", 1);
    ASSERT_TRUE(m_engine.waitForFrames(1));
    find<QAction>("mnuResume")->trigger();
    ASSERT_TRUE(closeWindow());
    m_form.reset();
    start();
    EXPECT_TRUE(stopped(1));
    connectLink();
    ASSERT_TRUE(m_engine.waitForFrames(2));
    EXPECT_TRUE(running(1));
    EXPECT_TRUE(m_engine.infos().last().startsWith(";TENT     *"));

    find<QAction>("mnuResume")->trigger();
    ASSERT_TRUE(closeWindow());
    m_form.reset();
    start();
    connectLink();
    settle();
    EXPECT_EQ(m_engine.frames.size(), 2);
    EXPECT_TRUE(stopped(1));
}

} // namespace
