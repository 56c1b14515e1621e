// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AgwpeFrame.h"
#include "links/AgwpeReader.h"
#include "links/Ax25.h"
#include "links/HeardModel.h"
#include "links/HeardReports.h"
#include "links/Kiss.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/PtyPair.h"
#include "support/ScopedLocale.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QByteArray kInfo = QByteArrayLiteral(";AID1     *090007z5130.00N/00007.50WA");
const QDateTime kSent = QDateTime(QDate(2026, 12, 9), QTime(12, 3, 5), Qt::UTC);

// A frame as heard: "DIGI1*" in the path marks a digipeater that has repeated it.
Ax25Frame heardFrame(const QString& source, const QString& path, const QByteArray& info) {
    QStringList calls;
    QList<bool> repeated;
    for (QString entry : path.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        repeated << entry.endsWith(QLatin1Char('*'));
        if (repeated.last())
            entry.chop(1);
        calls << entry;
    }
    QByteArray body = ax25UiFrame(QStringLiteral("APZSKY"), source, calls.join(','), info);
    for (qsizetype i = 0; i < repeated.size(); ++i)
        if (repeated[i])
            body[(2 + i) * Ax25::AddressSize + Ax25::MaxBaseLength] =
                char(body[(2 + i) * Ax25::AddressSize + Ax25::MaxBaseLength] | Ax25::CommandBit);
    return *parseAx25UiFrame(body);
}

QByteArray rawFrame(int port, const QByteArray& body) {
    return agwpeFrame(port, 0, 'K', {}, {}, QByteArray(1, '\0') + body);
}

SentReport report(int slot = 0, const QByteArray& info = kInfo) {
    return {slot,
            QStringLiteral("AID1"),
            QStringLiteral("N0CALL-1"),
            info,
            kSent,
            600,
            {QStringLiteral("WIDE1-1"), QStringLiteral("WIDE2-1")}};
}

} // namespace

// The engine's stream cut into raw received frames, however it arrives; what is no raw frame,
// and what claims more data than any frame holds, is passed over without losing the frames
// after it.
TEST(AgwpeReader, KeepsTheRawFramesOfAnyCutOfTheStream) {
    const QByteArray body = ax25UiFrame("APZSKY", "N0CALL-1", "DIGI1", kInfo);
    QByteArray huge = agwpeFrame(1, 0, 'K', {}, {}, {});
    qToLittleEndian<quint32>(1u << 30, huge.data() + Agwpe::Offset::DataLength);
    const QByteArray stream =
        rawFrame(2, body) + agwpeFrame(1, 0, 'R', {}, {}, QByteArray("\x02\0\0\0", 4)) +
        agwpeFrame(1, 0, 'K', {}, {}, "\x05junk") + huge + QByteArray(5000, 'x');
    for (const qsizetype step : {qsizetype(1), qsizetype(7), qsizetype(36), stream.size()}) {
        AgwpeReader reader;
        QList<AgwpeReader::Received> got;
        for (qsizetype at = 0; at < stream.size(); at += step)
            got += reader.feed(stream.mid(at, step));
        ASSERT_EQ(got.size(), 1) << "step " << step;
        EXPECT_EQ(got[0].radioPort, 2);
        EXPECT_EQ(got[0].body, body);
        EXPECT_EQ(reader.errors(), 2); // the junk frame and the huge one
        // The rest of the huge frame is being skipped: a frame after it is still read, once
        // all its claimed bytes are gone.
        EXPECT_TRUE(reader.feed(rawFrame(1, body)).isEmpty());
    }
    AgwpeReader reader;
    QByteArray small = agwpeFrame(1, 0, 'K', {}, {}, {});
    qToLittleEndian<quint32>(AgwpeReader::MaxData + 1, small.data() + Agwpe::Offset::DataLength);
    const auto got =
        reader.feed(small + QByteArray(AgwpeReader::MaxData + 1, 'y') + rawFrame(1, body));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].body, body);
}

// Which frames are copies of our last report, which stations repeated each (as today's
// digipeaters rewrite the path we send, WIDE1-1,WIDE2-1 unless said), and which are another
// station's object of our name; and the line the tab shows for each.
TEST(HeardReports, FollowsTheCopiesOfEachLastReport) {
    struct Case {
        const char* what;
        const char* source;
        const char* path;
        QByteArray info;
        int afterSecs;
        int slot; // matched, or -1
        const char* via;
        bool clash = false; // our object's name from another station
        const char* sent = "WIDE1-1,WIDE2-1";
    };
    const QByteArray gated = "}N0CALL-1>APZSKY,TCPIP,IGATE*:" + kInfo;
    const Case cases[] = {
        {"direct", "N0CALL-1", "WIDE1-1,WIDE2-1", kInfo, 1, 0, ""},
        {"a call in place of the alias", "N0CALL-1", "DIGI1*,WIDE2-1", kInfo, 1, 0, "DIGI1"},
        {"a call before the used alias", "N0CALL-1", "DIGI1,WIDE1*,WIDE2-1", kInfo, 1, 0, "DIGI1"},
        {"two hops", "N0CALL-1", "DIGI1,WIDE1,DIGI2,WIDE2*", kInfo, 1, 0, "DIGI1, DIGI2"},
        {"only an alias", "N0CALL-1", "WIDE1*,WIDE2-1", kInfo, 1, 0, "a digipeater (WIDE1)"},
        {"an SSID lowered, no mark", "N0CALL-1", "SS2-1", kInfo, 1, 0, "a digipeater (SS2)", false,
         "SS2-2"},
        {"a digipeater asked for by its call", "N0CALL-1", "DIGI1*", kInfo, 1, 0, "DIGI1", false,
         "DIGI1"},
        {"an iGate's third-party copy", "IGATE", "WIDE2-1", gated, 1, 0,
         "the internet gateway IGATE"},
        {"a gated copy of something else", "IGATE", "", gated + "x", 1, -1, ""},
        {"another SSID", "N0CALL-2", "DIGI1*", kInfo, 1, -1, "", true},
        {"other information", "N0CALL-1", "DIGI1*", kInfo + " ", 1, -1, ""},
        {"heard before the send", "N0CALL-1", "DIGI1*", kInfo, -1, -1, ""},
        {"after the interval", "N0CALL-1", "DIGI1*", kInfo, 601, -1, ""},
    };
    for (const Case& c : cases) {
        HeardReports heard;
        EXPECT_EQ(heard.heard(heardFrame(c.source, c.path, c.info), kSent).slot, -1)
            << "before any report: " << c.what;
        SentReport sent = report(1);
        sent.path = QString::fromLatin1(c.sent).split(QLatin1Char(','));
        heard.sent(sent);
        const auto outcome =
            heard.heard(heardFrame(c.source, c.path, c.info), kSent.addSecs(c.afterSecs));
        EXPECT_EQ(outcome.slot, c.slot < 0 ? -1 : 1) << c.what;
        EXPECT_EQ(outcome.via, QString::fromLatin1(c.via)) << c.what;
        EXPECT_EQ(outcome.clashSlot, c.clash ? 1 : -1) << c.what;
    }

    HeardReports heard;
    heard.sent(report(0));
    EXPECT_EQ(heard.fateText(0, true, kSent), "Sent 12:03:05, not heard yet");
    EXPECT_EQ(heard.fateText(0, true, kSent.addSecs(601)), "Sent 12:03:05, not heard");
    EXPECT_EQ(heard.fateText(0, false, kSent), "Sent 12:03:05");
    EXPECT_EQ(heard.fateText(1, true, kSent), "");
    heard.heard(heardFrame("N0CALL-1", "DIGI1*,WIDE2-1", kInfo), kSent.addSecs(1));
    // The same digipeater again counts once.
    EXPECT_FALSE(
        heard.heard(heardFrame("N0CALL-1", "DIGI1*,WIDE2-1", kInfo), kSent.addSecs(2)).newPath);
    heard.heard(heardFrame("N0CALL-1", "DIGI2*,WIDE2*", kInfo), kSent.addSecs(4));
    EXPECT_EQ(heard.fateText(0, true, kSent.addSecs(700)),
              "Sent 12:03:05, heard via DIGI1 12:03:06, DIGI2 12:03:09");
    heard.heard(heardFrame("N0CALL", "", kInfo), kSent.addSecs(5));
    EXPECT_EQ(heard.fateText(0, true, kSent), "Sent 12:03:05, heard via DIGI1 12:03:06, "
                                              "DIGI2 12:03:09");
    heard.sent(report(0, kInfo + "x"));
    heard.heard(heardFrame("N0CALL-1", "WIDE1-1,WIDE2-1", kInfo + "x"), kSent.addSecs(3));
    heard.heard(heardFrame("N0CALL-1", "DIGI1*", kInfo + "x"), kSent.addSecs(3));
    EXPECT_EQ(heard.fateText(0, true, kSent),
              "Sent 12:03:05, heard direct 12:03:08, via DIGI1 12:03:08");
}

// Another station's object of our name is told once per station, live or killed; our own
// copies, other names and items are not.
TEST(HeardReports, WarnsOfAnotherStationSendingOurObjectsName) {
    HeardReports heard;
    const QByteArray theirs = ";AID1     *090010z5131.00N/00007.00W-";
    EXPECT_EQ(heard.heard(heardFrame("G4XYZ", "", theirs), kSent).clashSlot, -1)
        << "no report of ours yet";
    heard.sent(report(2));
    auto outcome = heard.heard(heardFrame("G4XYZ", "DIGI1*", theirs), kSent.addSecs(55));
    EXPECT_EQ(outcome.clashSlot, 2);
    EXPECT_TRUE(outcome.newClash);
    EXPECT_EQ(heard.clashText(2), "AID1 is also sent by G4XYZ (12:04)");
    outcome = heard.heard(heardFrame("G4XYZ", "", ";AID1     _090011z5131.00N/00007.00W-"),
                          kSent.addSecs(120));
    EXPECT_EQ(outcome.clashSlot, 2);
    EXPECT_FALSE(outcome.newClash) << "told once per station";
    EXPECT_EQ(heard.clashText(2), "AID1 is also sent by G4XYZ (12:05)");
    for (const QByteArray& info :
         {QByteArray(";AID10    *090010z5131.00N/00007.00W-"),
          QByteArray(")AID1!5131.00N/00007.00W-"), QByteArray(";AID1     ")})
        EXPECT_EQ(heard.heard(heardFrame("G4ABC", "", info), kSent).clashSlot, -1) << info.data();
    EXPECT_EQ(heard.heard(heardFrame("N0CALL-1", "", theirs), kSent).clashSlot, -1)
        << "our own call";
    EXPECT_TRUE(heard.heard(heardFrame("G4ABC", "", theirs), kSent).newClash);
    // Renamed: the warning was about the old name.
    heard.sent(report(2, ";PARK     *090007z5130.00N/00007.50WA"));
    EXPECT_EQ(heard.clashText(2), "");
}

TEST(HeardReports, CallsAreComparedAsAnAddressCarriesThemWhateverTheLanguage) {
    for (const char* locale : {"C", "tr_TR.UTF-8", "de_DE.UTF-8"}) {
        ScopedLocale scoped(locale);
        EXPECT_EQ(HeardReports::normalCall(QStringLiteral(" n0call-0 ")), "N0CALL") << locale;
        EXPECT_EQ(HeardReports::normalCall(QStringLiteral("wi1iam-9")), "WI1IAM-9") << locale;
        EXPECT_EQ(HeardReports::normalCall(QStringLiteral("N0CALL-01")), "N0CALL-1") << locale;
        EXPECT_EQ(HeardReports::normalCall(QStringLiteral("N0CALL-00")), "N0CALL") << locale;
    }
}

// The Heard window's rows: newest first, the last 1000 only, and one line each for the
// clipboard; the sent-reports log keeps a heard copy as a line of its own kind.
TEST(HeardModel, KeepsTheNewestThousandAndTheLogKeepsHeardCopies) {
    HeardModel model;
    for (int i = 0; i < 1005; ++i)
        model.add({kSent.addSecs(i), QStringLiteral("AGWPE port 1"),
                   QStringLiteral("N0CALL>APZSKY:%1").arg(i), i == 1004 ? "AID1" : ""});
    ASSERT_EQ(model.rowCount(), HeardModel::MaxRows);
    EXPECT_EQ(model.row(0).monitor, "N0CALL>APZSKY:1004");
    EXPECT_EQ(model.row(999).monitor, "N0CALL>APZSKY:5");
    EXPECT_EQ(HeardModel::lineOf(model.row(0)),
              "2026-12-09 12:19:49Z\tAGWPE port 1\tN0CALL>APZSKY:1004\tAID1");
    EXPECT_EQ(model.data(model.index(0, HeardModel::Time)).toString(), "12:19:49");

    SentRecord r;
    r.utc = kSent;
    r.slot = 1;
    r.identifier = "AID1";
    r.link = "KISS port 1";
    r.monitor = "N0CALL-1>APZSKY,DIGI1*:;AID1     *090007z5130.00N/00007.50WA";
    r.heard = true;
    r.message = "heard via DIGI1, a copy of the report sent 12:03:04Z";
    const auto back = SentLog::parseLine(SentLog::lineOf(r));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, r);
    EXPECT_TRUE(SentLog::lineOf(r).contains("\theard\t"));
}

namespace {

struct ListeningLink {
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
    QList<HeardFrame> heard;
    ListeningLink() {
        QObject::connect(&link, &LinkControl::frameHeard,
                         [this](const HeardFrame& f) { heard << f; });
        StationSettings station;
        station.Ports = QStringLiteral("1100");
        station.applyPortsText();
        link.setStation(station);
    }
};

} // namespace

// The engine is asked once per connection for what it hears, also after the idle reconnect;
// what it hands over comes out as frames, and a peer that floods the link with rubbish holds
// up neither the frames after it nor a report.
TEST(LinkListening, AnEngineIsAskedOnceAndItsFloodNeverHoldsUpAReport) {
    PacketEngine engine;
    ListeningLink s;
    LinkSettings settings;
    settings.IPAddr = QStringLiteral("127.0.0.1");
    settings.TCPPort = engine.port();
    s.link.setLinkSettings(settings);
    s.link.setBusyInterval(20);
    s.link.connectLink();
    ASSERT_TRUE(waitUntil([&] { return s.link.isConnected() && engine.hasPeer(); }));
    ASSERT_TRUE(waitUntil([&] { return engine.rawRequests == 1; }));

    const QByteArray body = ax25UiFrame("APZSKY", "G4XYZ", "DIGI1", kInfo);
    QByteArray huge = agwpeFrame(1, 0, 'K', {}, {}, {});
    qToLittleEndian<quint32>(0xFFFFFFF0u, huge.data() + Agwpe::Offset::DataLength);
    engine.hear(2, body);
    engine.hear(1, QByteArray(Ax25::MaxFrame + 1, 'A')); // longer than any frame: dropped
    ASSERT_TRUE(waitUntil([&] { return s.heard.size() == 1; }));
    EXPECT_EQ(s.heard[0].port, "AGWPE port 2");
    EXPECT_EQ(s.heard[0].body, body);
    EXPECT_EQ(s.link.receiveErrors(), 1);

    QTcpSocket* peer = engine.peers().last();
    peer->write(huge);
    for (int i = 0; i < 64; ++i)
        peer->write(QByteArray(64 * 1024, char(i)));
    s.link.sendReport(QString::fromLatin1(kInfo), QStringLiteral("APZSKY"));
    ASSERT_TRUE(engine.waitForFrames(1, 10000));
    EXPECT_EQ(engine.frames.last().info, kInfo);

    // The idle reconnect is a new connection: asked again, once.
    ASSERT_TRUE(waitUntil([&] { return !s.link.isBusy(); }));
    s.link.ConnectedTest();
    ASSERT_TRUE(waitUntil([&] { return engine.connections() == 2 && engine.rawRequests == 2; }));
    engine.hear(1, body);
    ASSERT_TRUE(waitUntil([&] { return s.heard.size() == 2; }));
    EXPECT_EQ(s.heard[1].port, "AGWPE port 1");
    spinEvents(100);
    EXPECT_EQ(engine.rawRequests, 2);
}

// A KISS TNC on the serial line hands over data frames of either port; its other commands,
// broken escapes and oversized frames are passed over.
TEST(LinkListening, AKissTncOnTheSerialLineHandsOverWhatItHears) {
    PtyPair pty;
    ScriptedTnc tnc(pty, ScriptedTnc::Mode::Silent);
    ListeningLink s;
    LinkSettings settings;
    settings.UseKISS = true;
    settings.Host = false;
    settings.ComPort = 2;
    settings.ComDevices[1] = pty.path;
    s.link.setLinkSettings(settings);
    s.link.setTncInterval(TestTncWaitMs);
    ASSERT_TRUE(s.link.connectLink());
    ASSERT_TRUE(s.link.isConnected());

    const QByteArray body = ax25UiFrame("APZSKY", "G4XYZ", "DIGI1", kInfo + "\xC0\xDB");
    pty.send("noise" + kissWrap(1, body) + kissWrap(0, body, 0x06) +
             QByteArray("\xC0\x00\xDB\x01\xC0", 5) +
             kissWrap(0, QByteArray(Ax25::MaxFrame + 10, 'B')) + kissWrap(0, body));
    ASSERT_TRUE(waitUntil([&] { return s.heard.size() == 2; }));
    EXPECT_EQ(s.heard[0].port, "KISS port 2");
    EXPECT_EQ(s.heard[0].body, body);
    EXPECT_EQ(s.heard[1].port, "KISS port 1");
    spinEvents(100);
    EXPECT_EQ(s.heard.size(), 2);
    EXPECT_EQ(s.link.receiveErrors(), 2);
}
