// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/ConvertError.h"
#include "links/Ax25.h"
#include "links/FrameError.h"
#include "links/Kiss.h"
#include "support/Text.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

const QByteArray info = ";ABC      *061523z5130.25N/00007.50W>Net tonight";

// A built frame must read back, through KISS framing and the address parser, as what it was
// built from.
void expectReadsBack(const QByteArray& body, const char* destination, const char* source,
                     const QStringList& path, const QByteArray& information) {
    KissDecoder decoder;
    const auto frames = decoder.feed(kissWrap(0, body));
    ASSERT_EQ(frames.size(), 1);
    const auto frame = parseAx25UiFrame(frames[0].body);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->destination, QString::fromLatin1(destination));
    EXPECT_EQ(frame->source, QString::fromLatin1(source));
    EXPECT_EQ(frame->path, path);
    EXPECT_EQ(frame->control, 0x03);
    EXPECT_EQ(frame->pid, 0xF0);
    EXPECT_EQ(frame->info, information);
}

} // namespace

TEST(Ax25, NocallToCqWithoutDigipeaters) {
    const QByteArray body = ax25UiFrame(q("CQ"), q("NOCALL-1"), QString(), info);
    EXPECT_EQ(body.left(16), bytes({0x86, 0xA2, 0x40, 0x40, 0x40, 0x40, 0xE0, 0x9C, 0x9E, 0x86,
                                    0x82, 0x98, 0x98, 0x63, 0x03, 0xF0}));
    EXPECT_EQ(body.mid(16), info);
    expectReadsBack(body, "CQ", "NOCALL-1", {}, info);
}

TEST(Ax25, SsidBytesOfEveryAddressKind) {
    const struct {
        const char* call;
        quint8 bits;
        bool last;
        int ssidByte;
    } rows[] = {
        {"CQ", 0xE0, false, 0xE0},       {"APRS-3", 0xE0, false, 0xE6},
        {"N0CALL-15", 0x60, true, 0x7F}, {"RELAY", 0x60, false, 0x60},
        {"WIDE", 0x60, true, 0x61},      {"TRACE2-2", 0x60, true, 0x65},
        {"WIDE1-0", 0x60, false, 0x60},
    };
    for (const auto& row : rows)
        EXPECT_EQ(quint8(ax25Address(q(row.call), row.bits, row.last)[6]), row.ssidByte)
            << row.call;
    EXPECT_EQ(ax25Address(q("ABCDEF"), 0x60, false).left(6),
              bytes({0x82, 0x84, 0x86, 0x88, 0x8A, 0x8C}));
    EXPECT_EQ(ax25Address(q("A1"), 0x60, false).left(6),
              bytes({0x82, 0x62, 0x40, 0x40, 0x40, 0x40}));
}

TEST(Ax25, PathSetsTheEndBitOnItsLastEntryOnly) {
    const QByteArray body = ax25UiFrame(q("CQ"), q("NOCALL-1"), q("RELAY, WIDE"), info);
    EXPECT_EQ(quint8(body[13]), 0x62); // source: end bit clear
    EXPECT_EQ(body.mid(14, 7), ax25Address(q("RELAY"), 0x60, false));
    EXPECT_EQ(quint8(body[20]), 0x60);
    EXPECT_EQ(quint8(body[27]), 0x61);
    EXPECT_EQ(body.mid(28, 2), bytes({0x03, 0xF0}));
    EXPECT_EQ(body.mid(30), info);
    // A trailing comma adds no digipeater.
    EXPECT_EQ(ax25UiFrame(q("CQ"), q("NOCALL-1"), q("RELAY, WIDE,"), info), body);
    expectReadsBack(body, "CQ", "NOCALL-1", {q("RELAY"), q("WIDE")}, info);
    const QByteArray trace = ax25UiFrame(q("APRS-3"), q("N0CALL-15"), q("TRACE2-2"), info);
    EXPECT_EQ(quint8(trace[6]), 0xE6);
    EXPECT_EQ(quint8(trace[20]), 0x65);
    expectReadsBack(trace, "APRS-3", "N0CALL-15", {q("TRACE2-2")}, info);
}

TEST(Ax25, CallsignsThatCannotBeCarried) {
    const struct {
        const char* call;
        bool fine;
    } rows[] = {
        {"NOCALL-1", true},
        {"CQ", true},
        {"N0CALL-15", true},
        {"WIDE2-0", true},
        {"ABCDEF", true},
        {"AB-007", true},
        {"ABCDEFG", false},
        {"ABCDEFG-1", false},
        {"AB-16", false},
        {"AB-99999", false},
        {"AB-x", false},
        {"AB-", false},
        {"AB-1-2", false},
        {"AB- 1", false},
        {"-1", false},
        {"", false},
        {"n0call", false},
        {"MY CALL", false},
        {"\xc3\x84"
         "B",
         false},
        {"AB*", false},
    };
    for (const auto& row : rows) {
        const QString call = q(row.call);
        const QString problem = ax25CallsignProblem(call);
        EXPECT_EQ(problem.isEmpty(), row.fine) << row.call << ": " << problem.toStdString();
        if (!call.isEmpty() && !row.fine) {
            EXPECT_TRUE(problem.contains(call)) << problem.toStdString();
        }
        if (row.fine) {
            EXPECT_NO_THROW(ax25Address(call, 0x60, true)) << row.call;
        } else {
            EXPECT_ANY_THROW(ax25Address(call, 0x60, true)) << row.call;
        }
    }
}

TEST(Ax25, SsidThatIsNotANumberGivesTheConversionMessage) {
    const struct {
        const char* call;
        const char* message;
    } rows[] = {{"AB-x", "'x' is not a valid integer value"},
                {"AB-", "'' is not a valid integer value"},
                {"AB-1-2", "'1-2' is not a valid integer value"},
                {"AB-$A", "'$A' is not a valid integer value"}};
    for (const auto& row : rows) {
        try {
            ax25UiFrame(q("CQ"), q(row.call), QString(), info);
            ADD_FAILURE() << row.call << " was encoded";
        } catch (const ConvertError& e) {
            EXPECT_EQ(e.message(), q(row.message));
        }
    }
    // Out of range is a different fault, said in words.
    EXPECT_THROW(ax25UiFrame(q("CQ"), q("AB-16"), QString(), info), FrameError);
    EXPECT_THROW(ax25UiFrame(q("CQ"), q("NOCALL-1"), q("WIDE, TOOLONGX"), info), FrameError);
    EXPECT_THROW(ax25UiFrame(q("CQ"), q("NOCALL-1"), q("WIDE,,RELAY"), info), FrameError);
}

TEST(Ax25, AtMostEightDigipeaters) {
    const QString eight = q("A1,A2,A3,A4,A5,A6,A7,A8");
    const QByteArray body = ax25UiFrame(q("CQ"), q("N0CALL"), eight, {});
    EXPECT_EQ(body.size(), 7 * 10 + 2);
    expectReadsBack(body, "CQ", "N0CALL", eight.split(QLatin1Char(',')), {});
    try {
        ax25UiFrame(q("CQ"), q("N0CALL"), eight + q(",A9"), {});
        FAIL() << "nine digipeaters were encoded";
    } catch (const FrameError& e) {
        EXPECT_TRUE(e.message().contains(q("9"))) << e.what();
    }
}

TEST(Ax25, ParserRefusesWhatIsNotAUiFrame) {
    const QByteArray good = ax25UiFrame(q("CQ"), q("NOCALL-1"), q("WIDE"), info);
    ASSERT_TRUE(parseAx25UiFrame(good).has_value());
    EXPECT_FALSE(parseAx25UiFrame(good.left(13)).has_value());
    EXPECT_FALSE(parseAx25UiFrame(good.left(21)).has_value()); // no control byte
    QByteArray noEnd = good;
    noEnd[20] = char(0x60); // the address field never ends
    EXPECT_FALSE(parseAx25UiFrame(noEnd).has_value());
    QByteArray notUi = good;
    notUi[21] = 0x00; // an I frame
    EXPECT_FALSE(parseAx25UiFrame(notUi).has_value());
    QByteArray lower = good;
    lower[0] = char('c' << 1);
    EXPECT_FALSE(parseAx25UiFrame(lower).has_value());
    QByteArray oneAddress = ax25Address(q("CQ"), 0xE0, true) + bytes({0x03, 0xF0});
    EXPECT_FALSE(parseAx25UiFrame(oneAddress).has_value());
    QByteArray repeated = good;
    repeated[20] = char(0xE1);
    const auto r = parseAx25UiFrame(repeated);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(ax25MonitorText(*r), q("NOCALL-1>CQ,WIDE*:") + QString::fromLatin1(info));
    // Monitors mark only the last repeated address; UTF-8 text reads as such.
    Ax25Frame twoHops = *r;
    twoHops.path = QStringList{q("DIGI1"), q("WIDE1"), q("WIDE2-1")};
    twoHops.repeated = {true, true, false};
    twoHops.info = QStringLiteral("Caf\u00e9").toUtf8();
    EXPECT_EQ(ax25MonitorText(twoHops),
              QStringLiteral("NOCALL-1>CQ,DIGI1,WIDE1*,WIDE2-1:Caf\u00e9"));
}

TEST(Kiss, EveryByteRoundTripsThroughEscaping) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QByteArray escaped = kissEscape(all);
    EXPECT_EQ(escaped.size(), 258);
    EXPECT_FALSE(escaped.contains(char(0xC0)));
    EXPECT_EQ(escaped.mid(0xC0, 2), bytes({0xDB, 0xDC}));
    EXPECT_EQ(escaped.mid(0xDB + 1, 2), bytes({0xDB, 0xDD}));
    for (int port = 0; port < 2; ++port) {
        KissDecoder decoder;
        const auto frames = decoder.feed(kissWrap(port, all));
        ASSERT_EQ(frames.size(), 1);
        EXPECT_EQ(frames[0].port(), port);
        EXPECT_EQ(frames[0].command(), 0);
        EXPECT_EQ(frames[0].body, all);
    }
    // Each byte alone, including the two special ones at the edges of a frame.
    KissDecoder decoder;
    for (int b = 0; b < 256; ++b) {
        const auto frames = decoder.feed(kissWrap(0, QByteArray(1, char(b))));
        ASSERT_EQ(frames.size(), 1) << b;
        EXPECT_EQ(frames[0].body, QByteArray(1, char(b))) << b;
    }
    EXPECT_EQ(decoder.errors(), 0);
}

TEST(Kiss, WrapWritesFendCommandBodyFend) {
    EXPECT_EQ(kissWrap(0, "AB"), bytes({0xC0, 0x00, 'A', 'B', 0xC0}));
    EXPECT_EQ(kissWrap(1, bytes({0xC0})), bytes({0xC0, 0x10, 0xDB, 0xDC, 0xC0}));
    EXPECT_EQ(kissWrap(0, {}, 0x0F), bytes({0xC0, 0x0F, 0xC0}));
}

TEST(Kiss, DecoderCollectsFramesFromAnyChunking) {
    const QByteArray a = kissWrap(0, "first" + bytes({0xC0, 0xDB}));
    const QByteArray b = kissWrap(1, "second");
    const QByteArray stream = "cmd: noise" + a + bytes({0xC0, 0xC0}) + b;
    for (int chunk : {1, 2, 3, 7, 1000}) {
        KissDecoder decoder;
        QList<KissDecoder::Frame> frames;
        for (qsizetype i = 0; i < stream.size(); i += chunk)
            frames += decoder.feed(stream.mid(i, chunk));
        ASSERT_EQ(frames.size(), 2) << chunk;
        EXPECT_EQ(frames[0].body, "first" + bytes({0xC0, 0xDB}));
        EXPECT_EQ(frames[1].port(), 1);
        EXPECT_EQ(frames[1].body, QByteArray("second"));
    }
}

TEST(Kiss, DecoderDropsBrokenFramesAndKeepsGoing) {
    KissDecoder decoder;
    // An escape followed by neither TFEND nor TFESC.
    auto frames = decoder.feed(bytes({0xC0, 0x00, 'x', 0xDB, 'y', 'z', 0xC0}) + kissWrap(0, "ok"));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].body, QByteArray("ok"));
    EXPECT_EQ(decoder.errors(), 1);
    // Endless noise after a FEND is not kept.
    frames = decoder.feed(bytes({0xC0}) + QByteArray(KissDecoder::MaxFrame + 10, 'n') +
                          kissWrap(0, "after"));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].body, QByteArray("after"));
    EXPECT_EQ(decoder.errors(), 2);
    // The "leave KISS" command comes through as a frame of its own.
    frames = decoder.feed(bytes({0xC0, 0xFF, 0xC0}));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].commandByte, 0xFF);
    EXPECT_TRUE(frames[0].body.isEmpty());
}

TEST(Kiss, EveryReportFrameDecodesToItsCallsPathAndInformation) {
    QByteArray binaryInfo = info;
    binaryInfo += bytes({0xC0, 0xDB, 0x00, 0xFF});
    const struct {
        const char* destination;
        const char* source;
        const char* path;
        QStringList digis;
    } rows[] = {
        {"CQ", "NOCALL-1", "", {}},
        {"WX", "NOCALL-1", "RELAY, WIDE", {q("RELAY"), q("WIDE")}},
        {"APRS-3", "N0CALL-15", "TRACE2-2", {q("TRACE2-2")}},
        {"APRS", "G4ABC", " WIDE1-1 , WIDE2-1 ,", {q("WIDE1-1"), q("WIDE2-1")}},
        {"CQ",
         "K1ABC",
         "A1,A2,A3,A4,A5,A6,A7,A8",
         {q("A1"), q("A2"), q("A3"), q("A4"), q("A5"), q("A6"), q("A7"), q("A8")}},
    };
    for (const auto& row : rows) {
        const QString infoText = QString::fromLatin1(binaryInfo);
        const auto frames = kissReportFrames(infoText, q(row.source), q(row.destination),
                                             q(row.path), {true, true, true, true});
        ASSERT_EQ(frames.size(), 2) << "radio ports 3 and 4 are not KISS ports";
        KissDecoder decoder;
        const auto decoded = decoder.feed(frames[0].bytes + frames[1].bytes);
        ASSERT_EQ(decoded.size(), 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(frames[i].radioPort, i + 1);
            EXPECT_EQ(decoded[i].port(), i);
            const auto frame = parseAx25UiFrame(decoded[i].body);
            ASSERT_TRUE(frame.has_value()) << row.source;
            EXPECT_EQ(frame->destination, q(row.destination));
            EXPECT_EQ(frame->source, q(row.source));
            EXPECT_EQ(frame->path, row.digis);
            EXPECT_EQ(frame->control, 0x03);
            EXPECT_EQ(frame->pid, 0xF0);
            EXPECT_EQ(frame->info, binaryInfo);
        }
    }
}

TEST(Kiss, ReportFramesPerPortAndMonitorText) {
    const auto onlyTwo = kissReportFrames(QString::fromLatin1(info), q("NOCALL-1"), q("CQ"),
                                          q("RELAY, WIDE"), {false, true, false, false});
    ASSERT_EQ(onlyTwo.size(), 1);
    EXPECT_EQ(onlyTwo[0].tncPort, 1);
    EXPECT_EQ(onlyTwo[0].bytes.left(2), bytes({0xC0, 0x10}));
    EXPECT_TRUE(kissReportFrames(QString::fromLatin1(info), q("NOCALL-1"), q("CQ"), {},
                                 {false, false, true, true})
                    .isEmpty());
    KissDecoder decoder;
    const auto frame = parseAx25UiFrame(decoder.feed(onlyTwo[0].bytes).value(0).body);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(ax25MonitorText(*frame), q("NOCALL-1>CQ,RELAY,WIDE:") + QString::fromLatin1(info));
    Ax25Frame withControl = *frame;
    withControl.info = "a\r\nb\x7f\xe9";
    EXPECT_EQ(ax25MonitorText(withControl), q("NOCALL-1>CQ,RELAY,WIDE:a<0x0d><0x0a>b<0x7f>\u00e9"));
}
