// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/AppSettings.h"

#include "common/Numbers.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kTncCommands = QStringLiteral("TNC Commands");
const QString kKissCommands = QStringLiteral("KISS Commands");
const QString kForm = QStringLiteral("Form");
const QString kStation = QStringLiteral("Station");
const QString kAgwpe = QStringLiteral("AGWPE");
const QString kTnc = QStringLiteral("TNC");
const QString kWeather = QStringLiteral("Weather Data");
const QString kObject = QStringLiteral("Object");
const QString kTimers = QStringLiteral("Timers");
const QString kComPorts = QStringLiteral("COM Ports");
const QString kLink = QStringLiteral("Link");
const QString kKissTcp = QStringLiteral("KISS TCP");
const QString kAprsIs = QStringLiteral("APRS-IS");

QString numbered(const char* key, int n) {
    return QLatin1String(key) + QString::number(n);
}

} // namespace

QString unprotoPreset(int index) {
    switch (index) {
    case 1:
        return QStringLiteral("RELAY");
    case 2:
        return QStringLiteral("WIDE");
    case 3:
        return QStringLiteral("RELAY, WIDE");
    case 4:
        return QStringLiteral("TRACE2-2");
    case 6:
        return QStringLiteral("WIDE1-1,WIDE2-1");
    case 7:
        return QStringLiteral("WIDE2-1");
    default:
        return {};
    }
}

std::optional<int> codeByte(const QString& text) {
    const auto v = tryStrToInt(text);
    // A code is sent as one byte: a larger number would go out as some other character.
    if (!v || *v < 0 || *v > 255)
        return std::nullopt;
    return v;
}

AppSettings AppSettings::read(const IniFile& ini) {
    AppSettings s;
    LinkSettings& l = s.link;
    l.Command = ini.readString(kTncCommands, QStringLiteral("Command"), l.Command);
    l.CmdPrompt = ini.readString(kTncCommands, QStringLiteral("Cmd-Prompt"), l.CmdPrompt);
    l.SendPac = ini.readString(kTncCommands, QStringLiteral("SendPac"), l.SendPac);
    l.Beacon = ini.readString(kTncCommands, QStringLiteral("Beacon"), l.Beacon);
    l.Conv = ini.readString(kTncCommands, QStringLiteral("Conv"), l.Conv);
    l.ConOk = ini.readString(kTncCommands, QStringLiteral("ConOk"), l.ConOk);
    for (int i = 0; i < 4; ++i)
        l.ExitKiss[size_t(i)] = ini.readInteger(kKissCommands, numbered("Exit Kiss", i + 1), 0);
    for (int i = 0; i < 4; ++i)
        l.EnterKiss[size_t(i)] =
            ini.readString(kKissCommands, numbered("Enter Kiss", i + 1), QString());
    l.UseKISS = ini.readBool(kKissCommands, QStringLiteral("UseKISS"), false);
    l.Match = ini.readBool(kKissCommands, QStringLiteral("Match"), false);

    s.form.Left = ini.readInteger(kForm, QStringLiteral("Left"), 10);
    s.form.Top = ini.readInteger(kForm, QStringLiteral("Top"), 10);
    s.form.Width = ini.readInteger(kForm, QStringLiteral("Width"), 620);
    s.form.Height = ini.readInteger(kForm, QStringLiteral("Height"), 438);
    s.hints = ini.readBool(kForm, QStringLiteral("Hints"), true);

    StationSettings& st = s.station;
    st.MyCall = ini.readString(kStation, QStringLiteral("MyCall"), st.MyCall);
    st.Destination = ini.readString(kStation, QStringLiteral("Destination"), st.Destination);
    st.Unproto = ini.readInteger(kStation, QStringLiteral("Unproto"), 0);
    st.UnprotoPath = ini.readString(kStation, QStringLiteral("Header"), QString());
    st.UserUnproto = ini.readString(kStation, QStringLiteral("UserUnproto"), QString());
    st.Ports = ini.readString(kStation, QStringLiteral("Ports"), st.Ports);
    st.WxDest = ini.readString(kStation, QStringLiteral("Wx Dest"), st.WxDest);
    l.AutoConnect = ini.readBool(kStation, QStringLiteral("AutoConnect"), false);
    s.resume = ini.readBool(kStation, QStringLiteral("Resume"), false);

    l.IPAddr = ini.readString(kAgwpe, QStringLiteral("IPAddr"), l.IPAddr);
    l.TCPPort = ini.readString(kAgwpe, QStringLiteral("TCPPort"), l.TCPPort);

    l.Host = ini.readBool(kTnc, QStringLiteral("Host"), false);
    l.ComPort = ini.readInteger(kTnc, QStringLiteral("ComPort"), 2);
    l.BaudRate = ini.readInteger(kTnc, QStringLiteral("BaudRate"), 3);
    l.Flow = ini.readInteger(kTnc, QStringLiteral("Flow"), 2);
    l.Parity = ini.readInteger(kTnc, QStringLiteral("Parity"), 0);
    l.DataBits = ini.readInteger(kTnc, QStringLiteral("DataBits"), 1);
    l.StopBits = ini.readInteger(kTnc, QStringLiteral("StopBits"), 0);
    l.KissHost = ini.readString(kKissTcp, QStringLiteral("Host"), l.KissHost);
    l.KissPort = ini.readString(kKissTcp, QStringLiteral("Port"), l.KissPort);
    l.AprsServer = ini.readString(kAprsIs, QStringLiteral("Server"), l.AprsServer);
    l.AprsPort = ini.readString(kAprsIs, QStringLiteral("Port"), l.AprsPort);
    l.AprsPasscode = ini.readString(kAprsIs, QStringLiteral("Passcode"), l.AprsPasscode);
    l.AprsFilter = ini.readString(kAprsIs, QStringLiteral("Filter"), l.AprsFilter);
    // The type names the link outright; a file from before it has only the two booleans.
    if (const auto type =
            LinkSettings::typeNamed(ini.readString(kLink, QStringLiteral("Type"), {})))
        l.setType(*type);

    s.metric = ini.readBool(kWeather, QStringLiteral("Metric"), false);

    s.map = ini.readString(kObject, QStringLiteral("Map"), QString());
    s.date = ini.readString(kObject, QStringLiteral("Date"), s.date);
    s.dateIndex = ini.readInteger(kObject, QStringLiteral("Index"), 4);

    for (int i = 0; i < 3; ++i)
        s.timers[size_t(i)] = ini.readInteger(kTimers, numbered("T", i + 1), 30);
    s.decay = ini.readBool(kTimers, QStringLiteral("Decay"), false);

    for (int i = 0; i < 8; ++i)
        l.ComDevices[size_t(i)] =
            ini.readString(kComPorts, numbered("COM", i + 1), l.ComDevices[size_t(i)]);

    // ---- Options added after the keys above; each is off in a file from before it.
    st.Utf8Text = ini.readBool(kStation, QStringLiteral("UTF8Text"), false);
    st.UtcWeather = ini.readBool(kStation, QStringLiteral("UTCTimeStamps"), false);

    // Derived values, rebuilt at every start and never written.
    st.applyPortsText();
    if (!unprotoPreset(st.Unproto).isEmpty())
        st.UnprotoPath = unprotoPreset(st.Unproto);
    st.LinkPath = st.UnprotoPath;
    if (const auto code = codeByte(l.Command)) {
        l.CommandCode = *code;
    } else {
        l.Command = QStringLiteral("$03");
        l.CommandCode = 3;
    }
    if (const auto code = codeByte(l.SendPac)) {
        l.SendPacCode = *code;
    } else {
        l.SendPac = QStringLiteral("$0D");
        l.SendPacCode = 13;
    }
    return s;
}

void AppSettings::write(IniFile& ini) const {
    const LinkSettings& l = link;
    ini.writeString(kTncCommands, QStringLiteral("Command"), l.Command);
    ini.writeString(kTncCommands, QStringLiteral("Cmd-Prompt"), l.CmdPrompt);
    ini.writeString(kTncCommands, QStringLiteral("SendPac"), l.SendPac);
    ini.writeString(kTncCommands, QStringLiteral("Beacon"), l.Beacon);
    ini.writeString(kTncCommands, QStringLiteral("Conv"), l.Conv);
    ini.writeString(kTncCommands, QStringLiteral("ConOk"), l.ConOk);
    for (int i = 0; i < 4; ++i)
        ini.writeInteger(kKissCommands, numbered("Exit Kiss", i + 1), l.ExitKiss[size_t(i)]);
    for (int i = 0; i < 4; ++i)
        ini.writeString(kKissCommands, numbered("Enter Kiss", i + 1), l.EnterKiss[size_t(i)]);
    ini.writeBool(kKissCommands, QStringLiteral("UseKISS"), l.UseKISS);
    ini.writeBool(kKissCommands, QStringLiteral("Match"), l.Match);

    ini.writeInteger(kForm, QStringLiteral("Left"), form.Left);
    ini.writeInteger(kForm, QStringLiteral("Top"), form.Top);
    ini.writeInteger(kForm, QStringLiteral("Width"), form.Width);
    ini.writeInteger(kForm, QStringLiteral("Height"), form.Height);
    ini.writeBool(kForm, QStringLiteral("Hints"), hints);

    const StationSettings& st = station;
    ini.writeString(kStation, QStringLiteral("MyCall"), st.MyCall);
    ini.writeString(kStation, QStringLiteral("Destination"), st.Destination);
    ini.writeInteger(kStation, QStringLiteral("Unproto"), st.Unproto);
    ini.writeString(kStation, QStringLiteral("Header"), st.UnprotoPath);
    ini.writeString(kStation, QStringLiteral("UserUnproto"), st.UserUnproto);
    ini.writeString(kStation, QStringLiteral("Ports"), st.Ports);
    ini.writeString(kStation, QStringLiteral("Wx Dest"), st.WxDest);
    ini.writeBool(kStation, QStringLiteral("AutoConnect"), l.AutoConnect);
    ini.writeBool(kStation, QStringLiteral("Resume"), resume);

    ini.writeString(kAgwpe, QStringLiteral("IPAddr"), l.IPAddr);
    ini.writeString(kAgwpe, QStringLiteral("TCPPort"), l.TCPPort);

    ini.writeBool(kTnc, QStringLiteral("Host"), l.Host);
    ini.writeInteger(kTnc, QStringLiteral("ComPort"), l.ComPort);
    ini.writeInteger(kTnc, QStringLiteral("BaudRate"), l.BaudRate);
    ini.writeInteger(kTnc, QStringLiteral("Flow"), l.Flow);
    ini.writeInteger(kTnc, QStringLiteral("Parity"), l.Parity);
    ini.writeInteger(kTnc, QStringLiteral("DataBits"), l.DataBits);
    ini.writeInteger(kTnc, QStringLiteral("StopBits"), l.StopBits);

    ini.writeBool(kWeather, QStringLiteral("Metric"), metric);

    ini.writeString(kObject, QStringLiteral("Map"), map);
    ini.writeString(kObject, QStringLiteral("Date"), date);
    ini.writeInteger(kObject, QStringLiteral("Index"), dateIndex);

    for (int i = 0; i < 3; ++i)
        ini.writeInteger(kTimers, numbered("T", i + 1), timers[size_t(i)]);
    ini.writeBool(kTimers, QStringLiteral("Decay"), decay);

    for (int i = 0; i < 8; ++i)
        ini.writeString(kComPorts, numbered("COM", i + 1), l.ComDevices[size_t(i)]);

    // After every section an older copy knows, which keeps its order.
    ini.writeString(kLink, QStringLiteral("Type"), LinkSettings::typeName(l.type()));
    ini.writeString(kKissTcp, QStringLiteral("Host"), l.KissHost);
    ini.writeString(kKissTcp, QStringLiteral("Port"), l.KissPort);
    ini.writeString(kAprsIs, QStringLiteral("Server"), l.AprsServer);
    ini.writeString(kAprsIs, QStringLiteral("Port"), l.AprsPort);
    ini.writeString(kAprsIs, QStringLiteral("Passcode"), l.AprsPasscode);
    ini.writeString(kAprsIs, QStringLiteral("Filter"), l.AprsFilter);

    // ---- Options added after the keys above.
    ini.writeBool(kStation, QStringLiteral("UTF8Text"), st.Utf8Text);
    ini.writeBool(kStation, QStringLiteral("UTCTimeStamps"), st.UtcWeather);
}

AppSettings AppSettings::load(const QString& path, QString* error) {
    IniFile ini;
    if (!ini.load(path) && error)
        *error = ini.errorString();
    AppSettings s = read(ini);
    // A new station starts with the path today's digipeaters answer; a file without the key
    // keeps meaning "no path", as it always has.
    if (!QFileInfo::exists(path)) {
        s.station.Unproto = NewStationUnproto;
        s.station.UnprotoPath = unprotoPreset(NewStationUnproto);
        s.station.LinkPath = s.station.UnprotoPath;
    }
    return s;
}

bool AppSettings::save(const QString& path, QString* error, bool unreadableBefore,
                       QString* keptAs) const {
    // Keys other programs or later versions added stay; a file that cannot be read is kept
    // aside rather than written over or blocking the save.
    IniFile ini;
    if (!ini.loadForUpdate(path, unreadableBefore, keptAs)) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    write(ini);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    if (!ini.save(path)) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    return true;
}
