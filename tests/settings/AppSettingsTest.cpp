// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/AppSettings.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

// A failed comparison shows the settings as the file would hold them.
static void PrintTo(const AppSettings& settings, std::ostream* out) {
    IniFile ini;
    settings.write(ini);
    *out << '\n' << ini.toBytes().replace('\r', "").toStdString();
}

namespace {

AppSettings readText(const char* text) {
    IniFile ini;
    ini.parse(QByteArray(text));
    return AppSettings::read(ini);
}

TEST(AppSettings, MissingFileGivesEveryDefault) {
    QTemporaryDir dir;
    QString error;
    const AppSettings s = AppSettings::load(dir.filePath("none.ini"), &error);
    EXPECT_TRUE(error.isEmpty());
    // A new station starts with the path today's digipeaters answer.
    AppSettings defaults;
    defaults.station.Unproto = 6;
    defaults.station.UnprotoPath = defaults.station.LinkPath = QStringLiteral("WIDE1-1,WIDE2-1");
    EXPECT_EQ(s, defaults);
    // The same as a file that states every default value, the way a new file holds them.
    EXPECT_EQ(s, readText("[TNC Commands]\nCommand=$03\nCmd-Prompt=cmd:\nSendPac=$0D\n"
                          "Beacon=BEACON EVERY 0\nConv=CONV\nConOk=CONOK OFF\n"
                          "[KISS Commands]\nExit Kiss1=0\nExit Kiss2=0\nExit Kiss3=0\n"
                          "Exit Kiss4=0\nEnter Kiss1=\nUseKISS=0\nMatch=0\n"
                          "[Form]\nLeft=10\nTop=10\nWidth=620\nHeight=438\nHints=1\n"
                          "[Station]\nMyCall=NOCALL-1\nDestination=CQ\nUnproto=6\nHeader=\n"
                          "Ports=1000\nWx Dest=WX\nAutoConnect=0\nResume=0\nUTF8Text=0\n"
                          "UTCTimeStamps=0\n"
                          "[AGWPE]\nIPAddr=127.0.0.1\nTCPPort=8000\n"
                          "[TNC]\nHost=0\nComPort=2\nBaudRate=3\nFlow=2\nParity=0\n"
                          "DataBits=1\nStopBits=0\n"
                          "[Weather Data]\nMetric=0\n[Object]\nMap=\nDate=hhmm\nIndex=4\n"
                          "[Timers]\nT1=30\nT2=30\nT3=30\n"
                          "[COM Ports]\nCOM1=/dev/ttyS0\nCOM8=/dev/ttyS7\n"
                          "[Link]\nType=AGWPE\n[KISS TCP]\nHost=127.0.0.1\nPort=8001\n"
                          "[APRS-IS]\nServer=rotate.aprs2.net\nPort=14580\nPasscode=\nFilter=\n"));
    // What is derived from those values.
    EXPECT_EQ(s.station.PortFlags, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(s.station.LinkPath, "WIDE1-1,WIDE2-1");
    // A file from before the later presets and options still means no path and both off.
    const AppSettings older = readText("[Station]\nMyCall=G4ABC\nHeader=\n");
    EXPECT_EQ(older.station.Unproto, 0);
    EXPECT_EQ(older.station.UnprotoPath, "");
    EXPECT_FALSE(older.station.Utf8Text || older.station.UtcWeather);
    EXPECT_EQ(readText("[Station]\nUnproto=7\nHeader=WIDE\n").station.UnprotoPath, "WIDE2-1");
    EXPECT_EQ(s.link.type(), LinkType::Agwpe);
    EXPECT_EQ(s.link.CommandCode, 3);
    EXPECT_EQ(s.link.SendPacCode, 13);
}

TEST(AppSettings, PresetPathWinsOverTheStoredText) {
    struct Row {
        int unproto;
        const char* header;
        const char* path;
    };
    const Row rows[] = {{1, "X", "RELAY"},
                        {2, "X", "WIDE"},
                        {3, "WIDE2-2", "RELAY, WIDE"},
                        {4, "", "TRACE2-2"},
                        {5, "WIDE1-1,WIDE2-1", "WIDE1-1,WIDE2-1"},
                        {-1, "WIDE", "WIDE"},
                        {0, "", ""},
                        {9, "KEPT", "KEPT"}};
    for (const Row& r : rows) {
        const QByteArray text = QStringLiteral("[Station]\nUnproto=%1\nHeader=%2\n")
                                    .arg(r.unproto)
                                    .arg(QLatin1String(r.header))
                                    .toLatin1();
        const AppSettings s = readText(text.constData());
        EXPECT_EQ(s.station.UnprotoPath, r.path) << r.unproto;
        EXPECT_EQ(s.station.LinkPath, r.path) << r.unproto;
        EXPECT_EQ(s.station.Unproto, r.unproto);
    }
}

TEST(AppSettings, PortsTextGivesFlagsAndStaysAsStored) {
    struct Row {
        const char* ports;
        std::array<bool, 4> flags;
    };
    const Row rows[] = {{"01", {false, true, false, false}},
                        {"1010", {true, false, true, false}},
                        {"", {false, false, false, false}},
                        {"x1y1z", {false, true, false, true}},
                        {"1111", {true, true, true, true}}};
    for (const Row& r : rows) {
        const QByteArray text = QByteArray("[Station]\nPorts=") + r.ports + "\n";
        const AppSettings s = readText(text.constData());
        EXPECT_EQ(s.station.PortFlags, r.flags) << r.ports;
        EXPECT_EQ(s.station.Ports, r.ports);
    }
}

TEST(AppSettings, CommandCodesFallBackSilentlyToTheirDefaults) {
    struct Row {
        const char* command;
        const char* keptCommand;
        int code;
        const char* sendPac;
        const char* keptSendPac;
        int sendPacCode;
    };
    const Row rows[] = {
        {"27", "27", 27, "13", "13", 13},
        {"$1B", "$1B", 27, "$0d", "$0d", 13},
        {"abc", "$03", 3, "zz", "$0D", 13},
        {"", "$03", 3, "", "$0D", 13},
        // A code is one byte: a larger number would go out as another character.
        {"300", "$03", 3, "-1", "$0D", 13},
        {"255", "255", 255, "0", "0", 0},
    };
    for (const Row& r : rows) {
        const QByteArray text =
            QByteArray("[TNC Commands]\nCommand=") + r.command + "\nSendPac=" + r.sendPac + "\n";
        const AppSettings s = readText(text.constData());
        EXPECT_EQ(s.link.Command, r.keptCommand) << r.command;
        EXPECT_EQ(s.link.CommandCode, r.code) << r.command;
        EXPECT_EQ(s.link.SendPac, r.keptSendPac) << r.sendPac;
        EXPECT_EQ(s.link.SendPacCode, r.sendPacCode) << r.sendPac;
    }
}

TEST(AppSettings, NumbersThatAreNotNumbersGiveDefaults) {
    const AppSettings s = readText("[Form]\nLeft=abc\nTop=$20\nWidth=0x100\nHints=no\n"
                                   "[TNC]\nComPort=COM3\nHost=1\n[KISS Commands]\nUseKISS=x\n"
                                   "[Timers]\nT1=15\nT2=ten\n");
    EXPECT_EQ(s.form.Left, 10);
    EXPECT_EQ(s.form.Top, 32);
    EXPECT_EQ(s.form.Width, 256);
    EXPECT_TRUE(s.hints);
    EXPECT_EQ(s.link.ComPort, 2);
    EXPECT_EQ(s.link.type(), LinkType::Tnc);
    EXPECT_EQ(s.timers, (std::array<int, 3>{15, 30, 30}));
}

// The type key names the link; without it (a file of an older copy) the booleans do, and they
// are still written so that such a copy finds the link it knows.
TEST(AppSettings, TheLinkTypeKeyDecidesAndTheOldBooleansStayReadable) {
    const struct {
        const char* text;
        LinkType type;
    } rows[] = {
        {"[TNC]\nHost=1\n", LinkType::Tnc},
        {"[KISS Commands]\nUseKISS=1\n", LinkType::Kiss},
        {"[Link]\nType=KISS TCP\n[KISS TCP]\nHost=tnc.local\nPort=8100\n", LinkType::KissTcp},
        {"[Link]\nType=AGWPE\n[TNC]\nHost=1\n", LinkType::Agwpe},
        {"[Link]\nType=kiss tcp\n[KISS Commands]\nUseKISS=1\n", LinkType::Kiss},
        {"[Link]\nType=APRS-IS\n[TNC]\nHost=1\n", LinkType::AprsIs},
    };
    for (const auto& row : rows) {
        const AppSettings s = readText(row.text);
        EXPECT_EQ(s.link.type(), row.type) << row.text;
        IniFile ini;
        s.write(ini);
        EXPECT_EQ(ini.readString("Link", "Type", {}), LinkSettings::typeName(row.type));
        EXPECT_EQ(ini.readBool("TNC", "Host", false), row.type == LinkType::Tnc);
        EXPECT_EQ(ini.readBool("KISS Commands", "UseKISS", false), row.type == LinkType::Kiss);
    }
    const AppSettings tcp = readText(rows[2].text);
    EXPECT_EQ(tcp.link.KissHost, "tnc.local");
    EXPECT_EQ(tcp.link.KissPort, "8100");
    EXPECT_EQ(AppSettings().link.KissPort, "8001");
}

TEST(AppSettings, NewFileListsEverySectionAndKeyInOrder) {
    IniFile ini;
    AppSettings().write(ini);
    EXPECT_EQ(ini.sections(), (QStringList{"TNC Commands", "KISS Commands", "Form", "Station",
                                           "AGWPE", "TNC", "Weather Data", "Object", "Timers",
                                           "COM Ports", "Link", "KISS TCP", "APRS-IS"}));
    EXPECT_EQ(ini.keys("Link"), QStringList{"Type"});
    EXPECT_EQ(ini.keys("KISS TCP"), (QStringList{"Host", "Port"}));
    EXPECT_EQ(ini.keys("APRS-IS"), (QStringList{"Server", "Port", "Passcode", "Filter"}));
    EXPECT_EQ(ini.keys("TNC Commands"),
              (QStringList{"Command", "Cmd-Prompt", "SendPac", "Beacon", "Conv", "ConOk"}));
    EXPECT_EQ(ini.keys("KISS Commands"),
              (QStringList{"Exit Kiss1", "Exit Kiss2", "Exit Kiss3", "Exit Kiss4", "Enter Kiss1",
                           "Enter Kiss2", "Enter Kiss3", "Enter Kiss4", "UseKISS", "Match"}));
    EXPECT_EQ(ini.keys("Form"), (QStringList{"Left", "Top", "Width", "Height", "Hints"}));
    EXPECT_EQ(ini.keys("Station"),
              (QStringList{"MyCall", "Destination", "Unproto", "Header", "UserUnproto", "Ports",
                           "Wx Dest", "AutoConnect", "Resume", "UTF8Text", "UTCTimeStamps"}));
    EXPECT_EQ(ini.keys("AGWPE"), (QStringList{"IPAddr", "TCPPort"}));
    EXPECT_EQ(ini.keys("TNC"), (QStringList{"Host", "ComPort", "BaudRate", "Flow", "Parity",
                                            "DataBits", "StopBits"}));
    EXPECT_EQ(ini.keys("Weather Data"), QStringList{"Metric"});
    EXPECT_EQ(ini.keys("Object"), (QStringList{"Map", "Date", "Index"}));
    EXPECT_EQ(ini.keys("Timers"), (QStringList{"T1", "T2", "T3", "Decay"}));
    EXPECT_EQ(ini.keys("COM Ports").size(), 8);
    EXPECT_EQ(ini.readString("Form", "Hints", "?"), "1");
    EXPECT_EQ(ini.readString("KISS Commands", "UseKISS", "?"), "0");
    EXPECT_EQ(ini.readString("TNC Commands", "SendPac", "?"), "$0D");
}

TEST(AppSettings, SaveAndLoadKeepEveryValueAndForeignKeys) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/skyvane.ini");
    AppSettings a;
    a.station.MyCall = "G4ABC-9";
    a.station.Utf8Text = true;
    a.station.UtcWeather = true;
    a.station.Destination = "APRS";
    a.station.WxDest = "WXD";
    a.station.Ports = "0110";
    a.station.Unproto = 5;
    a.station.UnprotoPath = "WIDE1-1,WIDE2-1";
    a.station.UserUnproto = "WIDE1-1,WIDE2-1";
    a.link.Host = true;
    a.link.IPAddr = "10.0.0.2";
    a.link.TCPPort = "8010";
    a.link.AutoConnect = true;
    a.link.ComPort = 5;
    a.link.BaudRate = 7;
    a.link.Flow = 1;
    a.link.Parity = 2;
    a.link.DataBits = 0;
    a.link.StopBits = 1;
    a.link.Command = "$1B";
    a.link.CmdPrompt = "cmd>";
    a.link.SendPac = "13";
    a.link.Beacon = "BEACON EVERY 10";
    a.link.Conv = "K";
    a.link.ConOk = "CONOK ON";
    a.link.EnterKiss = {"KISS ON", "RESTART", "", "é"};
    a.link.ExitKiss = {192, 255, 192, 0};
    a.link.Match = true;
    a.link.ComDevices[1] = "/dev/ttyUSB0";
    a.link.AprsServer = "euro.aprs2.net";
    a.link.AprsPort = "14581";
    a.link.AprsPasscode = "12345";
    a.link.AprsFilter = "r/51.5/-0.1/50";
    a.form = {40, 50, 700, 500};
    a.hints = false;
    a.metric = true;
    a.map = "/maps/Étang.jpg";
    a.date = "ddhhMM";
    a.dateIndex = 2;
    a.timers = {10, 45, 120};
    a.decay = true;
    QString error;
    ASSERT_TRUE(a.save(path, &error)) << error.toStdString();

    // A key another version wrote survives.
    IniFile extra;
    ASSERT_TRUE(extra.load(path));
    extra.writeString("Station", "Future", "kept");
    ASSERT_TRUE(extra.save(path));
    ASSERT_TRUE(a.save(path, &error));

    const AppSettings b = AppSettings::load(path, &error);
    EXPECT_TRUE(error.isEmpty());
    // Every value comes back, with what is derived from them at start-up.
    AppSettings expected = a;
    expected.station.PortFlags = {false, true, true, false};
    expected.station.LinkPath = "WIDE1-1,WIDE2-1";
    expected.link.CommandCode = 27;
    expected.link.SendPacCode = 13;
    EXPECT_EQ(b, expected);
    EXPECT_EQ(b.link.type(), LinkType::Tnc);
    EXPECT_EQ(b.link.ComDevices[2], "/dev/ttyS2");
    IniFile check;
    ASSERT_TRUE(check.load(path));
    EXPECT_EQ(check.readString("Station", "Future", ""), "kept");
}

TEST(AppSettings, FailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skyvane.ini");
    AppSettings a;
    QString error;
    ASSERT_TRUE(a.save(path, &error));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    // A folder where the temporary file would go cannot be written.
    a.station.MyCall = "CHANGED";
    EXPECT_FALSE(a.save(QStringLiteral("/proc/skyvane-test/skyvane.ini"), &error));
    EXPECT_FALSE(error.isEmpty());
    // A directory standing where the file must go.
    ASSERT_TRUE(QDir(dir.path()).mkdir("blocked.ini"));
    error.clear();
    EXPECT_FALSE(a.save(dir.filePath("blocked.ini"), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(AppSettings, UnreadableFileGivesDefaultsAndAMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("skyvane.ini"));
    QString error;
    const AppSettings s = AppSettings::load(dir.filePath("skyvane.ini"), &error);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(s.station.MyCall, "NOCALL-1");
}

TEST(AppSettings, AFileThatCouldNotBeReadIsKeptAsideNeverWrittenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skyvane.ini");
    const QRegularExpression asideName(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(path) + "\\.unreadable-\\d{8}-\\d{6}(-\\d+)?"));
    AppSettings a;
    a.station.MyCall = "G4ABC-9";
    QString error;
    QString keptAs;

    // Not readable now (a link that leads nowhere stands for any file we cannot open): it is
    // renamed, not replaced, and the new file holds the settings.
    ASSERT_TRUE(QFile::link("skyvane.ini", path));
    ASSERT_TRUE(a.save(path, &error, false, &keptAs)) << error.toStdString();
    EXPECT_TRUE(asideName.match(keptAs).hasMatch()) << keptAs.toStdString();
    EXPECT_EQ(QFileInfo(keptAs).symLinkTarget(), path);
    EXPECT_EQ(AppSettings::load(path, &error).station.MyCall, "G4ABC-9");

    // Readable again, but it was not at start-up, so what is in it is not what the program
    // holds: kept too, byte for byte, even within the same second.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Station]\r\nMyCall=THEIRS\r\n");
    f.close();
    QString second;
    ASSERT_TRUE(a.save(path, &error, true, &second));
    EXPECT_TRUE(asideName.match(second).hasMatch()) << second.toStdString();
    EXPECT_NE(second, keptAs);
    QFile kept(second);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("[Station]\r\nMyCall=THEIRS\r\n"));

    // Once moved, the file is ours: later saves write over it as ever.
    QString third = "unset";
    ASSERT_TRUE(a.save(path, &error, false, &third));
    EXPECT_TRUE(third.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 3);
    EXPECT_TRUE(IniFile::keptAsideMessage(path, second).contains(second));
}

} // namespace
