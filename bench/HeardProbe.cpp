// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// An hour of a busy channel (10 000 frames) handed over by a packet engine, through the
// reader, the AX.25 decoder, the matcher of our reports and the Heard window's model. Prints
// the CPU time it took.

#include "links/AgwpeFrame.h"
#include "links/AgwpeReader.h"
#include "links/Ax25.h"
#include "links/HeardModel.h"
#include "links/HeardReports.h"

#include <cstdio>
#include <ctime>

namespace {

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace

// No application object: it would hand the C library the desktop's decimal comma for the
// figures printed below.
int main() {
    constexpr int kFrames = 10000;
    const QDateTime start(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);
    const QByteArray ours = ";AID1     *091200z5130.00N/00007.50WA Aid station";
    // What an engine sends in an hour: mostly other stations, through one or two digipeaters,
    // with a copy of one of ours now and then.
    QByteArray stream;
    for (int i = 0; i < kFrames; ++i) {
        QByteArray body;
        if (i % 50 == 0)
            body = ax25UiFrame("APZSKY", "N0CALL-1", "DIGI1,WIDE2-1", ours);
        else
            body = ax25UiFrame("APRS", QStringLiteral("G%1ABC-%2").arg(i % 10).arg(i % 16),
                               i % 3 ? "WIDE1-1,WIDE2-2" : "DIGI1",
                               QStringLiteral("!5130.%1N/00007.50W>Mobile %2")
                                   .arg(i % 100, 2, 10, QLatin1Char('0'))
                                   .arg(i)
                                   .toLatin1());
        body[2 * Ax25::AddressSize + Ax25::MaxBaseLength] =
            char(body[2 * Ax25::AddressSize + Ax25::MaxBaseLength] | Ax25::CommandBit);
        stream += agwpeFrame(1, 0, 'K', {}, {}, QByteArray(1, '\0') + body);
    }

    HeardReports reports;
    for (int k = 0; k < HeardReports::Slots; ++k)
        reports.sent(
            {k, "AID1", "N0CALL-1", k == 0 ? ours : QByteArray(";OTHER    *"), start, 3600, {}});
    HeardModel model;
    AgwpeReader reader;
    int matched = 0;
    const double before = cpuMs();
    // As the socket hands it over: 4 KiB a read.
    for (qsizetype at = 0; at < stream.size(); at += 4096)
        for (const AgwpeReader::Received& r : reader.feed(stream.mid(at, 4096))) {
            const auto frame = parseAx25UiFrame(r.body);
            if (!frame)
                continue;
            const auto outcome = reports.heard(*frame, start.addSecs(matched));
            matched += outcome.slot >= 0;
            model.add({start, QStringLiteral("AGWPE port 1"), ax25MonitorText(*frame),
                       outcome.slot >= 0 ? QStringLiteral("AID1") : QString()});
        }
    const double spent = cpuMs() - before;
    std::printf("heard: %d frames (%lld bytes from the engine), %d copies of ours, %d rows kept\n",
                kFrames, static_cast<long long>(stream.size()), matched, model.rowCount());
    std::printf("heard: %.1f ms of CPU in all (target: at most 50 ms)\n", spent);
    return 0;
}
