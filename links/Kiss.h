// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

// KISS framing between the program and a TNC. Pure functions and a byte-fed decoder: nothing
// here knows a port.
namespace Kiss {

inline constexpr quint8 Fend = 0xC0;
inline constexpr quint8 Fesc = 0xDB;
inline constexpr quint8 Tfend = 0xDC;
inline constexpr quint8 Tfesc = 0xDD;
inline constexpr quint8 DataFrame = 0x00;
inline constexpr quint8 Return = 0xFF; // leave KISS mode

struct PortFrame {
    int radioPort; // 1 or 2
    int tncPort;   // 0 or 1
    QByteArray bytes;
};

} // namespace Kiss

// Each 0xC0 becomes 0xDB 0xDC and each 0xDB becomes 0xDB 0xDD.
QByteArray kissEscape(const QByteArray& bytes);

// FEND, command byte (tncPort << 4 | command), escaped body, FEND.
QByteArray kissWrap(int tncPort, const QByteArray& body, quint8 command = Kiss::DataFrame);

// The KISS frames of one report: the AX.25 UI frame of ax25UiFrame, wrapped for TNC port 0
// when radio port 1 is enabled and TNC port 1 when radio port 2 is; radio ports 3 and 4 are
// not served by a KISS TNC. Throws like ax25UiFrame before anything is built.
QList<Kiss::PortFrame> kissReportFrames(const QString& info, const QString& myCall,
                                        const QString& destination, const QString& unprotoPath,
                                        const std::array<bool, 4>& portFlags);

// Collects whole frames from a byte stream. Bytes before the first FEND are ignored (a TNC
// may print text before it enters KISS mode); empty frames between FENDs are skipped.
class KissDecoder {
public:
    struct Frame {
        quint8 commandByte = 0; // high nibble port, low nibble command; 0xFF is "return"
        QByteArray body;        // unescaped
        int port() const { return commandByte >> 4; }
        int command() const { return commandByte & 0x0F; }
    };

    // Longer frames are dropped: no TNC sends them, and noise must not grow the buffer.
    static constexpr int MaxFrame = 4096;

    QList<Frame> feed(const QByteArray& bytes);
    void reset();
    // Frames dropped for a bad escape or for their length, since construction.
    int errors() const { return m_errors; }

private:
    enum class State { Outside, Inside, Escaped, Discarding };
    void finish(QList<Frame>& out);
    State m_state = State::Outside;
    QByteArray m_frame;
    int m_errors = 0;
};
