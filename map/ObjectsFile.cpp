// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ObjectsFile.h"

#include "beacon/SymbolTable.h"
#include "map/MapZoom.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace ObjectsFile {
namespace {

const QString Internal = QStringLiteral("Internal");

QString sectionOf(int slot) {
    return QStringLiteral("Object%1").arg(slot + 1);
}
// "ST", "ST1", "ST2": object 1's keys carry no number.
QString internalKey(const char* base, int slot) {
    return slot == 0 ? QString::fromLatin1(base) : QStringLiteral("%1%2").arg(base).arg(slot);
}

QString withExtension(const QString& path, const char* extension) {
    const QFileInfo info(path);
    const QString base =
        info.suffix().isEmpty() ? path : path.left(path.size() - info.suffix().size() - 1);
    return base + QLatin1String(extension);
}

bool digitsAt(const QString& text, int from, int count) {
    for (int i = from; i < from + count; ++i)
        if (!text[i].isDigit() || text[i].unicode() > '9')
            return false;
    return true;
}

const QString KillPrefix = QStringLiteral("Kill");
const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ssZ");

bool isKillSection(const QString& section) {
    bool number = false;
    return section.startsWith(KillPrefix, Qt::CaseInsensitive) &&
           section.mid(KillPrefix.size()).toInt(&number) > 0 && number;
}

QDateTime timeOf(const QString& text) {
    QDateTime t = QDateTime::fromString(text.trimmed(), TimeFormat);
    t.setTimeSpec(Qt::UTC);
    return t;
}

std::optional<PendingKill> readKill(const IniFile& ini, const QString& section) {
    PendingKill k;
    k.identifier = ini.readString(section, QStringLiteral("Ident"), {});
    k.latitude = ini.readString(section, QStringLiteral("Latitude"), {});
    k.longitude = ini.readString(section, QStringLiteral("Longitude"), {});
    k.table = ini.readString(section, QStringLiteral("Table"), {});
    k.code = ini.readString(section, QStringLiteral("Symbol"), {});
    k.slot = qBound(1, ini.readInteger(section, QStringLiteral("Object"), 1), 3);
    k.made = timeOf(ini.readString(section, QStringLiteral("Made"), {}));
    k.copiesSent = qMax(0, ini.readInteger(section, QStringLiteral("Sent"), 0));
    const QString next = ini.readString(section, QStringLiteral("Next"), {});
    if (!next.trimmed().isEmpty())
        k.nextAt = timeOf(next);
    const bool nameOk = !k.identifier.trimmed().isEmpty() && k.identifier.size() <= 9;
    if (!nameOk || !isLatitudeText(k.latitude) || !isLongitudeText(k.longitude) ||
        k.table.size() != 1 || k.code.size() != 1 || !k.made.isValid() ||
        (!next.trimmed().isEmpty() && !k.nextAt.isValid()))
        return std::nullopt;
    return k;
}

} // namespace

ObjectsFileData read(const IniFile& ini) {
    ObjectsFileData data;
    for (int slot = 0; slot < 3; ++slot) {
        const QString section = sectionOf(slot);
        StoredObject& o = data.objects[size_t(slot)];
        o.Latitude = ini.readString(section, QStringLiteral("Latitude"), {});
        o.Longitude = ini.readString(section, QStringLiteral("Longitude"), {});
        o.Table = ini.readString(section, QStringLiteral("Table"), {});
        o.Symbol = ini.readString(section, QStringLiteral("Symbol"), {});
        o.Index = ini.readInteger(section, QStringLiteral("Index"), 0);
        o.Ident = ini.readString(section, QStringLiteral("Ident"), {});
        o.Comment = ini.readString(section, QStringLiteral("Comment"), {});
        o.CommentFile = ini.readString(section, QStringLiteral("CommentFile"), {});
        o.Default = ini.readString(section, QStringLiteral("Default"), o.Default);
        o.ST = ini.readInteger(Internal, internalKey("ST", slot), 0);
        o.SL = ini.readInteger(Internal, internalKey("SL", slot), 0);
        o.Running = ini.readString(section, QStringLiteral("Running"), {}).trimmed();
    }
    data.VP = ini.readInteger(Internal, QStringLiteral("VP"), 0);
    data.HP = ini.readInteger(Internal, QStringLiteral("HP"), 0);
    data.Zoom = MapZoom::fromText(ini.readString(Internal, QStringLiteral("Zoom"), {}));
    data.FitWindow = data.Zoom && ini.readBool(Internal, QStringLiteral("FitWindow"), false);
    for (const QString& section : ini.sections())
        if (isKillSection(section))
            if (const auto kill = readKill(ini, section))
                data.kills.append(*kill);
    return data;
}

void write(IniFile& ini, const ObjectsFileData& data) {
    for (int slot = 0; slot < 3; ++slot) {
        const QString section = sectionOf(slot);
        const StoredObject& o = data.objects[size_t(slot)];
        const bool weather = slot == 0 && o.Index == Symbols::WeatherStation;
        ini.writeString(section, QStringLiteral("Latitude"), o.Latitude);
        ini.writeString(section, QStringLiteral("Longitude"), o.Longitude);
        ini.writeString(section, QStringLiteral("Table"), o.Table);
        ini.writeString(section, QStringLiteral("Symbol"), o.Symbol);
        // Object 1 has always had its index last and the others theirs after the symbol;
        // files written before keep their look.
        if (slot == 0) {
            ini.writeString(section, QStringLiteral("Ident"), o.Ident);
            ini.writeString(section, QStringLiteral("Comment"), weather ? QString() : o.Comment);
            ini.writeString(section, QStringLiteral("CommentFile"), o.CommentFile);
            ini.writeString(section, QStringLiteral("Default"), o.Default);
            ini.writeInteger(section, QStringLiteral("Index"), o.Index);
            ini.writeInteger(Internal, QStringLiteral("ST"), o.ST);
            ini.writeInteger(Internal, QStringLiteral("SL"), o.SL);
            ini.writeInteger(Internal, QStringLiteral("VP"), data.VP);
            ini.writeInteger(Internal, QStringLiteral("HP"), data.HP);
            // A station that never showed the map (headless) knows no zoom and leaves the
            // file's own.
            if (data.Zoom) {
                ini.writeString(Internal, QStringLiteral("Zoom"), MapZoom::toText(*data.Zoom));
                ini.writeBool(Internal, QStringLiteral("FitWindow"), data.FitWindow);
            }
        } else {
            ini.writeInteger(section, QStringLiteral("Index"), o.Index);
            ini.writeString(section, QStringLiteral("Ident"), o.Ident);
            ini.writeString(section, QStringLiteral("Comment"), o.Comment);
            ini.writeString(section, QStringLiteral("CommentFile"), o.CommentFile);
            ini.writeString(section, QStringLiteral("Default"), o.Default);
            ini.writeInteger(Internal, internalKey("ST", slot), o.ST);
            ini.writeInteger(Internal, internalKey("SL", slot), o.SL);
        }
        ini.writeString(section, QStringLiteral("Running"),
                        o.Running == QLatin1String("1") ? QStringLiteral("1")
                                                        : QStringLiteral("0"));
    }
    for (const QString& section : ini.sections())
        if (isKillSection(section))
            ini.removeSection(section);
    int n = 0;
    for (const PendingKill& k : data.kills) {
        const QString section = KillPrefix + QString::number(++n);
        ini.writeString(section, QStringLiteral("Ident"), k.identifier);
        ini.writeString(section, QStringLiteral("Latitude"), k.latitude);
        ini.writeString(section, QStringLiteral("Longitude"), k.longitude);
        ini.writeString(section, QStringLiteral("Table"), k.table);
        ini.writeString(section, QStringLiteral("Symbol"), k.code);
        ini.writeInteger(section, QStringLiteral("Object"), k.slot);
        ini.writeString(section, QStringLiteral("Made"), k.made.toUTC().toString(TimeFormat));
        ini.writeInteger(section, QStringLiteral("Sent"), k.copiesSent);
        ini.writeString(section, QStringLiteral("Next"),
                        k.nextAt.isValid() ? k.nextAt.toUTC().toString(TimeFormat) : QString());
    }
}

// Maps copied from Windows often carry ".INF" or ".Obd": the file beside the picture with this
// extension in the case it has on disk, the exact case first. Without one, the lower-case name
// a new file gets.
QString companionPath(const QString& picturePath, const char* extension) {
    const QString exact = withExtension(picturePath, extension);
    const QFileInfo exactInfo(exact);
    if (exactInfo.exists() || exactInfo.isSymLink())
        return exact;
    const QString name = exactInfo.fileName();
    QStringList found;
    for (const QString& entry :
         exactInfo.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name))
        if (entry.size() == name.size() && entry.startsWith(name.chopped(qstrlen(extension))) &&
            entry.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
            found << entry;
    return found.isEmpty() ? exact : exactInfo.dir().filePath(found.first());
}

QString pathFor(const QString& picturePath) {
    return companionPath(picturePath, ".obd");
}
QString calibrationPathFor(const QString& picturePath) {
    return companionPath(picturePath, ".inf");
}

bool load(const QString& path, ObjectsFileData& data, QString& error) {
    IniFile ini;
    if (!ini.load(path)) {
        error = ini.errorString();
        return false;
    }
    data = read(ini);
    return true;
}

bool save(const QString& path, const ObjectsFileData& data, QString& error, bool unreadableBefore,
          QString* keptAs) {
    IniFile ini;
    // Keys someone added by hand survive; a file that cannot be read is kept aside and
    // written afresh.
    if (!ini.loadForUpdate(path, unreadableBefore, keptAs)) {
        error = ini.errorString();
        return false;
    }
    write(ini, data);
    if (!ini.save(path)) {
        error = ini.errorString();
        return false;
    }
    return true;
}

bool isLatitudeText(const QString& text) {
    return text.size() == 8 && digitsAt(text, 0, 4) && text[4] == QLatin1Char('.') &&
           digitsAt(text, 5, 2) && (text[7] == QLatin1Char('N') || text[7] == QLatin1Char('S')) &&
           text.left(2).toInt() <= 90 && text.mid(2, 2).toInt() < 60;
}

bool isLongitudeText(const QString& text) {
    return text.size() == 9 && digitsAt(text, 0, 5) && text[5] == QLatin1Char('.') &&
           digitsAt(text, 6, 2) && (text[8] == QLatin1Char('E') || text[8] == QLatin1Char('W')) &&
           text.left(3).toInt() <= 180 && text.mid(3, 2).toInt() < 60;
}

} // namespace ObjectsFile
