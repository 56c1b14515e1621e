// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Kiss.h"

#include "common/Cp1252.h"
#include "links/Ax25.h"

using namespace Kiss;

QByteArray kissEscape(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 8);
    for (char byte : bytes) {
        const quint8 b = quint8(byte);
        if (b == Fend) {
            out.append(char(Fesc));
            out.append(char(Tfend));
        } else if (b == Fesc) {
            out.append(char(Fesc));
            out.append(char(Tfesc));
        } else {
            out.append(byte);
        }
    }
    return out;
}

QByteArray kissWrap(int tncPort, const QByteArray& body, quint8 command) {
    QByteArray out;
    out.append(char(Fend));
    out.append(char(quint8(tncPort << 4) | (command & 0x0F)));
    out += kissEscape(body);
    out.append(char(Fend));
    return out;
}

QList<PortFrame> kissReportFrames(const QString& info, const QString& myCall,
                                  const QString& destination, const QString& unprotoPath,
                                  const std::array<bool, 4>& portFlags) {
    const QByteArray body =
        ax25UiFrame(destination, myCall, unprotoPath, Cp1252::fromUnicode(info));
    QList<PortFrame> frames;
    for (int radioPort = 1; radioPort <= 2; ++radioPort)
        if (portFlags[size_t(radioPort - 1)])
            frames.append({radioPort, radioPort - 1, kissWrap(radioPort - 1, body)});
    return frames;
}

void KissDecoder::reset() {
    m_state = State::Outside;
    m_frame.clear();
}

void KissDecoder::finish(QList<Frame>& out) {
    if (!m_frame.isEmpty()) {
        Frame frame;
        frame.commandByte = quint8(m_frame[0]);
        frame.body = m_frame.mid(1);
        out.append(frame);
    }
    m_frame.clear();
}

QList<KissDecoder::Frame> KissDecoder::feed(const QByteArray& bytes) {
    QList<Frame> out;
    for (char byte : bytes) {
        const quint8 b = quint8(byte);
        if (b == Fend) {
            // A FEND both ends one frame and may start the next.
            if (m_state == State::Inside)
                finish(out);
            else if (m_state == State::Escaped) {
                ++m_errors;
                m_frame.clear();
            }
            m_state = State::Inside;
            m_frame.clear();
            continue;
        }
        switch (m_state) {
        case State::Outside:
        case State::Discarding:
            break;
        case State::Inside:
            if (b == Fesc)
                m_state = State::Escaped;
            else
                m_frame.append(byte);
            break;
        case State::Escaped:
            if (b == Tfend || b == Tfesc) {
                m_frame.append(char(b == Tfend ? Fend : Fesc));
                m_state = State::Inside;
            } else {
                ++m_errors;
                m_frame.clear();
                m_state = State::Discarding;
            }
            break;
        }
        if (m_state == State::Inside && m_frame.size() > MaxFrame) {
            ++m_errors;
            m_frame.clear();
            m_state = State::Discarding;
        }
    }
    return out;
}
