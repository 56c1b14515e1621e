// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TncCommandMode.h"

#include "common/Cp1252.h"
#include "links/FrameError.h"

namespace TncCommandMode {

namespace {

QByteArray line(const QString& text) {
    return Cp1252::fromUnicode(text) + LineEnd;
}

} // namespace

QByteArray probe(quint8 commandCode) {
    return QByteArray(1, char(commandCode)) + LineEnd;
}

bool answerHasPrompt(const QByteArray& received, const QString& prompt) {
    return !prompt.isEmpty() && received.contains(Cp1252::fromUnicode(prompt));
}

QString unprotoLine(const QString& destination, const QString& unprotoPath) {
    QString text = QStringLiteral("UNPROTO ") + destination;
    if (!unprotoPath.isEmpty())
        text += QStringLiteral(" VIA ") + unprotoPath;
    return text;
}

QList<QByteArray> connectLines(const QString& myCall, const QString& destination,
                               const QString& unprotoPath, const QString& conOk,
                               const QString& beacon) {
    return {line(QStringLiteral("MYCALL ") + myCall), line(unprotoLine(destination, unprotoPath)),
            line(conOk), line(beacon)};
}

QByteArray converse(const QString& conv, quint8 sendPacCode) {
    return Cp1252::fromUnicode(conv) + char(sendPacCode);
}

QByteArray reportLine(const QString& info, quint8 sendPacCode, int commandCode) {
    const QByteArray text = Cp1252::fromUnicode(info);
    const auto refuse = [&](const char* what, int code) {
        throw FrameError(QStringLiteral("The report cannot be typed to the TNC: it holds the %1 "
                                        "code (%2), which would cut it short.")
                             .arg(QLatin1String(what))
                             .arg(code));
    };
    if (text.contains(char(sendPacCode)))
        refuse("SendPac", sendPacCode);
    if (commandCode >= 0 && commandCode <= 255 && text.contains(char(commandCode)))
        refuse("command", commandCode);
    return text + char(sendPacCode);
}

QByteArray commandCode(quint8 code) {
    return QByteArray(1, char(code));
}

} // namespace TncCommandMode
