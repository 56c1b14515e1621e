// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "links/Kiss.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

// A TNC as seen from its serial line: a text command mode with a prompt, converse mode, and
// KISS mode, plus the faults real TNCs show. It knows no port: the caller hands it the bytes
// it received with the time, and takes back what the TNC answers and what it would transmit.
class TncSimulator {
public:
    struct Options {
        QByteArray prompt = "cmd:";
        quint8 commandCode = 0x03; // back to command mode
        quint8 sendPac = 0x0D;     // ends a converse line and sends it
        QStringList enterKiss{QStringLiteral("KISS ON"), QStringLiteral("RESTART")};
        QByteArray exitKiss = QByteArray("\xC0\xFF\xC0", 3);
        bool startInKiss = false;
        bool silent = false;     // never answers
        qint64 replyDelayMs = 0; // every answer arrives this late
        bool chatter = false;    // answers text in KISS mode too
        bool echo = false;       // echoes what it receives outside KISS mode
        QString myCall = QStringLiteral("NOCALL");
    };

    // A converse line longer than this goes out as a frame of its own, as TNCs do.
    static constexpr int Paclen = 256;
    // A command line longer than this is refused whole.
    static constexpr int MaxCommandLine = 256;

    TncSimulator();
    explicit TncSimulator(Options options);

    void receive(const QByteArray& bytes, qint64 nowMs);
    // What the TNC has said by nowMs, oldest first.
    QByteArray takeReply(qint64 nowMs);
    // When the next answer is due; nullopt when none is waiting.
    std::optional<qint64> nextReplyDue() const;
    // Frames it would have transmitted, as "SOURCE>DEST,PATH:info" lines; frames for a KISS
    // port other than 0 start with "[port] ".
    QStringList takeTransmitted();
    // Mode changes and refused frames, for whoever watches the simulator.
    QStringList takeNotes();

    bool kissMode() const { return m_mode == Mode::Kiss; }
    bool converseMode() const { return m_mode == Mode::Converse; }
    const QString& myCall() const { return m_myCall; }
    const QString& destination() const { return m_destination; }
    const QStringList& path() const { return m_path; }

private:
    enum class Mode { Command, Converse, Kiss };

    void receiveCommandByte(char byte, qint64 nowMs);
    void receiveConverseByte(char byte, qint64 nowMs);
    void receiveKissByte(char byte, qint64 nowMs);
    void commandLine(const QString& line, qint64 nowMs);
    bool enterKissStep(const QString& line);
    void setUnproto(const QString& args, qint64 nowMs);
    void transmitConverse(qint64 nowMs);
    void toCommandMode(qint64 nowMs);
    void say(const QByteArray& text, qint64 nowMs);
    void answer(const QString& message, qint64 nowMs);

    Options m_options;
    Mode m_mode = Mode::Command;
    QByteArray m_line;
    bool m_lineTooLong = false;
    bool m_lastWasLineEnd = false;
    int m_kissProgress = 0;
    QByteArray m_kissTail;
    KissDecoder m_decoder;
    QString m_myCall;
    QString m_destination = QStringLiteral("CQ");
    QStringList m_path;
    QList<QPair<qint64, QByteArray>> m_replies;
    QStringList m_transmitted;
    QStringList m_notes;
    QMap<QString, QString> m_values; // other commands, shown back as "was ..."
};
