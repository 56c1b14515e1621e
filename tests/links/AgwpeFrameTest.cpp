// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AgwpeFrame.h"
#include "links/FrameError.h"

#include <gtest/gtest.h>

namespace {

const QString info = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray nulPadded(const char* text, int size) {
    QByteArray out(text);
    out.append(size - out.size(), '\0');
    return out;
}

} // namespace

TEST(AgwpeFrame, HeaderFieldsAtTheirOffsets) {
    const QByteArray frame = agwpeFrame(1, 0xF0, 'M', QStringLiteral("NOCALL-1"),
                                        QStringLiteral("CQ"), QByteArray("hi"));
    QByteArray expected(36, '\0');
    expected[4] = 'M';
    expected[6] = char(0xF0);
    expected.replace(8, 10, nulPadded("NOCALL-1", 10));
    expected.replace(18, 10, nulPadded("CQ", 10));
    expected[28] = 2;
    EXPECT_EQ(frame, expected + "hi");
}

TEST(AgwpeFrame, PortByteAndDataLength) {
    const struct {
        int port;
        int byte;
    } ports[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {0, 0}};
    for (const auto& p : ports)
        EXPECT_EQ(quint8(agwpeFrame(p.port, 0xF0, 'M', {}, {}, {})[0]), p.byte) << p.port;

    const QByteArray long300 =
        agwpeFrame(1, 0xF0, 'M', QStringLiteral("A"), QStringLiteral("B"), QByteArray(300, 'x'));
    EXPECT_EQ(long300.mid(28, 4), bytes({0x2C, 0x01, 0x00, 0x00}));
    EXPECT_EQ(long300.size(), 336);
    const QByteArray empty = agwpeFrame(1, 0xF0, 'M', QStringLiteral("A"), QStringLiteral("B"), {});
    EXPECT_EQ(empty.size(), 36);
    EXPECT_EQ(empty.mid(28, 4), bytes({0, 0, 0, 0}));
}

TEST(AgwpeFrame, CallsAreCutToTenBytesWithoutCaseChange) {
    const QByteArray frame =
        agwpeFrame(1, 0xF0, 'M', QStringLiteral("abcdefghijkl"), QStringLiteral("ApRs"), {});
    EXPECT_EQ(frame.mid(8, 10), QByteArray("abcdefghij"));
    EXPECT_EQ(frame.mid(18, 10), nulPadded("ApRs", 10));
    EXPECT_EQ(frame.size(), 36);
}

TEST(AgwpeFrame, ViaBlocks) {
    EXPECT_EQ(agwpeViaBlock(QString()), QByteArray());
    EXPECT_EQ(agwpeViaBlock(QStringLiteral("RELAY, WIDE")),
              bytes({2}) + nulPadded("RELAY", 10) + nulPadded("WIDE", 10));
    EXPECT_EQ(agwpeViaBlock(QStringLiteral("TRACE2-2")), bytes({1}) + nulPadded("TRACE2-2", 10));
    // A trailing comma adds nothing; an empty entry in the middle counts.
    EXPECT_EQ(agwpeViaBlock(QStringLiteral("WIDE1-1,")), bytes({1}) + nulPadded("WIDE1-1", 10));
    EXPECT_EQ(agwpeViaBlock(QStringLiteral("A,,B")),
              bytes({3}) + nulPadded("A", 10) + QByteArray(10, '\0') + nulPadded("B", 10));
    EXPECT_EQ(agwpeViaBlock(QStringLiteral(" , ")), bytes({2}) + QByteArray(20, '\0'));
    // Exactly ten characters fill the slot with no NUL.
    EXPECT_EQ(agwpeViaBlock(QStringLiteral("ABCDEFGHIJ")), bytes({1}) + QByteArray("ABCDEFGHIJ"));
}

TEST(AgwpeFrame, EntryTooLongForItsSlotIsRefused) {
    try {
        agwpeViaBlock(QStringLiteral("RELAY, ABCDEFGHIJK"));
        FAIL() << "an 11-character entry was accepted";
    } catch (const FrameError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("ABCDEFGHIJK"))) << e.what();
    }
    EXPECT_THROW(agwpeReportFrames(info, QStringLiteral("N0CALL"), QStringLiteral("CQ"),
                                   QStringLiteral("ABCDEFGHIJK"), {true, true, false, false}),
                 FrameError);
}

TEST(AgwpeFrame, OneFramePerEnabledPortInOrder) {
    const auto frames = agwpeReportFrames(info, QStringLiteral("NOCALL-1"), QStringLiteral("CQ"),
                                          QString(), {true, false, true, false});
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0].radioPort, 1);
    EXPECT_EQ(frames[1].radioPort, 3);
    EXPECT_EQ(quint8(frames[0].bytes[0]), 0);
    EXPECT_EQ(quint8(frames[1].bytes[0]), 2);
    EXPECT_EQ(frames[0].bytes.mid(1), frames[1].bytes.mid(1));
    EXPECT_EQ(frames[0].bytes[4], 'M');
    EXPECT_EQ(frames[0].bytes.mid(36), info.toLatin1());

    EXPECT_TRUE(agwpeReportFrames(info, QStringLiteral("NOCALL-1"), QStringLiteral("CQ"), QString(),
                                  {false, false, false, false})
                    .isEmpty());
    EXPECT_EQ(agwpeReportFrames(info, QStringLiteral("N"), QStringLiteral("CQ"), QString(),
                                {true, true, true, true})
                  .size(),
              4);
}

TEST(AgwpeFrame, ViaFrameCarriesPathThenInformation) {
    const auto frames =
        agwpeReportFrames(info, QStringLiteral("NOCALL-1"), QStringLiteral("WX"),
                          QStringLiteral("RELAY, WIDE"), {true, false, false, false});
    ASSERT_EQ(frames.size(), 1);
    const QByteArray& f = frames[0].bytes;
    EXPECT_EQ(f[4], 'V');
    EXPECT_EQ(f.mid(36),
              bytes({2}) + nulPadded("RELAY", 10) + nulPadded("WIDE", 10) + info.toLatin1());
    EXPECT_EQ(f.mid(28, 4), bytes({21 + int(info.size()), 0, 0, 0}));

    qsizetype consumed = 0;
    const auto parsed = parseAgwpeFrame(f + "next", &consumed);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(consumed, f.size());
    EXPECT_EQ(parsed->kind, 'V');
    EXPECT_EQ(parsed->pid, 0xF0);
    EXPECT_EQ(parsed->callFrom, QStringLiteral("NOCALL-1"));
    EXPECT_EQ(parsed->callTo, QStringLiteral("WX"));
    EXPECT_EQ(parsed->via, QStringList({QStringLiteral("RELAY"), QStringLiteral("WIDE")}));
    EXPECT_EQ(parsed->info, info.toLatin1());
}

TEST(AgwpeFrame, ParserWaitsForWholeFramesAndSkipsBrokenOnes) {
    const QByteArray f = agwpeFrame(2, 0xF0, 'M', QStringLiteral("A"), QStringLiteral("B"), "xyz");
    qsizetype consumed = -1;
    EXPECT_FALSE(parseAgwpeFrame(f.left(35), &consumed).has_value());
    EXPECT_EQ(consumed, 0);
    EXPECT_FALSE(parseAgwpeFrame(f.left(38), &consumed).has_value());
    EXPECT_EQ(consumed, 0);
    // A via count larger than the data is a whole frame that cannot be read.
    const QByteArray broken = agwpeFrame(1, 0xF0, 'V', QStringLiteral("A"), QStringLiteral("B"),
                                         bytes({3}) + QByteArray(10, 'R'));
    EXPECT_FALSE(parseAgwpeFrame(broken, &consumed).has_value());
    EXPECT_EQ(consumed, broken.size());
}
