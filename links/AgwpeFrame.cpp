// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AgwpeFrame.h"

#include "common/Cp1252.h"
#include "links/FrameError.h"
#include "links/UnprotoPath.h"

#include <QtEndian>

using namespace Agwpe;

namespace {

QByteArray padded(QByteArray bytes, int size) {
    bytes.truncate(size);
    bytes.append(size - bytes.size(), '\0');
    return bytes;
}

QString textUntilNul(const QByteArray& bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    return Cp1252::toUnicode(nul < 0 ? bytes : bytes.left(nul));
}

} // namespace

char agwpeFrameKind(const QString& unprotoPath) {
    return unprotoPath.isEmpty() ? KindUnproto : KindUnprotoVia;
}

QByteArray agwpeViaBlock(const QString& unprotoPath) {
    const QStringList entries = unprotoPathEntries(unprotoPath);
    if (entries.isEmpty())
        return {};
    if (entries.size() > 255)
        throw FrameError(QStringLiteral("The unproto path has %1 entries; at most 255 can be sent.")
                             .arg(entries.size()));
    QByteArray block;
    block.append(char(entries.size()));
    for (const QString& entry : entries) {
        const QByteArray bytes = Cp1252::fromUnicode(entry);
        // Cutting would send the report through a digipeater nobody asked for.
        if (bytes.size() > ViaEntrySize)
            throw FrameError(
                QStringLiteral("The unproto path entry \"%1\" is longer than %2 characters.")
                    .arg(entry)
                    .arg(ViaEntrySize));
        block.append(padded(bytes, ViaEntrySize));
    }
    return block;
}

QByteArray agwpeFrame(int radioPort, quint8 pid, char kind, const QString& callFrom,
                      const QString& callTo, const QByteArray& data) {
    QByteArray bytes(HeaderSize, '\0');
    bytes[Offset::Port] = char(quint8(radioPort - 1) == 0xFF ? 0 : quint8(radioPort - 1));
    bytes[Offset::Kind] = kind;
    bytes[Offset::Pid] = char(pid);
    bytes.replace(Offset::CallFrom, CallSize, padded(Cp1252::fromUnicode(callFrom), CallSize));
    bytes.replace(Offset::CallTo, CallSize, padded(Cp1252::fromUnicode(callTo), CallSize));
    qToLittleEndian<quint32>(quint32(data.size()), bytes.data() + Offset::DataLength);
    bytes.append(data);
    return bytes;
}

QList<PortFrame> agwpeReportFrames(const QString& info, const QString& myCall,
                                   const QString& destination, const QString& unprotoPath,
                                   const std::array<bool, 4>& portFlags) {
    const char kind = agwpeFrameKind(unprotoPath);
    const QByteArray data = agwpeViaBlock(unprotoPath) + Cp1252::fromUnicode(info);
    QList<PortFrame> frames;
    for (int port = 1; port <= 4; ++port)
        if (portFlags[size_t(port - 1)])
            frames.append({port, agwpeFrame(port, PidNoLayer3, kind, myCall, destination, data)});
    return frames;
}

std::optional<ParsedFrame> parseAgwpeFrame(const QByteArray& bytes, qsizetype* consumed) {
    if (consumed)
        *consumed = 0;
    if (bytes.size() < HeaderSize)
        return std::nullopt;
    const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + Offset::DataLength);
    if (quint64(bytes.size()) < quint64(HeaderSize) + length)
        return std::nullopt;
    if (consumed)
        *consumed = HeaderSize + qsizetype(length);
    ParsedFrame parsed;
    parsed.portByte = quint8(bytes[Offset::Port]);
    parsed.kind = bytes[Offset::Kind];
    parsed.pid = quint8(bytes[Offset::Pid]);
    parsed.callFrom = textUntilNul(bytes.mid(Offset::CallFrom, CallSize));
    parsed.callTo = textUntilNul(bytes.mid(Offset::CallTo, CallSize));
    QByteArray data = bytes.mid(HeaderSize, qsizetype(length));
    if (parsed.kind == KindUnprotoVia) {
        if (data.isEmpty())
            return std::nullopt;
        const int count = quint8(data[0]);
        if (data.size() < 1 + qsizetype(count) * ViaEntrySize)
            return std::nullopt;
        for (int k = 0; k < count; ++k)
            parsed.via << textUntilNul(data.mid(1 + k * ViaEntrySize, ViaEntrySize));
        data.remove(0, 1 + qsizetype(count) * ViaEntrySize);
    }
    parsed.info = data;
    return parsed;
}
