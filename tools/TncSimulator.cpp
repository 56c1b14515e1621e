// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "tools/TncSimulator.h"

#include "common/ConvertError.h"
#include "common/Cp1252.h"
#include "links/Ax25.h"
#include "links/FrameError.h"

#include <QRegularExpression>

namespace {

// Commands a TNC of this kind takes and simply remembers; the simulator shows them back.
const QStringList rememberedCommands{
    QStringLiteral("BEACON"),   QStringLiteral("BTEXT"),   QStringLiteral("CONOK"),
    QStringLiteral("DIGIPEAT"), QStringLiteral("DWAIT"),   QStringLiteral("ECHO"),
    QStringLiteral("HEADERLN"), QStringLiteral("KISS"),    QStringLiteral("MCON"),
    QStringLiteral("MONITOR"),  QStringLiteral("PACLEN"),  QStringLiteral("PERSIST"),
    QStringLiteral("SLOTTIME"), QStringLiteral("TXDELAY"), QStringLiteral("XFLOW")};

bool sameText(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TncSimulator::TncSimulator() : TncSimulator(Options{}) {}

TncSimulator::TncSimulator(Options options)
    : m_options(std::move(options)), m_myCall(m_options.myCall) {
    if (m_options.startInKiss)
        m_mode = Mode::Kiss;
    // As a TNC comes out of the box.
    m_values.insert(QStringLiteral("BEACON"), QStringLiteral("EVERY 0"));
    m_values.insert(QStringLiteral("CONOK"), QStringLiteral("ON"));
    m_values.insert(QStringLiteral("MONITOR"), QStringLiteral("ON"));
}

void TncSimulator::receive(const QByteArray& bytes, qint64 nowMs) {
    const bool kissAtStart = m_mode == Mode::Kiss;
    for (char byte : bytes) {
        switch (m_mode) {
        case Mode::Command:
            receiveCommandByte(byte, nowMs);
            break;
        case Mode::Converse:
            receiveConverseByte(byte, nowMs);
            break;
        case Mode::Kiss:
            receiveKissByte(byte, nowMs);
            break;
        }
    }
    // A TNC that talks although it should be in KISS mode.
    if (kissAtStart && m_mode == Mode::Kiss && m_options.chatter && !bytes.isEmpty())
        answer(QStringLiteral("?EH"), nowMs);
}

QByteArray TncSimulator::takeReply(qint64 nowMs) {
    QByteArray out;
    while (!m_replies.isEmpty() && m_replies.first().first <= nowMs)
        out += m_replies.takeFirst().second;
    return out;
}

std::optional<qint64> TncSimulator::nextReplyDue() const {
    if (m_replies.isEmpty())
        return std::nullopt;
    return m_replies.first().first;
}

QStringList TncSimulator::takeTransmitted() {
    return std::exchange(m_transmitted, {});
}

QStringList TncSimulator::takeNotes() {
    return std::exchange(m_notes, {});
}

void TncSimulator::say(const QByteArray& text, qint64 nowMs) {
    if (m_options.silent || text.isEmpty())
        return;
    qint64 due = nowMs + m_options.replyDelayMs;
    // Answers keep their order even if the delay changed in between.
    if (!m_replies.isEmpty())
        due = std::max(due, m_replies.last().first);
    if (!m_replies.isEmpty() && m_replies.last().first == due)
        m_replies.last().second += text;
    else
        m_replies.append({due, text});
}

void TncSimulator::answer(const QString& message, qint64 nowMs) {
    QByteArray text = "\r\n";
    if (!message.isEmpty())
        text += Cp1252::fromUnicode(message) + "\r\n";
    say(text + m_options.prompt, nowMs);
}

void TncSimulator::receiveCommandByte(char byte, qint64 nowMs) {
    const bool afterCr = m_lastWasLineEnd;
    m_lastWasLineEnd = false;
    if (quint8(byte) == m_options.commandCode) {
        m_line.clear();
        m_lineTooLong = false;
        answer({}, nowMs);
        return;
    }
    if (m_options.echo)
        say(QByteArray(1, byte), nowMs);
    if (byte == '\n' && afterCr)
        return; // the LF of a CR LF pair
    if (byte == '\r' || byte == '\n') {
        m_lastWasLineEnd = byte == '\r';
        const QByteArray line = std::exchange(m_line, {});
        if (std::exchange(m_lineTooLong, false))
            answer(QStringLiteral("?line too long"), nowMs);
        else
            commandLine(Cp1252::toUnicode(line), nowMs);
        return;
    }
    if (byte == '\b' || byte == '\x7f') {
        m_line.chop(1);
        return;
    }
    if (m_line.size() >= MaxCommandLine)
        m_lineTooLong = true;
    else
        m_line.append(byte);
}

void TncSimulator::commandLine(const QString& rawLine, qint64 nowMs) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty()) {
        answer({}, nowMs);
        return;
    }
    if (enterKissStep(line)) {
        if (m_mode != Mode::Kiss)
            answer({}, nowMs);
        return;
    }
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString word = (blank < 0 ? line : line.left(blank)).toUpper();
    const QString args = blank < 0 ? QString() : line.mid(blank + 1).trimmed();

    if (word == QLatin1String("MYCALL") || word == QLatin1String("MY")) {
        if (args.isEmpty()) {
            answer(QStringLiteral("MYCALL ") + m_myCall, nowMs);
            return;
        }
        const QString call = args.toUpper();
        const QString problem = ax25CallsignProblem(call);
        if (!problem.isEmpty()) {
            answer(QStringLiteral("?bad callsign: ") + problem, nowMs);
            return;
        }
        answer(QStringLiteral("MYCALL was ") + std::exchange(m_myCall, call), nowMs);
    } else if (word == QLatin1String("UNPROTO") || word == QLatin1String("U")) {
        setUnproto(args, nowMs);
    } else if (word == QLatin1String("CONVERSE") || word == QLatin1String("CONV") ||
               word == QLatin1String("K")) {
        m_mode = Mode::Converse;
        m_line.clear();
    } else if (word == QLatin1String("DISPLAY") || word == QLatin1String("DISP")) {
        QStringList lines{
            QStringLiteral("MYCALL ") + m_myCall,
            QStringLiteral("UNPROTO ") + m_destination +
                (m_path.isEmpty() ? QString() : QStringLiteral(" VIA ") + m_path.join(','))};
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
            lines << it.key() + QLatin1Char(' ') + it.value();
        answer(lines.join(QStringLiteral("\r\n")), nowMs);
    } else if (word == QLatin1String("RESTART")) {
        answer(QStringLiteral("tnc-sim restarted"), nowMs);
    } else if (rememberedCommands.contains(word)) {
        if (args.isEmpty()) {
            answer(word + QLatin1Char(' ') + m_values.value(word), nowMs);
            return;
        }
        const QString old = m_values.value(word);
        m_values.insert(word, args);
        answer(word + QStringLiteral(" was ") + old, nowMs);
    } else {
        answer(QStringLiteral("?EH"), nowMs);
    }
}

bool TncSimulator::enterKissStep(const QString& line) {
    const QStringList& steps = m_options.enterKiss;
    if (steps.isEmpty())
        return false;
    if (m_kissProgress < steps.size() && sameText(line, steps[m_kissProgress].trimmed())) {
        ++m_kissProgress;
    } else {
        m_kissProgress = sameText(line, steps[0].trimmed()) ? 1 : 0;
        if (m_kissProgress == 0)
            return false;
    }
    if (m_kissProgress == steps.size()) {
        m_kissProgress = 0;
        m_mode = Mode::Kiss;
        m_decoder.reset();
        m_kissTail.clear();
        m_notes << QStringLiteral("KISS mode on");
    }
    return true;
}

void TncSimulator::setUnproto(const QString& args, qint64 nowMs) {
    const QString old =
        m_destination + (m_path.isEmpty() ? QString() : QStringLiteral(" VIA ") + m_path.join(','));
    if (args.isEmpty()) {
        answer(QStringLiteral("UNPROTO ") + old, nowMs);
        return;
    }
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    QStringList words = args.toUpper().split(separators, Qt::SkipEmptyParts);
    const QString destination = words.takeFirst();
    if (!words.isEmpty() && words.first() != QLatin1String("VIA") &&
        words.first() != QLatin1String("V")) {
        answer(QStringLiteral("?EH"), nowMs);
        return;
    }
    if (!words.isEmpty())
        words.removeFirst();
    if (words.size() > Ax25::MaxDigipeaters) {
        answer(QStringLiteral("?too many digipeaters"), nowMs);
        return;
    }
    QStringList calls = words;
    calls.prepend(destination);
    for (const QString& call : calls) {
        const QString problem = ax25CallsignProblem(call);
        if (!problem.isEmpty()) {
            answer(QStringLiteral("?bad callsign: ") + problem, nowMs);
            return;
        }
    }
    m_destination = destination;
    m_path = words;
    answer(QStringLiteral("UNPROTO was ") + old, nowMs);
}

void TncSimulator::receiveConverseByte(char byte, qint64 nowMs) {
    const bool afterCr = m_lastWasLineEnd;
    m_lastWasLineEnd = false;
    if (quint8(byte) == m_options.commandCode) {
        toCommandMode(nowMs);
        return;
    }
    if (m_options.echo)
        say(QByteArray(1, byte), nowMs);
    if (quint8(byte) == m_options.sendPac) {
        m_lastWasLineEnd = byte == '\r';
        transmitConverse(nowMs);
        return;
    }
    if (byte == '\n' && afterCr && m_line.isEmpty())
        return;
    m_line.append(byte);
    if (m_line.size() >= Paclen)
        transmitConverse(nowMs);
}

void TncSimulator::transmitConverse(qint64 nowMs) {
    const QByteArray info = std::exchange(m_line, {});
    if (info.isEmpty())
        return;
    try {
        const QByteArray body = ax25UiFrame(m_destination, m_myCall, m_path.join(','), info);
        if (const auto frame = parseAx25UiFrame(body))
            m_transmitted << ax25MonitorText(*frame);
    } catch (const FrameError& e) {
        m_notes << QStringLiteral("not sent: ") + e.message();
        answer(QStringLiteral("?") + e.message(), nowMs);
    } catch (const ConvertError& e) {
        m_notes << QStringLiteral("not sent: ") + e.message();
        answer(QStringLiteral("?") + e.message(), nowMs);
    }
}

void TncSimulator::toCommandMode(qint64 nowMs) {
    m_mode = Mode::Command;
    m_line.clear();
    m_lineTooLong = false;
    answer({}, nowMs);
}

void TncSimulator::receiveKissByte(char byte, qint64 nowMs) {
    const QByteArray& exit = m_options.exitKiss;
    if (!exit.isEmpty()) {
        m_kissTail.append(byte);
        if (m_kissTail.size() > exit.size())
            m_kissTail.remove(0, 1);
    }
    // Only the configured bytes leave KISS mode, as only they do on the TNC being imitated.
    const bool leave = !exit.isEmpty() && m_kissTail == exit;
    const int errorsBefore = m_decoder.errors();
    for (const KissDecoder::Frame& frame : m_decoder.feed(QByteArray(1, byte))) {
        if (frame.commandByte != Kiss::Return && frame.command() == Kiss::DataFrame) {
            const auto ui = parseAx25UiFrame(frame.body);
            if (!ui) {
                m_notes << QStringLiteral("dropped a KISS frame of %1 bytes that is not an AX.25 "
                                          "UI frame")
                               .arg(frame.body.size());
                continue;
            }
            const QString prefix =
                frame.port() == 0 ? QString() : QStringLiteral("[%1] ").arg(frame.port());
            m_transmitted << prefix + ax25MonitorText(*ui);
        }
        // Parameter frames (TXDELAY, persistence, ...) change nothing a simulation shows.
    }
    if (m_decoder.errors() != errorsBefore)
        m_notes << QStringLiteral("dropped a KISS frame with a bad escape or no end");
    if (leave) {
        m_mode = Mode::Command;
        m_decoder.reset();
        m_kissTail.clear();
        m_line.clear();
        m_lastWasLineEnd = false;
        m_notes << QStringLiteral("KISS mode off");
        answer({}, nowMs);
    }
}
