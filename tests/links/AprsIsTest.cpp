// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AprsIs.h"

#include "common/ConvertError.h"
#include "common/LinkSettings.h"
#include "links/FrameError.h"
#include "links/FramePlan.h"
#include "links/LinkControl.h"
#include "settings/AppSettings.h"
#include "settings/IniFile.h"
#include "support/AprsIsServer.h"
#include "support/ManualClock.h"
#include "support/ScopedLocale.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

const QString kInfo = QStringLiteral(";NET 8PM  *061523z5130.25N/00007.50W-Net tonight");
const QString kDestination = QStringLiteral("APZSKY");

template <typename F> QString refusalOf(F&& build) {
    try {
        build();
    } catch (const FrameError& e) {
        return e.message();
    } catch (const ConvertError& e) {
        return e.message();
    }
    return {};
}

} // namespace

// ---- Pure texts ---------------------------------------------------------------------------

TEST(AprsIs, PasscodesMatchThePublishedValues) {
    struct Row {
        const char* call;
        int passcode;
    };
    // N0CALL's is the one every server's documentation quotes; the short ones are worked by
    // hand from the rule (0x73E2, then "A" << 8, then "B" unshifted).
    const Row rows[] = {
        {"N0CALL", 13023},     {"n0call", 13023}, {"N0CALL-9", 13023}, {"n0CaLl-15", 13023},
        {" N0CALL-1 ", 13023}, {"A", 13026},      {"AB", 12960},       {"", 29666}};
    for (const char* language : TestLocales) {
        ScopedLocale locale(language);
        ASSERT_TRUE(locale.active()) << language;
        for (const Row& row : rows)
            EXPECT_EQ(AprsIs::passcode(QLatin1String(row.call)), row.passcode)
                << row.call << " under " << language;
        // A Turkish capital of "i" is no letter a server knows.
        EXPECT_EQ(AprsIs::passcode(QStringLiteral("wi1xyz-3")),
                  AprsIs::passcode(QStringLiteral("WI1XYZ")))
            << language;
        EXPECT_EQ(AprsIs::asciiUpper(QStringLiteral("wi1xyz")), QStringLiteral("WI1XYZ"));
    }
}

TEST(AprsIs, PasscodeSettingsAreWholeNumbersTheServersKnow) {
    struct Row {
        const char* text;
        std::optional<int> value;
    };
    const Row rows[] = {{"", std::nullopt},
                        {"13023", 13023},
                        {" -1 ", -1},
                        {"0", 0},
                        {"32767", 32767},
                        {"32768", std::nullopt},
                        {"-2", std::nullopt},
                        {"-", std::nullopt},
                        {"13.023", std::nullopt},
                        {"1e3", std::nullopt},
                        {"+5", std::nullopt},
                        {"123456", std::nullopt},
                        {"abc", std::nullopt}};
    for (const char* language : TestLocales) {
        ScopedLocale locale(language);
        for (const Row& row : rows)
            EXPECT_EQ(AprsIs::passcodeSetting(QLatin1String(row.text)), row.value)
                << row.text << " under " << language;
    }
    // Arabic-Indic digits are digits to Unicode, not to a login line.
    EXPECT_EQ(AprsIs::passcodeSetting(QStringLiteral("\u0661\u0662")), std::nullopt);

    LinkSettings link;
    EXPECT_EQ(AprsIs::passcodeFor(link, QStringLiteral("N0CALL-7")), 13023);
    link.AprsPasscode = QStringLiteral("12345");
    EXPECT_EQ(AprsIs::passcodeFor(link, QStringLiteral("N0CALL-7")), 12345);
    // Hand-edited into something else: receive-only, never a guess.
    link.AprsPasscode = QStringLiteral("twelve");
    EXPECT_EQ(AprsIs::passcodeFor(link, QStringLiteral("N0CALL-7")), -1);
}

TEST(AprsIs, LoginLines) {
    struct Row {
        const char* call;
        int passcode;
        const char* filter;
        const char* line;
    };
    const Row rows[] = {
        {"N0CALL-7", 13023, "", "user N0CALL-7 pass 13023 vers Skyvane 1.2.3\r\n"},
        {"n0call", 13023, "r/51.5/-0.1/50",
         "user N0CALL pass 13023 vers Skyvane 1.2.3 filter "
         "r/51.5/-0.1/50\r\n"},
        {"wi1xyz", -1, "  ", "user WI1XYZ pass -1 vers Skyvane 1.2.3\r\n"},
        // A second line cannot be smuggled in through the filter.
        {"N0CALL", 13023, "m/10\r\nuser EVIL pass 1",
         "user N0CALL pass 13023 vers Skyvane "
         "1.2.3 filter m/10user EVIL pass 1\r\n"},
    };
    for (const char* language : TestLocales) {
        ScopedLocale locale(language);
        for (const Row& row : rows)
            EXPECT_EQ(AprsIs::loginLine(QLatin1String(row.call), row.passcode,
                                        QStringLiteral("1.2.3"), QLatin1String(row.filter)),
                      QByteArray(row.line))
                << row.call << " under " << language;
    }
}

TEST(AprsIs, ServerAnswersToALogin) {
    using A = AprsIs::Answer;
    struct Row {
        const char* line;
        A answer;
    };
    const Row rows[] = {
        {"# aprsc 2.1.14-g5e22b37", A::Other},
        {"# aprsc 2.1.14 1 Jan 2026 12:00:00 GMT T2TEST 10.0.0.1:14580", A::Other},
        {"# logresp N0CALL-7 verified, server T2TEST", A::Verified},
        {"# logresp n0call-7 verified, server T2TEST", A::Unverified}, // not the call we sent
        {"# logresp N0CALL-7 unverified, server T2TEST", A::Unverified},
        {"# logresp N0CALL-8 verified, server T2TEST", A::Unverified},
        {"# logresp N0CALL-7", A::Unverified},
        {"# Invalid login string, too few arguments", A::Refused},
        {"# Login by user not allowed", A::Refused},
        {"N0CALL-7>APRS,TCPIP*:# logresp N0CALL-7 verified", A::Other},
        {"", A::Other},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AprsIs::answerTo(row.line, QStringLiteral("N0CALL-7")), row.answer) << row.line;
    EXPECT_EQ(AprsIs::serverIn("# logresp N0CALL-7 verified, server T2TEST"),
              QStringLiteral("T2TEST"));
    EXPECT_EQ(AprsIs::serverIn("# logresp N0CALL-7 verified"), QString());
}

TEST(AprsIs, ReportLinesAndWhatTheyRefuse) {
    EXPECT_EQ(AprsIs::reportLine(QStringLiteral("N0CALL-7"), kDestination, kInfo),
              "N0CALL-7>APZSKY,TCPIP*:" + kInfo.toLatin1() + "\r\n");
    // The bytes the radio would carry: code page 1252, not the desktop's encoding.
    EXPECT_EQ(AprsIs::reportLine(QStringLiteral("N0CALL"), kDestination,
                                 QStringLiteral(">Caf\u00e9 \u20ac5")),
              QByteArray("N0CALL>APZSKY,TCPIP*:>Caf\xe9 \x80"
                         "5\r\n"));
    for (const QString& bad : {QStringLiteral(">a\rN0CALL>APRS:x"), QStringLiteral(">a\nb"),
                               QString(QStringLiteral(">a")) + QChar(0)})
        EXPECT_EQ(
            refusalOf([&] { AprsIs::reportLine(QStringLiteral("N0CALL"), kDestination, bad); }),
            QStringLiteral("The report cannot go to APRS-IS: it holds a line end or NUL "
                           "character, which would cut the line short."));
    EXPECT_TRUE(refusalOf([&] {
                    AprsIs::reportLine(QStringLiteral("N0CALL"), kDestination,
                                       QString(600, QLatin1Char('x')));
                }).startsWith(QStringLiteral("The report is too long for APRS-IS")));
}

TEST(AprsIs, RefusesWhatTheRadioRefusesWithTheSameMessage) {
    struct Row {
        const char* call;
        const char* destination;
        const char* path;
    };
    const Row rows[] = {{"N0CALL-16", "APZSKY", ""},
                        {"N0CALL", "APZSKY-X", ""},
                        {"TOOLONGCALL", "APZSKY", ""},
                        {"N0CALL", "ap zsky", ""},
                        {"N0CALL", "APZSKY", "WIDE1-1,,WIDE2-2"},
                        {"N0CALL", "APZSKY", "A,B,C,D,E,F,G,H,I"}};
    LinkSettings link;
    link.setType(LinkType::AprsIs);
    for (const Row& row : rows) {
        StationSettings station;
        station.MyCall = QLatin1String(row.call);
        station.Destination = QLatin1String(row.destination);
        station.UnprotoPath = QLatin1String(row.path);
        const QString onRadio = refusalOf([&] { checkedTncBody(station, kInfo); });
        ASSERT_FALSE(onRadio.isEmpty()) << row.call << " " << row.destination << " " << row.path;
        EXPECT_EQ(refusalOf([&] { checkedAprsIsLine(station.Destination, station, link, kInfo); }),
                  onRadio);
        EXPECT_EQ(planFrames(LinkType::AprsIs, link, station, kInfo, station.Destination).refusal,
                  onRadio);
    }
}

TEST(AprsIs, PlanShowsTheLineSizeAndNoAirtime) {
    LinkSettings link;
    link.setType(LinkType::AprsIs);
    StationSettings station;
    station.MyCall = QStringLiteral("N0CALL-7");
    const FramePlan plan = planFrames(LinkType::AprsIs, link, station, kInfo, kDestination);
    EXPECT_EQ(plan.refusal, QString());
    EXPECT_EQ(plan.links, QStringList{QStringLiteral("APRS-IS")});
    EXPECT_EQ(plan.monitor, QStringLiteral("N0CALL-7>APZSKY,TCPIP*:") + kInfo);
    EXPECT_EQ(plan.cost.bytes, plan.monitor.size() + 2);
    EXPECT_FALSE(plan.onAir);
    EXPECT_EQ(channelShare({{plan, 10}}), 0.0);

    link.AprsPasscode = QStringLiteral("-1");
    EXPECT_EQ(planFrames(LinkType::AprsIs, link, station, kInfo, kDestination).refusal,
              AprsIs::receiveOnlyMessage());
}

TEST(AprsIs, SettingsFileKeepsTheLinkAndItsLogin) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("skyvane.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Link]\r\nType=APRS-IS\r\n[APRS-IS]\r\nServer=euro.aprs2.net\r\nPort=14580\r\n"
               "Passcode=12345\r\nFilter=r/51.5/-0.1/50\r\n");
    file.close();
    QString error;
    AppSettings s = AppSettings::load(path, &error);
    EXPECT_EQ(error, QString());
    EXPECT_EQ(s.link.type(), LinkType::AprsIs);
    EXPECT_EQ(s.link.AprsServer, QStringLiteral("euro.aprs2.net"));
    EXPECT_EQ(s.link.AprsPasscode, QStringLiteral("12345"));
    EXPECT_EQ(s.link.AprsFilter, QStringLiteral("r/51.5/-0.1/50"));

    // Defaults where the file says nothing.
    const AppSettings fresh = AppSettings::load(dir.filePath(QStringLiteral("none.ini")), nullptr);
    EXPECT_EQ(fresh.link.AprsServer, QStringLiteral("rotate.aprs2.net"));
    EXPECT_EQ(fresh.link.AprsPort, QStringLiteral("14580"));
    EXPECT_EQ(fresh.link.AprsPasscode, QString());
    EXPECT_EQ(fresh.link.AprsFilter, QString());

    s.link.AprsFilter = QStringLiteral("b/N0CALL*");
    ASSERT_TRUE(s.save(path, &error)) << error.toStdString();
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.readString(QStringLiteral("Link"), QStringLiteral("Type"), {}),
              QStringLiteral("APRS-IS"));
    EXPECT_EQ(ini.readString(QStringLiteral("APRS-IS"), QStringLiteral("Filter"), {}),
              QStringLiteral("b/N0CALL*"));
    EXPECT_EQ(ini.readString(QStringLiteral("APRS-IS"), QStringLiteral("Passcode"), {}),
              QStringLiteral("12345"));
}

// ---- The link against a stand-in server ---------------------------------------------------

namespace {

struct AprsIsLink {
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
    QList<SentRecord> records;

    AprsIsLink(const QString& port, const QString& server = QStringLiteral("127.0.0.1")) {
        LinkSettings settings;
        settings.setType(LinkType::AprsIs);
        settings.AprsServer = server;
        settings.AprsPort = port;
        link.setLinkSettings(settings);
        StationSettings station;
        station.MyCall = QStringLiteral("N0CALL-7");
        station.Destination = kDestination;
        link.setStation(station);
        link.setRetryIntervals(20, 80, 20);
        QObject::connect(&link, &LinkControl::frameRecorded,
                         [this](const SentRecord& r) { records << r; });
    }
    void setPasscode(const QString& passcode) {
        LinkSettings settings = link.linkSettings();
        settings.AprsPasscode = passcode;
        link.setLinkSettings(settings);
    }
    bool up() {
        return waitUntil([&] { return link.isConnected(); });
    }
};

AprsIsServer& verifying(AprsIsServer& server) {
    server.accept("N0CALL", 13023);
    return server;
}

} // namespace

TEST(AprsIsLink, VerifiedLoginCarriesReportsAsExactLines) {
    AprsIsServer server;
    verifying(server);
    // A name, looked up as the real servers' rotating names are.
    AprsIsLink l(server.port(), QStringLiteral("localhost"));
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(l.up());
    EXPECT_EQ(l.link.statusText(),
              QStringLiteral("Connected to APRS-IS server T2STANDIN as N0CALL-7"));
    // Nothing is read back, so no tab may wait for its report to be heard.
    EXPECT_FALSE(l.link.listening());
    ASSERT_EQ(server.logins.size(), 1);
    EXPECT_EQ(server.logins[0], "user N0CALL-7 pass 13023 vers Skyvane " SKYVANE_TEST_VERSION);

    // Each line goes out as it is written.
    int noDelay = 0;
    socklen_t size = sizeof noDelay;
    ASSERT_EQ(getsockopt(l.link.aprsIs().sockets().socketHandle(), IPPROTO_TCP, TCP_NODELAY,
                         &noDelay, &size),
              0);
    EXPECT_NE(noDelay, 0);

    server.sendKeepalive();
    EXPECT_TRUE(l.link.sendReport(kInfo, kDestination, {2, QStringLiteral("NET 8PM")}));
    EXPECT_TRUE(l.link.sendReport(kInfo + QStringLiteral(" 2"), QStringLiteral("APRS")));
    ASSERT_TRUE(server.waitForLines(2));
    EXPECT_EQ(server.lines[0], "N0CALL-7>APZSKY,TCPIP*:" + kInfo.toLatin1());
    EXPECT_EQ(server.lines[1], "N0CALL-7>APRS,TCPIP*:" + kInfo.toLatin1() + " 2");
    ASSERT_EQ(l.records.size(), 2);
    EXPECT_EQ(l.records[0].link, QStringLiteral("APRS-IS"));
    EXPECT_EQ(l.records[0].monitor, QString::fromLatin1(server.lines[0]));
    EXPECT_EQ(l.records[0].bytes, server.lines[0].size() + 2);
    EXPECT_EQ(l.records[0].seconds, 0.0);
    EXPECT_FALSE(l.records[0].onAir());
    EXPECT_TRUE(l.records[0].sent);
    EXPECT_TRUE(l.dialogs.shown.isEmpty());
}

// A server reached over IPv6 only: the login is verified and a report goes as its line.
TEST(AprsIsLink, AServerOnIpv6OnlyIsReached) {
    AprsIsServer server(QHostAddress(QHostAddress::LocalHostIPv6));
    verifying(server);
    AprsIsLink l(server.port(), QStringLiteral("::1"));
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(l.up());
    EXPECT_TRUE(l.link.sendReport(kInfo, kDestination));
    ASSERT_TRUE(server.waitForLines(1));
    EXPECT_EQ(server.lines[0], "N0CALL-7>APZSKY,TCPIP*:" + kInfo.toLatin1());
}

TEST(AprsIsLink, FilterGoesLastInTheLogin) {
    AprsIsServer server;
    verifying(server);
    AprsIsLink l(server.port());
    LinkSettings settings = l.link.linkSettings();
    settings.AprsFilter = QStringLiteral("r/51.5/-0.1/50");
    l.link.setLinkSettings(settings);
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(l.up());
    EXPECT_EQ(server.logins.value(0), "user N0CALL-7 pass 13023 vers Skyvane " SKYVANE_TEST_VERSION
                                      " filter r/51.5/-0.1/50");
}

TEST(AprsIsLink, UnverifiedOrRefusedLoginsSendNothingAndSayWhy) {
    struct Row {
        const char* name;
        std::function<void(AprsIsServer&, AprsIsLink&)> arrange;
        const char* messageStart;
    };
    const Row rows[] = {
        {"wrong passcode", [](AprsIsServer&, AprsIsLink& l) { l.setPasscode("12345"); },
         "The APRS-IS server did not verify the login of N0CALL-7"},
        {"unknown call", [](AprsIsServer&, AprsIsLink&) {},
         "The APRS-IS server did not verify the login of N0CALL-7"},
        {"no answer", [](AprsIsServer& s, AprsIsLink&) { s.setSilent(true); },
         "The APRS-IS server did not answer the login within 30 s."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AprsIsServer server;
        if (std::string(row.name) != "unknown call")
            verifying(server);
        AprsIsLink l(server.port());
        row.arrange(server, l);
        ASSERT_TRUE(l.link.connectLink());
        ASSERT_TRUE(server.waitForLogins(1));
        // A report due while the login is being answered does not go either.
        EXPECT_FALSE(l.link.sendReport(kInfo, kDestination));
        if (std::string(row.name) == "no answer")
            l.link.aprsIs().LoginTimed();
        ASSERT_TRUE(waitUntil([&] { return !l.dialogs.shown.isEmpty(); }));
        EXPECT_TRUE(l.dialogs.shown[0].text.startsWith(QLatin1String(row.messageStart)))
            << l.dialogs.shown[0].text.toStdString();
        EXPECT_FALSE(l.link.isConnected());
        EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
        EXPECT_FALSE(l.link.aprsIs().active());
        EXPECT_FALSE(l.link.sendReport(kInfo, kDestination));
        spinEvents(50);
        EXPECT_TRUE(server.lines.isEmpty());
        ASSERT_FALSE(l.records.isEmpty());
        EXPECT_FALSE(l.records[0].sent);
        EXPECT_EQ(l.records[0].message, QStringLiteral("not logged in to APRS-IS yet"));
    }
}

TEST(AprsIsLink, ServersOwnRefusalIsQuoted) {
    AprsIsServer server;
    verifying(server);
    TestDialogs dialogs;
    AprsIsSession session(&dialogs);
    QString refusal;
    QObject::connect(&session, &AprsIsSession::refused,
                     [&](const QString&, const QString& message) { refusal = message; });
    // With no callsign the login is too short for the server.
    session.start({QStringLiteral("127.0.0.1"), server.port(), QString(), 0, {}}, false);
    ASSERT_TRUE(waitUntil([&] { return !refusal.isEmpty(); }));
    EXPECT_EQ(refusal, QStringLiteral("The APRS-IS server refused the login.\r\nThe server said: "
                                      "# Invalid login string, too few arguments"));
    EXPECT_FALSE(session.active());
    EXPECT_FALSE(session.verified());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST(AprsIsLink, ReceiveOnlyPasscodeIsRefusedBeforeConnecting) {
    AprsIsServer server;
    verifying(server);
    AprsIsLink l(server.port());
    l.setPasscode(QStringLiteral("-1"));
    EXPECT_FALSE(l.link.connectLink());
    ASSERT_EQ(l.dialogs.shown.size(), 1);
    EXPECT_EQ(l.dialogs.shown[0].text, AprsIs::receiveOnlyMessage());
    spinEvents(50);
    EXPECT_EQ(server.connections(), 0);
    // Unattended: the same reason in the status line, and no box.
    EXPECT_FALSE(l.link.connectLink(true));
    EXPECT_EQ(l.dialogs.shown.size(), 1);
    EXPECT_EQ(l.link.statusText(), AprsIs::receiveOnlyMessage());
}

TEST(AprsIsLink, UnattendedRefusalRetriesAtTheSlowEndOnly) {
    AprsIsServer server; // verifies nobody
    AprsIsLink l(server.port());
    l.link.setRetryIntervals(20, 60000, 20);
    ASSERT_TRUE(l.link.connectLink(true));
    ASSERT_TRUE(waitUntil([&] { return l.link.reconnecting(); }));
    EXPECT_EQ(l.link.lossReason(), QStringLiteral("login not verified"));
    EXPECT_EQ(l.link.retryTimer().interval(), 60000);
    EXPECT_TRUE(l.dialogs.shown.isEmpty());
    EXPECT_EQ(server.logins.size(), 1);

    // A server that is not there at all gets the usual back-off.
    server.stop();
    AprsIsLink refused(server.port());
    refused.link.setRetryIntervals(20, 60000, 20);
    ASSERT_TRUE(refused.link.connectLink(true));
    ASSERT_TRUE(waitUntil([&] { return refused.link.reconnecting(); }));
    EXPECT_EQ(refused.link.lossReason(), QStringLiteral("Connection refused"));
    EXPECT_LT(refused.link.retryTimer().interval(), 1000);
    EXPECT_TRUE(refused.dialogs.shown.isEmpty());
}

TEST(AprsIsLink, ServerThatStopsAndComesBackIsSurvived) {
    AprsIsServer server;
    verifying(server);
    AprsIsLink l(server.port());
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(l.up());
    server.stop();
    ASSERT_TRUE(waitUntil([&] { return l.link.reconnecting(); }));
    EXPECT_TRUE(l.dialogs.shown.isEmpty()) << l.dialogs.shown[0].text.toStdString();
    // A report due meanwhile is recorded as not sent, with why; nobody is asked anything.
    EXPECT_FALSE(l.link.sendReport(kInfo, kDestination));
    ASSERT_EQ(l.records.size(), 1);
    EXPECT_FALSE(l.records[0].sent);
    EXPECT_TRUE(l.records[0].message.startsWith(QStringLiteral("link down: ")));
    EXPECT_EQ(l.records[0].monitor, QStringLiteral("N0CALL-7>APZSKY,TCPIP*:") + kInfo);

    ASSERT_TRUE(server.restart());
    int ups = 0;
    QObject::connect(&l.link, &LinkControl::linkUp, [&] { ++ups; });
    ASSERT_TRUE(waitUntil([&] { return ups == 1; }));
    EXPECT_EQ(server.logins.size(), 2);
    EXPECT_TRUE(l.link.sendReport(kInfo, kDestination));
    ASSERT_TRUE(server.waitForLines(1));
    EXPECT_EQ(server.lines.last(), "N0CALL-7>APZSKY,TCPIP*:" + kInfo.toLatin1());
    EXPECT_TRUE(l.dialogs.shown.isEmpty());
}

TEST(AprsIsLink, SilentServerIsALostLinkAndKeepalivesAreIgnored) {
    AprsIsServer server;
    verifying(server);
    AprsIsLink l(server.port());
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(l.up());
    // Keepalives and a stray answer for another login change nothing.
    server.sendKeepalive();
    server.sendLine("# logresp N0CALL-7 unverified, server T2OTHER\r\n");
    EXPECT_TRUE(l.link.sendReport(kInfo, kDestination));
    ASSERT_TRUE(server.waitForLines(1));
    EXPECT_TRUE(l.link.isConnected());

    l.link.aprsIs().SilenceTimed();
    EXPECT_TRUE(l.link.reconnecting());
    EXPECT_EQ(l.link.lossReason(), QStringLiteral("server silent for 2 min"));
    EXPECT_TRUE(l.dialogs.shown.isEmpty());
    ASSERT_TRUE(l.up());
    EXPECT_EQ(server.logins.size(), 2);
}

TEST(AprsIsLink, OverlongServerLineIsDroppedAndTheLoginStillAnswered) {
    AprsIsServer server;
    verifying(server);
    server.setGarbageBeforeAnswer(QByteArray(200000, 'x') + "\r\n");
    AprsIsLink l(server.port());
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(l.up());
    EXPECT_TRUE(l.link.aprsIs().verified());
}

TEST(AprsIsLink, ServerThatRefusesTheConnectionIsAnErrorOfTheUsersConnect) {
    AprsIsServer server;
    const QString port = server.port();
    server.stop();
    AprsIsLink l(port);
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(waitUntil([&] { return !l.dialogs.shown.isEmpty(); }));
    EXPECT_EQ(l.dialogs.shown[0].kind, QStringLiteral("error"));
    EXPECT_EQ(l.dialogs.shown[0].text,
              QStringLiteral("APRS-IS Connection error reported with the message:\r\n"
                             "Connection refused"));
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
}
