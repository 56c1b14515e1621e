// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/MainWindowFixture.h"

#include "beacon/Report.h"
#include "links/LinkControl.h"
#include "station/Station.h"
#include "support/PacketEngine.h"
#include "support/PtyPair.h"
#include "support/Wait.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

namespace {

class LinkWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(19, 5), Qt::UTC));
        start();
        m_form->link()->setBusyInterval(30);
        editStation(*m_form, [&](StationSettings& s) { s.MyCall = QStringLiteral("N0CALL-1"); });
        m_form->updateConnectEnabled();
        m_form->stationCore().setDateFormat(QStringLiteral("hhMM"));
    }

    void connectTo(const QString& port) {
        editLink(*m_form, [&](LinkSettings& s) { s.IPAddr = QStringLiteral("127.0.0.1"); });
        editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = port; });
        m_form->btnConnect1Click();
    }
    // The object as an objects file gives it back: placed, named and with its symbol.
    void placeObject(int k, const QString& identifier, int symbol = 4) {
        BeaconObject o;
        o.identifier = identifier;
        o.nameField = Report::nameField(identifier);
        o.symbolNumber = symbol;
        o.table = QStringLiteral("/");
        o.code = symbol == 12 ? QStringLiteral("_") : QStringLiteral(">");
        o.latitude = QStringLiteral("5130.25N");
        o.longitude = QStringLiteral("00007.50W");
        o.hasPosition = true;
        m_form->panel(k)->slot().restore(o);
        m_form->panel(k)->showRestored(QStringLiteral("51.30.15N"), QStringLiteral("000.07.30W"));
    }
    QLineEdit* comment(int k) const {
        return find<QLineEdit>(k == 0 ? "Comment" : k == 1 ? "Comment1" : "Comment2");
    }
    void waitIdle() {
        waitUntil([&] { return !m_form->link()->isBusy(); });
    }
};

} // namespace

TEST_F(LinkWindow, ConnectAndDisconnectDriveTheControls) {
    PacketEngine sink;
    connectTo(QString::number(sink.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(),
              QStringLiteral("Connected to IP: 127.0.0.1 on port ") +
                  QString::number(sink.serverPort()));
    EXPECT_EQ(find<QAction>("mnuConnect")->text(), QStringLiteral("&Disconnect"));
    EXPECT_FALSE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_TRUE(find<QToolButton>("btnDisconnect")->isEnabled());
    for (const char* name :
         {"btnSend", "btnSend1", "btnSend2", "btnStart", "btnStart1", "btnStart2"})
        EXPECT_TRUE(find<QPushButton>(name)->isEnabled()) << name;

    // A running beacon is stopped when the link goes down.
    placeObject(1, QStringLiteral("ABC"));
    ASSERT_TRUE(m_form->panel(1)->start(false));
    ASSERT_TRUE(m_form->panel(1)->timer()->isActive());
    waitIdle();
    find<QAction>("mnuConnect")->trigger();
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Not Connected"));
    EXPECT_EQ(find<QAction>("mnuConnect")->text(), QStringLiteral("&Connect     "));
    EXPECT_FALSE(find<QToolButton>("btnDisconnect")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnSend1")->isEnabled());
    EXPECT_FALSE(m_form->panel(1)->running());
    EXPECT_FALSE(m_form->panel(1)->timer()->isActive());
    EXPECT_TRUE(m_dialogs.shown.isEmpty());
}

TEST_F(LinkWindow, RefusedConnectionShowsTheErrorAndTheDisconnectedControls) {
    connectTo(PacketEngine::closedPort());
    ASSERT_TRUE(waitUntil([&] { return !m_dialogs.shown.isEmpty(); }));
    EXPECT_EQ(m_dialogs.shown.first().kind, QStringLiteral("error"));
    EXPECT_EQ(m_dialogs.shown.first().text,
              QStringLiteral("AGWPE Connection error reported with the message:\r\n"
                             "Connection refused"));
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Not Connected"));
    EXPECT_EQ(find<QAction>("mnuConnect")->text(), QStringLiteral("&Connect     "));
    EXPECT_FALSE(find<QPushButton>("btnSend")->isEnabled());
}

TEST_F(LinkWindow, SendRefusalsNameWhatIsMissing) {
    PacketEngine sink;
    connectTo(QString::number(sink.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));

    // A place but no symbol yet.
    placeObject(1, QStringLiteral("ABC"), 0);
    find<QPushButton>("btnSend1")->click();
    // A symbol but no identifier.
    placeObject(2, QString());
    find<QPushButton>("btnSend2")->click();
    // An identifier but neither place nor symbol: the header is incomplete.
    BeaconObject unplaced;
    unplaced.identifier = QStringLiteral("XYZ");
    unplaced.nameField = Report::nameField(QStringLiteral("XYZ"));
    if (m_form->panel(0)->slot().adopt(unplaced))
        m_form->panel(0)->showAdopted();
    find<QPushButton>("btnSend")->click();
    EXPECT_EQ(m_dialogs.texts(), (QStringList{QStringLiteral("A Symbol is required."),
                                              QStringLiteral("An Identifier is required."),
                                              QStringLiteral("There is no Object to send")}));
    spinEvents(100);
    EXPECT_TRUE(sink.frames.isEmpty());
}

TEST_F(LinkWindow, SendNowPutsTheReportOnTheAirAndKeepsTheMarker) {
    PacketEngine sink;
    connectTo(QString::number(sink.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    placeObject(1, QStringLiteral("ABC"));
    comment(1)->setText(QStringLiteral("% Net at"));
    QStringList seenDuringSend;
    QObject::connect(comment(1), &QLineEdit::textChanged,
                     [&](const QString& t) { seenDuringSend << t; });

    find<QPushButton>("btnSend1")->click();
    EXPECT_FALSE(find<QTabWidget>("Page")->isEnabled());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return sink.frames.size() == 1; }));
    const auto frame = sink.frames.first();
    EXPECT_EQ(frame.kind, 'M');
    EXPECT_EQ(frame.callFrom, QStringLiteral("N0CALL-1"));
    EXPECT_EQ(frame.callTo, QStringLiteral("CQ"));
    EXPECT_EQ(frame.info, QByteArray(";ABC      *061905z5130.25N/00007.50W>1905 Net at"));
    EXPECT_EQ(comment(1)->text(), QStringLiteral("% Net at"));
    EXPECT_TRUE(seenDuringSend.contains(QStringLiteral("1905 Net at")));
    EXPECT_EQ(find<QLineEdit>("Header1")->text(),
              QStringLiteral(";ABC      *061905z5130.25N/00007.50W>"));
    EXPECT_EQ(find<QTabWidget>("Page")->currentIndex(), 1);

    waitIdle();
    EXPECT_TRUE(find<QTabWidget>("Page")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_dialogs.shown.isEmpty());
}

TEST_F(LinkWindow, WeatherReportGoesToTheWeatherDestinationForThatReportOnly) {
    PacketEngine sink;
    editStation(*m_form, [&](StationSettings& s) { s.Ports = QStringLiteral("1010"); });
    editStation(*m_form, [&](StationSettings& s) { s.applyPortsText(); });
    editStation(*m_form,
                [&](StationSettings& s) { s.UnprotoPath = QStringLiteral("RELAY, WIDE"); });
    connectTo(QString::number(sink.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    placeObject(0, QString(), 12);
    comment(0)->setText(QStringLiteral("c000s000g000t054"));
    placeObject(2, QStringLiteral("CAMP"));

    m_form->btnSendClick(m_form->panel(0)->timer());
    m_form->btnSendClick(find<QPushButton>("btnSend2"));
    ASSERT_TRUE(waitUntil([&] { return sink.frames.size() == 4; }));
    const auto frames = sink.frames;
    EXPECT_EQ(frames[0].callTo, QStringLiteral("WX"));
    EXPECT_EQ(frames[1].callTo, QStringLiteral("WX"));
    EXPECT_EQ(frames[2].callTo, QStringLiteral("CQ"));
    EXPECT_EQ(frames[3].callTo, QStringLiteral("CQ"));
    EXPECT_EQ(frames[0].portByte, 0);
    EXPECT_EQ(frames[1].portByte, 2);
    EXPECT_EQ(frames[0].via, (QStringList{QStringLiteral("RELAY"), QStringLiteral("WIDE")}));
    EXPECT_EQ(frames[0].info, QByteArray("/061905/5130.25N/00007.50W_c000s000g000t054"));
    EXPECT_EQ(m_form->station().Destination, QStringLiteral("CQ"));
    waitIdle();
}

TEST_F(LinkWindow, WeatherDestinationLastsOneReportWhicheverWayItStarted) {
    PacketEngine sink;
    connectTo(QString::number(sink.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    placeObject(0, QString(), 12);
    comment(0)->setText(QStringLiteral("c000s000g000t054"));
    placeObject(1, QStringLiteral("CAMP"));

    const struct {
        const char* name;
        std::function<void()> start;
    } starters[] = {
        {"Send Now", [&] { find<QPushButton>("btnSend")->click(); }},
        {"Start", [&] { find<QPushButton>("btnStart")->click(); }},
        {"timer", [&] { m_form->btnSendClick(m_form->panel(0)->timer()); }},
    };
    qsizetype expected = 0;
    for (const auto& starter : starters) {
        starter.start();
        waitIdle();
        find<QPushButton>("btnSend1")->click();
        expected += 2;
        ASSERT_TRUE(waitUntil([&] { return sink.frames.size() == expected; })) << starter.name;
        waitIdle();
        const auto frames = sink.frames;
        EXPECT_EQ(frames[expected - 2].callTo, QStringLiteral("WX")) << starter.name;
        EXPECT_EQ(frames[expected - 1].callTo, QStringLiteral("CQ")) << starter.name;
        EXPECT_TRUE(frames[expected - 1].info.startsWith(";CAMP     *")) << starter.name;
        EXPECT_EQ(m_form->station().Destination, QStringLiteral("CQ"));
    }
    EXPECT_TRUE(m_dialogs.shown.isEmpty()) << m_dialogs.texts().join("|").toStdString();
}

TEST_F(LinkWindow, CommentFileIsReadAtEverySend) {
    PacketEngine sink;
    connectTo(QString::number(sink.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    placeObject(2, QStringLiteral("TEMP"));
    const QString file = path(QStringLiteral("temp.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("06/03/07 14:30\r\n$ Temp 12C\r\n");
    }
    m_form->panel(2)->slot().setCommentFile(file);
    m_form->stationCore().setDateFormat(QStringLiteral("dd hh:MM"));
    comment(1)->setText(QStringLiteral("untouched"));
    find<QCheckBox>("chkFile2")->setChecked(true);

    find<QPushButton>("btnSend2")->click();
    ASSERT_TRUE(waitUntil([&] { return sink.frames.size() == 1; }));
    EXPECT_TRUE(sink.frames.first().info.endsWith("06 14:30 Temp 12C"));
    EXPECT_EQ(comment(2)->text(), QStringLiteral("$ Temp 12C"));
    EXPECT_EQ(comment(1)->text(), QStringLiteral("untouched"));
    waitIdle();

    // A file that is there but cannot be read: reported, nothing sent.
    m_form->panel(2)->slot().setCommentFile(m_dir.path());
    find<QPushButton>("btnSend2")->click();
    spinEvents(100);
    EXPECT_EQ(sink.frames.size(), 1);
    ASSERT_EQ(m_dialogs.shown.size(), 1);
    EXPECT_EQ(m_dialogs.shown.first().kind, QStringLiteral("error"));
}

// During a KISS connect's TNC wait the two entries that disconnect and change the link's
// settings are out of reach; a disconnect that comes anyway (the TNC terminal's Close) is
// what the window shows afterwards.
TEST_F(LinkWindow, TheTncWaitKeepsTheSetupEntriesAwayAndADisconnectInItStands) {
    PtyPair pty;
    ScriptedTnc tnc(pty, ScriptedTnc::Mode::Silent);
    editLink(*m_form, [&](LinkSettings& s) { s.UseKISS = true; });
    editLink(*m_form, [&](LinkSettings& s) { s.ComPort = 2; });
    editLink(*m_form, [&](LinkSettings& s) { s.ComDevices[1] = pty.path; });
    m_form->link()->setTncInterval(TestTncWaitMs);
    bool hostDuring = true;
    bool stationDuring = true;
    QTimer::singleShot(TestTncWaitMs / 4, m_form.get(), [&] {
        hostDuring = find<QAction>("mnuHost")->isEnabled();
        stationDuring = find<QAction>("StationSetup1")->isEnabled();
        m_form->btnDisconnectClick();
    });
    m_form->btnConnect1Click();
    EXPECT_FALSE(hostDuring);
    EXPECT_FALSE(stationDuring);
    EXPECT_FALSE(m_form->link()->isConnected());
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Not Connected"));
    EXPECT_EQ(find<QAction>("mnuConnect")->text(), QStringLiteral("&Connect     "));
    EXPECT_TRUE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("btnDisconnect")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnSend")->isEnabled());
    EXPECT_TRUE(find<QAction>("mnuHost")->isEnabled());
    EXPECT_TRUE(find<QAction>("StationSetup1")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_dialogs.shown.isEmpty());
}
