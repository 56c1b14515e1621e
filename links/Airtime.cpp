// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Airtime.h"

namespace Airtime {

quint16 frameCheck(const QByteArray& body) {
    quint16 crc = 0xFFFF;
    for (const char c : body) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0x8408) : quint16(crc >> 1);
    }
    return quint16(~crc);
}

int stuffedBitCount(const QByteArray& bytes) {
    int bits = 0;
    int ones = 0;
    for (const char c : bytes) {
        for (int bit = 0; bit < 8; ++bit) {
            ++bits;
            if ((quint8(c) >> bit) & 1) {
                if (++ones == 5) {
                    ++bits; // the inserted 0
                    ones = 0;
                }
            } else {
                ones = 0;
            }
        }
    }
    return bits;
}

Cost ofFrame(const QByteArray& body, int baud) {
    const quint16 fcs = frameCheck(body);
    QByteArray sent = body;
    sent.append(char(fcs & 0xFF));
    sent.append(char(fcs >> 8));
    Cost cost;
    cost.bytes = int(sent.size()) + 2;
    cost.bits = stuffedBitCount(sent) + 2 * FlagBits;
    cost.seconds = baud > 0 ? double(cost.bits) / baud : 0.0;
    return cost;
}

} // namespace Airtime
