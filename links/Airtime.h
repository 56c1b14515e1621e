// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>

// What one AX.25 frame costs on a 1200-baud AFSK channel: the bytes between and including
// its two flags, and the bits that carries once HDLC bit stuffing has put a 0 after every five
// 1s of the address, control, PID, information and frame check. Not counted: the transmitter's
// key-up delay and the extra flags a TNC sends before and after a frame (TXDELAY, TXTAIL),
// which depend on the radio and the TNC's settings, not on the frame.
namespace Airtime {

inline constexpr int Baud = 1200;
inline constexpr int FlagBits = 8;

struct Cost {
    int bytes = 0;        // flags, addresses, control, PID, information, frame check
    int bits = 0;         // as sent: flags plus the stuffed bits of everything between them
    double seconds = 0.0; // bits at the channel's rate
};

// The frame check sequence of the body (CRC-16 as AX.25 and HDLC define it), sent low byte
// first after the information.
quint16 frameCheck(const QByteArray& body);

// The bits of `bytes` sent least significant bit first, with a 0 inserted after every run of
// five 1s; the run carries on across byte boundaries.
int stuffedBitCount(const QByteArray& bytes);

// `body` is an AX.25 frame without flags and frame check, as ax25UiFrame() builds it.
Cost ofFrame(const QByteArray& body, int baud = Baud);

} // namespace Airtime
