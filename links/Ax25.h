// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// AX.25 UI frames as a KISS TNC puts them on the air (without the check sequence, which the
// TNC adds). Pure functions: nothing here knows a port.
namespace Ax25 {

inline constexpr int AddressSize = 7;
inline constexpr int MaxBaseLength = 6;
inline constexpr int MaxSsid = 15;
inline constexpr int MaxDigipeaters = 8;
// The longest frame a station hears: ten addresses, control, PID and 256 information bytes.
inline constexpr int MaxFrame = 330;
inline constexpr quint8 ControlUi = 0x03;
inline constexpr quint8 PidNoLayer3 = 0xF0;
// SSID byte bits.
inline constexpr quint8 CommandBit = 0x80; // destination; "has been repeated" on a digipeater
inline constexpr quint8 ReservedBits = 0x60;
inline constexpr quint8 EndBit = 0x01; // last address of the address field

} // namespace Ax25

// Empty when `call` ("NOCALL-1", "WIDE", "CQ") can be carried in an address; otherwise a
// sentence for the user that names the callsign. The station dialog refuses callsigns,
// destinations and path entries with it.
QString ax25CallsignProblem(const QString& call);

// Base characters shifted left one bit and padded with 0x40, then the SSID byte:
// `ssidBits` (0xE0 for the destination, 0x60 otherwise) | SSID << 1 | end bit.
// Throws ConvertError for an SSID that is not a decimal number, FrameError for anything else
// that cannot be carried.
QByteArray ax25Address(const QString& call, quint8 ssidBits, bool last);

// Destination, source, one digipeater per path entry, control 0x03, PID 0xF0, information.
// Throws like ax25Address(), and FrameError for more than 8 digipeaters; nothing is built then.
QByteArray ax25UiFrame(const QString& destination, const QString& source,
                       const QString& unprotoPath, const QByteArray& info);

struct Ax25Frame {
    QString destination; // "CQ", "APRS-3"; SSID 0 is not written
    QString source;
    QStringList path;     // digipeaters in order
    QList<bool> repeated; // per digipeater: the has-been-repeated bit
    quint8 control = 0;
    quint8 pid = 0;
    QByteArray info;
};

// Reads a UI frame back; nullopt when the bytes are not one (short, no end of the address
// field, too many addresses, characters no callsign holds, not a UI frame).
std::optional<Ax25Frame> parseAx25UiFrame(const QByteArray& body);

// "SOURCE>DEST,PATH:info" as monitors print frames; the last digipeater that repeated it is
// marked "*". Information bytes are read as UTF-8 text where they are that, else as
// Windows-1252 text; control characters appear as "<0x0d>".
QString ax25MonitorText(const Ax25Frame& frame);
