// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TncCommandMode.h"
#include "links/FrameError.h"

#include <gtest/gtest.h>

using namespace TncCommandMode;

TEST(TncCommandMode, ConnectDialogueLines) {
    EXPECT_EQ(probe(3), QByteArray("\x03\r\n"));
    const QList<QByteArray> lines = connectLines(
        QStringLiteral("NOCALL-1"), QStringLiteral("CQ"), QStringLiteral("RELAY, WIDE"),
        QStringLiteral("CONOK OFF"), QStringLiteral("BEACON EVERY 0"));
    EXPECT_EQ(lines, QList<QByteArray>({"MYCALL NOCALL-1\r\n", "UNPROTO CQ VIA RELAY, WIDE\r\n",
                                        "CONOK OFF\r\n", "BEACON EVERY 0\r\n"}));
    EXPECT_EQ(connectLines(QStringLiteral("N0CALL"), QStringLiteral("APRS"), QString(), {}, {})[1],
              QByteArray("UNPROTO APRS\r\n"));
}

TEST(TncCommandMode, LongLinesGoOutWhole) {
    // Far past any fixed buffer a TNC line might once have been written from.
    const QString path =
        QStringLiteral("WIDE1-1,WIDE2-2,RELAY,TRACE3-3,WIDE4-4,WIDE5-5,WIDE6-6,WIDE7-7");
    const QByteArray unproto =
        connectLines(QStringLiteral("N0CALL-15"), QStringLiteral("APRS"), path, {}, {})[1];
    EXPECT_EQ(unproto, QByteArray("UNPROTO APRS VIA ") + path.toLatin1() + "\r\n");
    const QString info = QString(150, QLatin1Char('r'));
    EXPECT_EQ(reportLine(info, 13), info.toLatin1() + '\r');
}

TEST(TncCommandMode, ReportBytes) {
    EXPECT_EQ(converse(QStringLiteral("CONV"), 0x0D), QByteArray("CONV\r"));
    EXPECT_EQ(converse(QStringLiteral("K"), 0x0A), QByteArray("K\n"));
    EXPECT_EQ(reportLine(QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Caf\u00e9"), 0x0D),
              QByteArray(";ABC      *061523z5130.25N/00007.50W>Caf\xe9\r"));
    EXPECT_EQ(commandCode(3), QByteArray("\x03", 1));
    EXPECT_EQ(commandCode(0), QByteArray(1, '\0'));
}

TEST(TncCommandMode, ReportHoldingAControlCodeIsRefused) {
    EXPECT_THROW(reportLine(QStringLiteral("one\rtwo"), 0x0D), FrameError);
    EXPECT_THROW(reportLine(QStringLiteral("a\x03z"), 0x0D, 3), FrameError);
    // The same text is fine when the TNC uses other codes.
    EXPECT_EQ(reportLine(QStringLiteral("a\x03z"), 0x0D), QByteArray("a\x03z\r"));
    EXPECT_EQ(reportLine(QStringLiteral("one\rtwo"), 0x0A, 3), QByteArray("one\rtwo\n"));
}

TEST(TncCommandMode, PromptSearch) {
    const struct {
        QByteArray received;
        const char* prompt;
        bool found;
    } rows[] = {
        {"\r\ncmd:", "cmd:", true},
        {"garbage cmd: more", "cmd:", true},
        {"CMD:", "cmd:", false},
        {"cmd", "cmd:", false},
        {"", "cmd:", false},
        {"anything", "", false},
        {QByteArray("\xc0\x00\xc0", 3), "cmd:", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(answerHasPrompt(row.received, QString::fromLatin1(row.prompt)), row.found)
            << row.received.toStdString();
}
