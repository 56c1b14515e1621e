// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TncCodes.h"

#include <gtest/gtest.h>
#include <optional>

TEST(TncCodes, ControlKeysBecomeDollarHex) {
    const struct {
        int code;
        std::optional<QString> text;
    } rows[] = {
        {0, QStringLiteral("$00")},  {3, QStringLiteral("$03")},  {13, QStringLiteral("$0D")},
        {27, QStringLiteral("$1B")}, {29, QStringLiteral("$1D")}, {8, std::nullopt},
        {30, std::nullopt},          {'A', std::nullopt},         {-1, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TncCodes::keyText(row.code), row.text) << row.code;
}

TEST(TncCodes, CodeTextsAreBytesOnly) {
    const struct {
        const char* text;
        std::optional<int> value;
    } rows[] = {
        {"13", 13},
        {"$0D", 13},
        {"$0d", 13},
        {"0", 0},
        {"255", 255},
        {"$FF", 255},
        {" 3", 3},
        {"256", std::nullopt},
        {"$100", std::nullopt},
        {"-1", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"$", std::nullopt},
        {"1 3", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TncCodes::byteValue(QString::fromLatin1(row.text)), row.value) << row.text;
}

TEST(KissSequence, ExitBytesEndAtTheFirstZero) {
    const struct {
        std::array<int, 4> codes;
        QByteArray bytes;
    } rows[] = {
        {{192, 255, 192, 0}, QByteArray("\xC0\xFF\xC0")},
        {{3, 3, 3, 0}, QByteArray("\x03\x03\x03")},
        {{27, 64, 75, 13}, QByteArray("\x1B@K\r")},
        {{192, 0, 255, 192}, QByteArray("\xC0")},
        {{0, 192, 255, 192}, QByteArray()},
        // Stored values outside a byte go out modulo 256, and 256 is a zero.
        {{448, 256, 1, 0}, QByteArray("\xC0")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(KissSequence::exitBytes(row.codes), row.bytes) << row.bytes.toHex().constData();
}

TEST(KissSequence, EnterLinesAreWholeAndEmptyOnesStillSent) {
    const QString longLine = QStringLiteral("INTFACE KISS ") + QString(60, QLatin1Char('X'));
    const auto lines = KissSequence::enterLines(
        {QStringLiteral("KISS ON"), longLine, QString(), QStringLiteral("MYCALL CAF\u00c9")});
    EXPECT_EQ(lines[0], QByteArray("KISS ON\r\n"));
    EXPECT_EQ(lines[1], longLine.toLatin1() + "\r\n");
    EXPECT_EQ(lines[2], QByteArray("\r\n"));
    EXPECT_EQ(lines[3], QByteArray("MYCALL CAF\xC9\r\n"));
}

TEST(TerminalText, MemoKeepsTheNewest4095Characters) {
    QString memo;
    memo = TerminalText::append(memo, QStringLiteral("cmd:"));
    EXPECT_EQ(memo, QStringLiteral("cmd:\r\n"));

    // Bursts that together pass the limit: the oldest characters go, exactly 4095 stay.
    const QString burst = QString(3000, QLatin1Char('a'));
    memo = TerminalText::append(memo, burst);
    memo = TerminalText::append(memo, burst);
    memo = TerminalText::append(memo, QStringLiteral("NEWEST"));
    EXPECT_EQ(memo.size(), TerminalText::MemoCapacity);
    EXPECT_TRUE(memo.endsWith(QStringLiteral("aaa\r\nNEWEST\r\n")));

    // One burst larger than the memo on its own.
    memo = TerminalText::append(QString(), QString(5000, QLatin1Char('b')) + QStringLiteral("z"));
    EXPECT_EQ(memo.size(), 4095);
    EXPECT_TRUE(memo.endsWith(QStringLiteral("bz\r\n")));

    EXPECT_EQ(TerminalText::display(QStringLiteral("a\r\ncmd:\rb\nc")),
              QStringLiteral("a\ncmd:\nb\nc"));
}
