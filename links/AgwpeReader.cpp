// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AgwpeReader.h"

#include "links/AgwpeFrame.h"

#include <QtEndian>

QList<AgwpeReader::Received> AgwpeReader::feed(const QByteArray& bytes) {
    QList<Received> out;
    qsizetype at = 0;
    if (m_skipping > 0) {
        const qsizetype skip = qsizetype(qMin<quint64>(m_skipping, quint64(bytes.size())));
        m_skipping -= quint64(skip);
        at = skip;
    }
    m_buffer.append(bytes.constData() + at, bytes.size() - at);
    qsizetype start = 0;
    while (m_buffer.size() - start >= Agwpe::HeaderSize) {
        const char* header = m_buffer.constData() + start;
        const quint32 length = qFromLittleEndian<quint32>(header + Agwpe::Offset::DataLength);
        if (length > MaxData) {
            ++m_errors;
            const quint64 have = quint64(m_buffer.size() - start - Agwpe::HeaderSize);
            if (have >= length) {
                start += Agwpe::HeaderSize + qsizetype(length);
                continue;
            }
            m_skipping = length - have;
            start = m_buffer.size();
            break;
        }
        if (m_buffer.size() - start < Agwpe::HeaderSize + qsizetype(length))
            break;
        const char kind = header[Agwpe::Offset::Kind];
        if (kind == 'K') {
            const QByteArray data(header + Agwpe::HeaderSize, qsizetype(length));
            if (data.size() >= 2 && data[0] == '\0')
                out.append({quint8(header[Agwpe::Offset::Port]) + 1, data.mid(1)});
            else
                ++m_errors;
        }
        start += Agwpe::HeaderSize + qsizetype(length);
    }
    m_buffer.remove(0, start);
    return out;
}

void AgwpeReader::reset() {
    m_buffer.clear();
    m_skipping = 0;
    m_errors = 0;
}
