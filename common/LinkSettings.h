// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <array>
#include <optional>

// KissTcp: a KISS TNC reached over TCP (a software TNC's KISS port, a TNC server). AprsIs:
// the APRS internet system's servers, with no radio at all.
enum class LinkType { Agwpe, Kiss, Tnc, KissTcp, AprsIs };

// How the program reaches the radio: edited in the Comms, TNC Settings and KISS dialogs.
struct LinkSettings {
    bool Host = false;    // TNC in command mode ("TNC" / "Host")
    bool UseKISS = false; // KISS TNC ("KISS Commands" / "UseKISS")
    QString IPAddr = QStringLiteral("127.0.0.1");
    QString TCPPort = QStringLiteral("8000");
    // KISS over TCP; an older copy, which knows only the two booleans above, reads it as AGWPE.
    bool KissTcp = false;
    QString KissHost = QStringLiteral("127.0.0.1");
    QString KissPort = QStringLiteral("8001");
    // APRS-IS; like KISS TCP, unknown to an older copy. The server name is looked up afresh
    // at every connect: a rotating name hands out a server that is up now.
    bool AprsIs = false;
    QString AprsServer = QStringLiteral("rotate.aprs2.net");
    QString AprsPort = QStringLiteral("14580");
    QString AprsPasscode; // empty: the callsign's own, worked out at each login
    QString AprsFilter;
    bool AutoConnect = false;
    int ComPort = 2;  // 1..8
    int BaudRate = 3; // index into 1200 .. 115200
    int Flow = 2;     // NONE, XON/XOFF, RTS/CTS
    int Parity = 0;   // NONE, ODD, EVEN
    int DataBits = 1; // 7, 8
    int StopBits = 0; // 1, 2
    // "COM Ports" section: the device each COM number stands for on this machine.
    std::array<QString, 8> ComDevices{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1"),
                                      QStringLiteral("/dev/ttyS2"), QStringLiteral("/dev/ttyS3"),
                                      QStringLiteral("/dev/ttyS4"), QStringLiteral("/dev/ttyS5"),
                                      QStringLiteral("/dev/ttyS6"), QStringLiteral("/dev/ttyS7")};

    // TNC command mode texts and their derived byte values.
    QString Command = QStringLiteral("$03");
    QString CmdPrompt = QStringLiteral("cmd:");
    QString SendPac = QStringLiteral("$0D");
    QString Beacon = QStringLiteral("BEACON EVERY 0");
    QString Conv = QStringLiteral("CONV");
    QString ConOk = QStringLiteral("CONOK OFF");
    int CommandCode = 3;
    int SendPacCode = 13;

    // KISS command sequences of the TNC terminal.
    std::array<QString, 4> EnterKiss;
    std::array<int, 4> ExitKiss{0, 0, 0, 0};
    bool Match = false;

    LinkType type() const {
        return AprsIs    ? LinkType::AprsIs
               : KissTcp ? LinkType::KissTcp
               : Host    ? LinkType::Tnc
               : UseKISS ? LinkType::Kiss
                         : LinkType::Agwpe;
    }
    void setType(LinkType type) {
        AprsIs = type == LinkType::AprsIs;
        KissTcp = type == LinkType::KissTcp;
        Host = type == LinkType::Tnc;
        UseKISS = type == LinkType::Kiss;
    }
    bool serial() const { return type() == LinkType::Kiss || type() == LinkType::Tnc; }
    // Frames built here and handed over as KISS, on a serial line or over TCP.
    bool kissFraming() const { return type() == LinkType::Kiss || type() == LinkType::KissTcp; }
    // The settings file's name of each type ("AGWPE", "KISS", "TNC", "KISS TCP", "APRS-IS"); an
    // unknown
    // name gives nothing.
    static QString typeName(LinkType type);
    static std::optional<LinkType> typeNamed(const QString& name);

    bool operator==(const LinkSettings&) const = default;
};
