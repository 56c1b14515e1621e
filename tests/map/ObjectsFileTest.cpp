// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ObjectsFile.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ObjectsFileData sample() {
    ObjectsFileData d;
    d.objects[0] = {"5130.00N",    "00045.00W",  "/",         ">", 4,   "CAR",
                    "Net tonight", "/tmp/c.txt", "% No data", 100, 200, {}};
    d.objects[1] = {"5115.00N", "00015.00W", "\\", "P", 10, "PARK", "Free", "", "Def", 7, 8, {}};
    d.objects[2] = {};
    d.VP = 33;
    d.HP = 44;
    return d;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(ObjectsFile, NewFileHasEveryKeyInItsOrder) {
    IniFile ini;
    ObjectsFile::write(ini, sample());
    const QByteArray expected =
        "[Object1]\r\n"
        "Latitude=5130.00N\r\nLongitude=00045.00W\r\nTable=/\r\nSymbol=>\r\n"
        "Ident=CAR\r\nComment=Net tonight\r\nCommentFile=/tmp/c.txt\r\n"
        "Default=% No data\r\nIndex=4\r\nRunning=0\r\n"
        "[Internal]\r\n"
        "ST=100\r\nSL=200\r\nVP=33\r\nHP=44\r\nST1=7\r\nSL1=8\r\nST2=0\r\nSL2=0\r\n"
        "[Object2]\r\n"
        "Latitude=5115.00N\r\nLongitude=00015.00W\r\nTable=\\\r\nSymbol=P\r\n"
        "Index=10\r\nIdent=PARK\r\nComment=Free\r\nCommentFile=\r\n"
        "Default=Def\r\nRunning=0\r\n"
        "[Object3]\r\n"
        "Latitude=\r\nLongitude=\r\nTable=\r\nSymbol=\r\nIndex=0\r\nIdent=\r\n"
        "Comment=\r\nCommentFile=\r\nDefault=% No data available\r\nRunning=0\r\n";
    // Section separation (blank lines or not) is the INI writer's business; compare without.
    QByteArray written = ini.toBytes();
    written.replace("\r\n\r\n", "\r\n");
    EXPECT_EQ(written.toStdString(), expected.toStdString());
}

TEST(ObjectsFile, ReadsBackWhatWasWrittenAndDefaultsWhatIsMissing) {
    IniFile ini;
    ObjectsFile::write(ini, sample());
    IniFile again;
    again.parse(ini.toBytes());
    const ObjectsFileData d = ObjectsFile::read(again);
    const ObjectsFileData s = sample();
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d.objects[i].Latitude, s.objects[i].Latitude);
        EXPECT_EQ(d.objects[i].Longitude, s.objects[i].Longitude);
        EXPECT_EQ(d.objects[i].Table, s.objects[i].Table);
        EXPECT_EQ(d.objects[i].Symbol, s.objects[i].Symbol);
        EXPECT_EQ(d.objects[i].Index, s.objects[i].Index);
        EXPECT_EQ(d.objects[i].Ident, s.objects[i].Ident);
        EXPECT_EQ(d.objects[i].Comment, s.objects[i].Comment);
        EXPECT_EQ(d.objects[i].CommentFile, s.objects[i].CommentFile);
        EXPECT_EQ(d.objects[i].Default, s.objects[i].Default);
        EXPECT_EQ(d.objects[i].ST, s.objects[i].ST);
        EXPECT_EQ(d.objects[i].SL, s.objects[i].SL);
    }
    EXPECT_EQ(d.VP, 33);
    EXPECT_EQ(d.HP, 44);

    IniFile partial;
    partial.parse("[object2]\nident=X\nIndex=banana\n[INTERNAL]\nsl1=$10\nVP=0x20\n");
    const ObjectsFileData p = ObjectsFile::read(partial);
    EXPECT_EQ(p.objects[1].Ident, "X");
    EXPECT_EQ(p.objects[1].Index, 0);
    EXPECT_EQ(p.objects[1].SL, 16);
    EXPECT_EQ(p.VP, 32);
    EXPECT_EQ(p.objects[0].Default, "% No data available");
    EXPECT_EQ(p.objects[2].Latitude, "");
}

TEST(ObjectsFile, WeatherStationIsSavedWithAnEmptyComment) {
    ObjectsFileData d = sample();
    d.objects[0].Index = 12;
    d.objects[0].Comment = "180/005g010t072r000p000P000h50b10132";
    d.objects[1].Index = 12; // only object 1 can be a weather station
    IniFile ini;
    ObjectsFile::write(ini, d);
    EXPECT_EQ(ini.readString("Object1", "Comment", "?"), "");
    EXPECT_EQ(ini.readInteger("Object1", "Index", 0), 12);
    EXPECT_EQ(ini.readString("Object2", "Comment", "?"), "Free");
}

TEST(ObjectsFile, SavesAtomicallyAndKeepsForeignKeys) {
    QTemporaryDir dir;
    const QString path = dir.filePath("map.obd");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Notes]\r\nWho=club\r\n[Object1]\r\nExtra=keep\r\n");
    }
    QString error;
    ASSERT_TRUE(ObjectsFile::save(path, sample(), error)) << error.toStdString();
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.readString("Notes", "Who", ""), "club");
    EXPECT_EQ(ini.readString("Object1", "Extra", ""), "keep");
    ObjectsFileData back;
    ASSERT_TRUE(ObjectsFile::load(path, back, error));
    EXPECT_EQ(back.objects[1].Ident, "PARK");

    // An objects file that could not be read when its map was loaded is kept, not replaced.
    QString keptAs;
    ASSERT_TRUE(ObjectsFile::save(path, sample(), error, true, &keptAs));
    EXPECT_TRUE(keptAs.startsWith(path + ".unreadable-")) << keptAs.toStdString();
    IniFile kept;
    ASSERT_TRUE(kept.load(keptAs));
    EXPECT_EQ(kept.readString("Notes", "Who", ""), "club");

    // A folder standing where a save needs to go: the save fails, names the path, and the
    // file it would have replaced is as it was.
    const QByteArray before = readAll(path);
    ASSERT_TRUE(QDir(dir.path()).mkdir("busy.obd"));
    error.clear();
    EXPECT_FALSE(ObjectsFile::save(dir.filePath("busy.obd"), sample(), error));
    EXPECT_TRUE(error.contains("busy.obd")) << error.toStdString();
    EXPECT_FALSE(ObjectsFile::save("/proc/skyvane-none/map.obd", sample(), error));
    EXPECT_EQ(readAll(path), before);

    ObjectsFileData missing;
    missing.VP = 5;
    EXPECT_TRUE(ObjectsFile::load(dir.filePath("none.obd"), missing, error));
    EXPECT_EQ(missing.VP, 0);
}

TEST(ObjectsFile, CompanionPathsAndPositionTexts) {
    EXPECT_EQ(ObjectsFile::pathFor("/maps/coast.jpg"), "/maps/coast.obd");
    EXPECT_EQ(ObjectsFile::pathFor("/maps/coast.JPEG"), "/maps/coast.obd");
    EXPECT_EQ(ObjectsFile::calibrationPathFor("/maps.v2/coast.gif"), "/maps.v2/coast.inf");
    EXPECT_EQ(ObjectsFile::calibrationPathFor("/maps.v2/coast"), "/maps.v2/coast.inf");

    for (const char* good : {"5130.00N", "0000.50S", "9000.00N"})
        EXPECT_TRUE(ObjectsFile::isLatitudeText(good)) << good;
    for (const char* bad : {"", "5130.00", "5130.00E", "51.30.00N", "5160.00N", "9100.00N",
                            "51300.0N", "5a30.00N", "5130,00N"})
        EXPECT_FALSE(ObjectsFile::isLatitudeText(bad)) << bad;
    for (const char* good : {"00045.00W", "17930.00E", "18000.00W"})
        EXPECT_TRUE(ObjectsFile::isLongitudeText(good)) << good;
    for (const char* bad : {"0045.00W", "00045.00N", "18100.00E", "00060.00E", "000.45.00W"})
        EXPECT_FALSE(ObjectsFile::isLongitudeText(bad)) << bad;
}

TEST(ObjectsFile, CompanionFilesAreFoundWhateverTheCaseOfTheirExtension) {
    QTemporaryDir dir;
    for (const char* name : {"Map.JPG", "Map.INF", "Map.OBD", "a.jpg", "a.INF", "a.inf", "b.gif",
                             "b.Inf", "c.jpg", "C.inf", "d.bmp", "d.inf.bak"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        const char* picture;
        const char* calibration;
        const char* objects;
    } rows[] = {
        {"Map.JPG", "Map.INF", "Map.OBD"},
        // The exact case wins over another case.
        {"a.jpg", "a.inf", "a.obd"},
        // No objects file yet: a new one is named in lower case.
        {"b.gif", "b.Inf", "b.obd"},
        // Only the extension's case is free, not the name's.
        {"c.jpg", "c.inf", "c.obd"},
        {"d.bmp", "d.inf", "d.obd"},
    };
    for (const auto& row : rows) {
        const QString picture = dir.filePath(row.picture);
        EXPECT_EQ(ObjectsFile::calibrationPathFor(picture), dir.filePath(row.calibration));
        EXPECT_EQ(ObjectsFile::pathFor(picture), dir.filePath(row.objects));
    }

    // Saving the objects of "Map.JPG" writes into "Map.OBD" and makes no second file.
    QString error;
    ASSERT_TRUE(ObjectsFile::save(ObjectsFile::pathFor(dir.filePath("Map.JPG")), sample(), error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Map.obd")));
    ObjectsFileData back;
    ASSERT_TRUE(ObjectsFile::load(dir.filePath("Map.OBD"), back, error));
    EXPECT_EQ(back.objects[0].Ident, "CAR");
}

// The zoom is kept beside the scroll position in the same text in every language; files
// written before it existed, and zooms that are no zoom, open at the picture's own size.
TEST(ObjectsFile, ZoomIsKeptBesideTheScrollPosition) {
    ObjectsFileData d = sample();
    d.Zoom = 0.25;
    d.FitWindow = true;
    IniFile ini;
    ObjectsFile::write(ini, d);
    QByteArray written = ini.toBytes();
    EXPECT_TRUE(written.contains("VP=33\r\nHP=44\r\nZoom=0.25\r\nFitWindow=1\r\nST1=7"))
        << written.toStdString();
    IniFile again;
    again.parse(written);
    const ObjectsFileData back = ObjectsFile::read(again);
    EXPECT_EQ(back.Zoom, 0.25);
    EXPECT_TRUE(back.FitWindow);

    for (const char* internal : {"VP=3\n", "Zoom=0,5\nFitWindow=1\n", "Zoom=9\n", "Zoom=\n"}) {
        SCOPED_TRACE(internal);
        IniFile old;
        old.parse(QByteArray("[Internal]\n") + internal);
        const ObjectsFileData read = ObjectsFile::read(old);
        EXPECT_FALSE(read.Zoom.has_value());
        EXPECT_FALSE(read.FitWindow);
    }
}

// Pending kills are kept in sections of their own, written afresh at every save (a finished
// kill leaves no section behind); an entry no kill could have written is left out.
TEST(ObjectsFile, PendingKillsAreKeptAndBrokenOnesLeftOut) {
    ObjectsFileData d = sample();
    PendingKill k;
    k.slot = 2;
    k.identifier = QStringLiteral("AID 1");
    k.latitude = QStringLiteral("5130.00N");
    k.longitude = QStringLiteral("00045.00W");
    k.table = QStringLiteral("\\");
    k.code = QStringLiteral("A");
    k.made = QDateTime(QDate(2026, 3, 6), QTime(15, 23, 5), Qt::UTC);
    k.copiesSent = 2;
    k.nextAt = k.made.addSecs(180);
    PendingKill waiting = k;
    waiting.identifier = QStringLiteral("AID2");
    waiting.copiesSent = 0;
    waiting.nextAt = {};
    d.kills = {k, waiting};
    IniFile ini;
    ini.parse("[Kill7]\nIdent=GONE\n");
    ObjectsFile::write(ini, d);
    const QByteArray written = ini.toBytes();
    EXPECT_TRUE(written.contains("[Kill1]\r\nIdent=AID 1\r\nLatitude=5130.00N\r\nLongitude=00045."
                                 "00W\r\nTable=\\\r\nSymbol=A\r\nObject=2\r\nMade=2026-03-06T15:"
                                 "23:05Z\r\nSent=2\r\nNext=2026-03-06T15:26:05Z\r\n"))
        << written.toStdString();
    EXPECT_FALSE(written.contains("GONE"));
    IniFile again;
    again.parse(written + "[Kill3]\nIdent=BAD\nLatitude=north\nLongitude=00045.00W\nTable=/\n"
                          "Symbol=A\nMade=2026-03-06T15:23:05Z\n"
                          "[Kill4]\nIdent=NOTIME\nLatitude=5130.00N\nLongitude=00045.00W\n"
                          "Table=/\nSymbol=A\nMade=yesterday\n");
    EXPECT_EQ(ObjectsFile::read(again).kills, (QList<PendingKill>{k, waiting}));
}
