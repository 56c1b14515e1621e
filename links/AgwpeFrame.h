// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// Frames for the AGWPE packet engine: a 36-byte header at fixed offsets, then the data.
// Multi-byte numbers are little-endian. Pure functions: nothing here knows a socket.
namespace Agwpe {

inline constexpr int HeaderSize = 36;
inline constexpr int CallSize = 10;
inline constexpr int ViaEntrySize = 10;
inline constexpr quint8 PidNoLayer3 = 0xF0;
inline constexpr char KindUnproto = 'M';    // no digipeaters
inline constexpr char KindUnprotoVia = 'V'; // data starts with a via block

namespace Offset {
inline constexpr int Port = 0;
inline constexpr int Kind = 4;
inline constexpr int Pid = 6;
inline constexpr int CallFrom = 8;
inline constexpr int CallTo = 18;
inline constexpr int DataLength = 28; // quint32, little-endian
} // namespace Offset

struct PortFrame {
    int radioPort; // 1..4
    QByteArray bytes;
};

// A frame read back, for peers and tests that listen to what we write.
struct ParsedFrame {
    int portByte = 0;
    char kind = 0;
    quint8 pid = 0;
    QString callFrom;
    QString callTo;
    QStringList via; // 'V' frames only
    QByteArray info; // data after the via block
};

} // namespace Agwpe

// 'V' when the path names digipeaters, 'M' when it is empty.
char agwpeFrameKind(const QString& unprotoPath);

// Count byte + one NUL-padded 10-byte entry per path entry; empty for an empty path.
// Throws FrameError when an entry does not fit its 10 bytes.
QByteArray agwpeViaBlock(const QString& unprotoPath);

// One frame: header (port - 1, kind, PID, calls NUL-padded and cut to 10 bytes, data length)
// followed by the data. Calls are Windows-1252 text copied without case change.
QByteArray agwpeFrame(int radioPort, quint8 pid, char kind, const QString& callFrom,
                      const QString& callTo, const QByteArray& data);

// The frames of one report, one per enabled radio port, in port order. `info` is the
// information field (header + comment). Throws FrameError for a path that cannot be sent, so a
// report goes out on every port or on none.
QList<Agwpe::PortFrame> agwpeReportFrames(const QString& info, const QString& myCall,
                                          const QString& destination, const QString& unprotoPath,
                                          const std::array<bool, 4>& portFlags);

// Parses the first frame in `bytes`. `consumed` receives the frame's length, or 0 while the
// frame is incomplete; nullopt with a non-zero `consumed` is a whole frame whose via block does
// not fit its data (skip it).
std::optional<Agwpe::ParsedFrame> parseAgwpeFrame(const QByteArray& bytes,
                                                  qsizetype* consumed = nullptr);
