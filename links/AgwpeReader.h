// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QList>

// Cuts the byte stream a packet engine sends into frames and keeps the received AX.25 frames
// among them: the 'K' frames an engine sends once asked with one 'k' (their data is one 0
// byte, then the frame). Everything else the engine says is passed over. What a peer can make
// it hold is bounded: a frame that declares more data than any engine sends is skipped as its
// bytes arrive, never stored.
class AgwpeReader {
public:
    struct Received {
        int radioPort = 1; // 1..256, as the engine's port byte + 1
        QByteArray body;   // the AX.25 frame without its check sequence
    };

    // Larger data is no frame worth reading: a 'K' frame of the longest AX.25 frame is 331.
    static constexpr quint32 MaxData = 4096;

    QList<Received> feed(const QByteArray& bytes);
    void reset();
    // Frames passed over for their length or for data that is no raw frame, since the reset.
    int errors() const { return m_errors; }

private:
    QByteArray m_buffer;
    quint64 m_skipping = 0; // bytes of an oversized frame still to come
    int m_errors = 0;
};
