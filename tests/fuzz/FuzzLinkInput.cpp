// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// libFuzzer entry points for what a packet engine or TNC sends: the AGWPE byte stream, the
// KISS byte stream, and the AX.25 frames inside them, each through the matcher that follows
// our reports. Each build of this file fuzzes one kind.

#include "links/AgwpeReader.h"
#include "links/Ax25.h"
#include "links/HeardReports.h"
#include "links/Kiss.h"

#include <QDateTime>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char* what) {
    fprintf(stderr, "invariant broken: %s\n", what);
    abort();
}

const QDateTime kNow(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);

// A matcher that has sent one object report and one weather report, as the station has.
HeardReports& matcher() {
    static HeardReports reports = [] {
        HeardReports r;
        r.sent({0,
                QStringLiteral("AID1"),
                QStringLiteral("N0CALL-1"),
                QByteArrayLiteral(";AID1     *090007z5130.00N/00007.50WA"),
                kNow,
                600,
                {}});
        r.sent({1,
                QStringLiteral("N0CALL-1"),
                QStringLiteral("N0CALL-1"),
                QByteArrayLiteral("_12091200c090s005g012t068"),
                kNow,
                600,
                {}});
        return r;
    }();
    return reports;
}

void frame(const QByteArray& body) {
    const std::optional<Ax25Frame> f = parseAx25UiFrame(body);
    if (!f)
        return;
    if (f->path.size() > Ax25::MaxDigipeaters || f->repeated.size() != f->path.size())
        broken("more digipeaters than an address field holds");
    const QString text = ax25MonitorText(*f);
    for (const QChar c : text)
        if (c.unicode() < 0x20)
            broken("a control character in the one-line form");
    HeardReports& reports = matcher();
    const HeardReports::Outcome outcome = reports.heard(*f, kNow.addSecs(5));
    if (outcome.slot >= HeardReports::Slots || outcome.clashSlot >= HeardReports::Slots)
        broken("a slot that does not exist");
    for (int k = 0; k < HeardReports::Slots; ++k) {
        reports.fateText(k, true, kNow);
        // Direct, and each digipeater a frame can name, once each.
        if (reports.copies(k).size() > 1 + 256 * Ax25::MaxDigipeaters)
            broken("a copy counted without bound");
        reports.clashText(k);
    }
}

[[maybe_unused]] void agwpe(const QByteArray& bytes) {
    AgwpeReader reader;
    // Cut where the input says, so that frames split across reads are tried too.
    const qsizetype step = bytes.isEmpty() ? 1 : 1 + quint8(bytes[0]) % 97;
    for (qsizetype at = 1; at < bytes.size(); at += step)
        for (const AgwpeReader::Received& r : reader.feed(bytes.mid(at, step))) {
            if (r.body.size() > qsizetype(AgwpeReader::MaxData))
                broken("a frame longer than the reader keeps");
            if (r.radioPort < 1 || r.radioPort > 256)
                broken("a port outside the engine's port byte");
            frame(r.body);
        }
}

[[maybe_unused]] void kiss(const QByteArray& bytes) {
    KissDecoder decoder;
    const qsizetype step = bytes.isEmpty() ? 1 : 1 + quint8(bytes[0]) % 61;
    for (qsizetype at = 1; at < bytes.size(); at += step)
        for (const KissDecoder::Frame& f : decoder.feed(bytes.mid(at, step))) {
            if (f.body.size() > KissDecoder::MaxFrame)
                broken("a frame longer than the decoder keeps");
            if (f.command() == Kiss::DataFrame)
                frame(f.body);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
#if defined(SKYVANE_FUZZ_AGWPE)
    agwpe(bytes);
#elif defined(SKYVANE_FUZZ_KISS)
    kiss(bytes);
#else
    frame(bytes);
#endif
    return 0;
}
