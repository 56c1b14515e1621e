// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// Whatever a serial line or a socket delivers, the decoders neither crash nor lose the frames
// that are whole. Seeded, so a failure repeats.

#include "links/AgwpeFrame.h"
#include "links/Ax25.h"
#include "links/Kiss.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray randomBytes(QRandomGenerator& random, int maxSize) {
    QByteArray bytes(random.bounded(maxSize + 1), '\0');
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

} // namespace

TEST(RandomInput, KissFramesSurviveNoiseAndAnyChunking) {
    QRandomGenerator random(20260307);
    for (int round = 0; round < 200; ++round) {
        QList<QByteArray> bodies;
        QByteArray stream = randomBytes(random, 40).replace(char(0xC0), 'x'); // before any FEND
        for (int i = 0; i < 5; ++i) {
            bodies << randomBytes(random, 300);
            stream += kissWrap(random.bounded(2), bodies.last());
            // Noise between frames becomes a frame of its own, but never eats a real one.
            if (random.bounded(3) == 0)
                stream += randomBytes(random, 20).replace(char(0xC0), 'y') + char(0xC0);
        }
        KissDecoder decoder;
        QList<QByteArray> decoded;
        for (qsizetype at = 0; at < stream.size();) {
            const int chunk = 1 + random.bounded(64);
            for (const auto& frame : decoder.feed(stream.mid(at, chunk)))
                decoded << frame.body;
            at += chunk;
        }
        qsizetype next = 0;
        for (const QByteArray& body : bodies) {
            if (body.isEmpty())
                continue; // an empty body is two FENDs in a row: nothing to deliver
            next = decoded.indexOf(body, next);
            ASSERT_GE(next, 0) << "round " << round << ": a whole frame was lost";
            ++next;
        }
    }
}

TEST(RandomInput, ParsersTakeAnyBytes) {
    QRandomGenerator random(77);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes = randomBytes(random, 120);
        // Often start from a real frame so that the parsers get past their first checks.
        if (round % 2 == 0) {
            bytes = ax25UiFrame(QStringLiteral("CQ"), QStringLiteral("NOCALL-1"),
                                QStringLiteral("WIDE1-1,WIDE2-2"), bytes);
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        }
        if (const auto frame = parseAx25UiFrame(bytes)) {
            const QString text = ax25MonitorText(*frame);
            EXPECT_FALSE(text.contains('\n') || text.contains('\r')) << text.toStdString();
            EXPECT_TRUE(ax25CallsignProblem(frame->source).isEmpty());
            EXPECT_TRUE(ax25CallsignProblem(frame->destination).isEmpty());
        }
        QByteArray agw = randomBytes(random, 80);
        if (round % 2 == 0)
            agw = agwpeFrame(1, 0xF0, 'V', QStringLiteral("A"), QStringLiteral("B"), agw);
        qsizetype consumed = -1;
        const auto parsed = parseAgwpeFrame(agw, &consumed);
        EXPECT_LE(consumed, agw.size());
        EXPECT_TRUE(consumed >= 0 && (!parsed || consumed >= Agwpe::HeaderSize));
    }
}
