// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "tools/TncSimulator.h"
#include "links/Ax25.h"
#include "links/Kiss.h"
#include "links/TncCommandMode.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

const QString report = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

// The dialogue a link has with a command-mode TNC: probe, set-up lines, then one report.
void connectAndSend(TncSimulator& tnc, const QString& path, const QString& info) {
    tnc.receive(TncCommandMode::probe(3), 0);
    for (const QByteArray& line : TncCommandMode::connectLines(
             QStringLiteral("N0CALL-7"), QStringLiteral("APRS"), path, QStringLiteral("CONOK OFF"),
             QStringLiteral("BEACON EVERY 0")))
        tnc.receive(line, 10);
    tnc.receive(TncCommandMode::converse(QStringLiteral("CONV"), 0x0D), 20);
    tnc.receive(TncCommandMode::reportLine(info, 0x0D), 520);
    tnc.receive(TncCommandMode::commandCode(3), 1020);
}

} // namespace

TEST(TncSimulator, CommandModeDialogueSendsTheReport) {
    TncSimulator tnc;
    tnc.receive(TncCommandMode::probe(3), 0);
    EXPECT_TRUE(TncCommandMode::answerHasPrompt(tnc.takeReply(0), QStringLiteral("cmd:")));
    connectAndSend(tnc, QStringLiteral("RELAY, WIDE"), report);
    EXPECT_EQ(tnc.myCall(), QStringLiteral("N0CALL-7"));
    EXPECT_EQ(tnc.destination(), QStringLiteral("APRS"));
    EXPECT_EQ(tnc.path(), QStringList({QStringLiteral("RELAY"), QStringLiteral("WIDE")}));
    EXPECT_EQ(tnc.takeTransmitted(),
              QStringList({QStringLiteral("N0CALL-7>APRS,RELAY,WIDE:") + report}));
    EXPECT_FALSE(tnc.converseMode());
    const QByteArray replies = tnc.takeReply(2000);
    EXPECT_TRUE(replies.contains("CONOK was ON"));
    EXPECT_TRUE(replies.endsWith("cmd:"));
    tnc.receive("DISPLAY\r", 3000);
    const QByteArray shown = tnc.takeReply(3000);
    EXPECT_TRUE(shown.contains("UNPROTO APRS VIA RELAY,WIDE")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("CONOK OFF")) << shown.toStdString();
}

TEST(TncSimulator, ConverseLinesEndAtTheSendPacByte) {
    TncSimulator::Options options;
    options.sendPac = 0x0A;
    TncSimulator tnc(options);
    tnc.receive("UNPROTO CQ\r\nCONV\r", 0);
    ASSERT_TRUE(tnc.converseMode());
    tnc.receive("one\rstill one\ntwo\n\n", 0);
    tnc.receive("three", 0);
    tnc.receive("\x03", 0);
    // An unfinished line is dropped when the TNC goes back to command mode.
    EXPECT_EQ(tnc.takeTransmitted(), QStringList({QStringLiteral("NOCALL>CQ:one<0x0d>still one"),
                                                  QStringLiteral("NOCALL>CQ:two")}));
    EXPECT_FALSE(tnc.converseMode());
}

TEST(TncSimulator, OverlongConverseLineIsSentInPieces) {
    TncSimulator tnc;
    tnc.receive("K\r", 0);
    tnc.receive(QByteArray(TncSimulator::Paclen + 4, 'x') + '\r', 0);
    const QStringList sent = tnc.takeTransmitted();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0], QStringLiteral("NOCALL>CQ:") + QString(TncSimulator::Paclen, 'x'));
    EXPECT_EQ(sent[1], QStringLiteral("NOCALL>CQ:xxxx"));
}

TEST(TncSimulator, BadCommandsAreRefusedAndChangeNothing) {
    TncSimulator tnc;
    const struct {
        QByteArray line;
        const char* reply;
    } rows[] = {
        {"FROBNICATE\r", "?EH"},
        {"MYCALL TOOLONGCALL\r", "?bad callsign"},
        {"MYCALL AB-16\r", "?bad callsign"},
        {"UNPROTO CQ BY RELAY\r", "?EH"},
        {"UNPROTO CQ VIA A1 A2 A3 A4 A5 A6 A7 A8 A9\r", "?too many digipeaters"},
        {"UNPROTO CQ VIA WIDE1-1,BAD-X\r", "?bad callsign"},
        {QByteArray(TncSimulator::MaxCommandLine + 1, 'M') + "\r", "?line too long"},
    };
    for (const auto& row : rows) {
        tnc.receive(row.line, 0);
        const QByteArray reply = tnc.takeReply(0);
        EXPECT_TRUE(reply.contains(row.reply))
            << row.line.left(40).toStdString() << " -> " << reply.toStdString();
        EXPECT_TRUE(reply.endsWith("cmd:"));
    }
    EXPECT_EQ(tnc.myCall(), QStringLiteral("NOCALL"));
    EXPECT_EQ(tnc.destination(), QStringLiteral("CQ"));
    EXPECT_TRUE(tnc.path().isEmpty());
    // Lower case is taken as capitals, and a later good line works after a refused one.
    tnc.receive("my n0call-3\r\nmycall\r", 0);
    EXPECT_TRUE(tnc.takeReply(0).contains("MYCALL N0CALL-3"));
}

TEST(TncSimulator, KissModeDecodesFramesAndStaysSilent) {
    TncSimulator tnc;
    tnc.receive("KISS ON\r\n", 0);
    EXPECT_FALSE(tnc.kissMode());
    tnc.receive("RESTART\r\n", 0);
    EXPECT_TRUE(tnc.kissMode());
    tnc.takeReply(0);

    const auto frames = kissReportFrames(report, QStringLiteral("NOCALL-1"), QStringLiteral("CQ"),
                                         QStringLiteral("WIDE2-2"), {true, true, false, false});
    QByteArray stream = TncCommandMode::commandCode(3); // the link's silence check
    for (const auto& f : frames)
        stream += f.bytes;
    stream += kissWrap(0, QByteArray("\x00\x01garbage", 9)); // not an AX.25 frame
    stream += kissWrap(0, QByteArray(1, char(50)), 1);       // TXDELAY
    tnc.receive(stream, 0);
    EXPECT_EQ(tnc.takeReply(100000), QByteArray());
    EXPECT_EQ(tnc.takeTransmitted(),
              QStringList({QStringLiteral("NOCALL-1>CQ,WIDE2-2:") + report,
                           QStringLiteral("[1] NOCALL-1>CQ,WIDE2-2:") + report}));
    EXPECT_TRUE(tnc.takeNotes().join(' ').contains(QStringLiteral("not an AX.25 UI frame")));

    tnc.receive(QByteArray("\xC0\xFF\xC0", 3), 0);
    EXPECT_FALSE(tnc.kissMode());
    EXPECT_TRUE(tnc.takeReply(0).endsWith("cmd:"));
}

TEST(TncSimulator, ConfiguredKissSequences) {
    TncSimulator::Options options;
    options.enterKiss = QStringList{QStringLiteral("INTFACE KISS"), QStringLiteral("RESET")};
    options.exitKiss = QByteArray("\x1b@K", 3);
    options.prompt = "TNC> ";
    TncSimulator tnc(options);
    // A wrong second line starts over; the first line again starts a new try.
    tnc.receive("INTFACE KISS\rMONITOR ON\rRESET\r", 0);
    EXPECT_FALSE(tnc.kissMode());
    tnc.receive("intface kiss\rINTFACE KISS\r\r\nreset\r", 0);
    EXPECT_TRUE(tnc.kissMode());
    tnc.takeReply(0);
    // The usual exit frame means nothing to this TNC; its own bytes do, even split.
    tnc.receive(QByteArray("\xC0\xFF\xC0\x1b", 4), 0);
    EXPECT_TRUE(tnc.kissMode());
    tnc.receive("@K", 0);
    EXPECT_FALSE(tnc.kissMode());
    EXPECT_TRUE(tnc.takeReply(0).endsWith("TNC> "));
}

TEST(TncSimulator, FaultModes) {
    TncSimulator::Options silentOptions;
    silentOptions.silent = true;
    TncSimulator silent(silentOptions);
    silent.receive(TncCommandMode::probe(3), 0);
    EXPECT_FALSE(silent.nextReplyDue().has_value());
    EXPECT_EQ(silent.takeReply(1000000), QByteArray());

    TncSimulator::Options lateOptions;
    lateOptions.replyDelayMs = 2000;
    TncSimulator late(lateOptions);
    late.receive(TncCommandMode::probe(3), 1000);
    EXPECT_EQ(late.nextReplyDue(), 3000);
    EXPECT_EQ(late.takeReply(2500), QByteArray());
    EXPECT_TRUE(late.takeReply(3000).contains("cmd:"));

    TncSimulator::Options chatterOptions;
    chatterOptions.chatter = true;
    chatterOptions.startInKiss = true;
    TncSimulator chatter(chatterOptions);
    ASSERT_TRUE(chatter.kissMode());
    chatter.receive(TncCommandMode::commandCode(3), 0);
    EXPECT_FALSE(chatter.takeReply(0).isEmpty());
    EXPECT_TRUE(chatter.kissMode());

    TncSimulator::Options echoOptions;
    echoOptions.echo = true;
    TncSimulator echo(echoOptions);
    echo.receive("MY\r", 0);
    EXPECT_TRUE(echo.takeReply(0).startsWith("MY\r"));
}

TEST(TncSimulator, AnyBytesInAnyModeKeepItSane) {
    QRandomGenerator random(4242);
    TncSimulator::Options options;
    options.echo = true;
    TncSimulator tnc(options);
    // Bytes a line might carry: command words, mode switches and raw noise.
    const QList<QByteArray> pieces{"CONV\r",
                                   "KISS ON\r",
                                   "RESTART\r",
                                   "MYCALL AB1CD-3\r",
                                   "UNPROTO CQ VIA WIDE1-1\r",
                                   QByteArray("\xC0\xFF\xC0", 3),
                                   "\x03",
                                   "\r\n",
                                   "DISPLAY\r",
                                   "U\r"};
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        if (random.bounded(2) == 0) {
            bytes = pieces[random.bounded(int(pieces.size()))];
        } else {
            bytes.resize(random.bounded(80));
            for (char& b : bytes)
                b = char(random.bounded(256));
        }
        tnc.receive(bytes, round);
        EXPECT_LE(tnc.takeReply(round).size(), 4 * (bytes.size() + 2 * TncSimulator::Paclen));
        for (const QString& line : tnc.takeTransmitted())
            ASSERT_FALSE(line.contains('\n') || line.contains('\r')) << line.toStdString();
        tnc.takeNotes();
        EXPECT_TRUE(ax25CallsignProblem(tnc.myCall()).isEmpty());
        EXPECT_LE(tnc.path().size(), 8);
    }
}
