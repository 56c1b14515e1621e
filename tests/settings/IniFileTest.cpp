// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

TEST(IniFile, MissingFileSectionOrKeyGivesDefaults) {
    QTemporaryDir dir;
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.filePath("none.ini")));
    EXPECT_TRUE(ini.errorString().isEmpty());
    EXPECT_EQ(ini.readString("Station", "MyCall", "NOCALL-1"), "NOCALL-1");
    EXPECT_EQ(ini.readInteger("Form", "Left", 10), 10);
    EXPECT_TRUE(ini.readBool("Form", "Hints", true));
    EXPECT_FALSE(ini.readBool("KISS Commands", "UseKISS", false));

    ini.parse("[Station]\r\nMyCall=G4ABC-9\r\n");
    EXPECT_EQ(ini.readString("Station", "Destination", "CQ"), "CQ");
    EXPECT_EQ(ini.readString("Other", "MyCall", "x"), "x");
    EXPECT_FALSE(ini.hasKey("Station", "Destination"));
    EXPECT_FALSE(ini.hasSection("Other"));
}

TEST(IniFile, NewFileKeepsWriteOrderAndUsesCrlf) {
    IniFile ini;
    ini.writeString("TNC Commands", "Command", "$03");
    ini.writeString("TNC Commands", "Cmd-Prompt", "cmd:");
    ini.writeInteger("KISS Commands", "Exit Kiss1", 192);
    ini.writeBool("KISS Commands", "UseKISS", true);
    ini.writeInteger("Form", "Left", -4);
    ini.writeString("TNC Commands", "SendPac", "$0D"); // goes into its own section
    EXPECT_EQ(ini.toBytes(), QByteArray("[TNC Commands]\r\n"
                                        "Command=$03\r\n"
                                        "Cmd-Prompt=cmd:\r\n"
                                        "SendPac=$0D\r\n"
                                        "\r\n"
                                        "[KISS Commands]\r\n"
                                        "Exit Kiss1=192\r\n"
                                        "UseKISS=1\r\n"
                                        "\r\n"
                                        "[Form]\r\n"
                                        "Left=-4\r\n"));
    EXPECT_EQ(ini.sections(), QStringList({"TNC Commands", "KISS Commands", "Form"}));
    EXPECT_EQ(ini.keys("tnc commands"), QStringList({"Command", "Cmd-Prompt", "SendPac"}));
}

TEST(IniFile, NamesMatchWithoutCaseAndKeepTheirSpelling) {
    IniFile ini;
    ini.parse("[Weather Data]\nMetric=1\n");
    EXPECT_TRUE(ini.readBool("WEATHER DATA", "metric", false));
    EXPECT_TRUE(ini.hasSection("weather data"));
    EXPECT_TRUE(ini.hasKey("weather DATA", "METRIC"));
    ini.writeBool("weather data", "METRIC", false);
    ini.writeString("WEATHER data", "Extra", "x");
    EXPECT_EQ(ini.toBytes(), QByteArray("[Weather Data]\r\nMetric=0\r\nExtra=x\r\n"));
}

TEST(IniFile, WritingOneKeyLeavesEveryOtherLineAlone) {
    const QByteArray before = "; written by hand\n"
                              "[Station]\n"
                              "MyCall=G4ABC\n"
                              "; keep this note\n"
                              "stray line without equals\n"
                              "Destination=APRS\n"
                              "\n"
                              "[Timers]\n"
                              "T1=30\n";
    IniFile ini;
    ini.parse(before);
    ini.writeString("Station", "Destination", "CQ");
    ini.writeString("Station", "Wx Dest", "WX");
    EXPECT_EQ(ini.toBytes(), QByteArray("; written by hand\r\n"
                                        "[Station]\r\n"
                                        "MyCall=G4ABC\r\n"
                                        "; keep this note\r\n"
                                        "stray line without equals\r\n"
                                        "Destination=CQ\r\n"
                                        "Wx Dest=WX\r\n"
                                        "\r\n"
                                        "[Timers]\r\n"
                                        "T1=30\r\n"));
    EXPECT_EQ(ini.keys("Station"), QStringList({"MyCall", "Destination", "Wx Dest"}));
    EXPECT_EQ(ini.readString("Station", "; keep this note", "d"), "d");
    EXPECT_EQ(ini.readString("Station", "stray line without equals", "d"), "d");
}

TEST(IniFile, LfAndCrlfFilesReadAlikeAndBlanksAreTrimmed) {
    for (const QByteArray& eol : {QByteArray("\n"), QByteArray("\r\n")}) {
        IniFile ini;
        ini.parse("  [ Object ]  " + eol + "   Map  =  /maps/my map.gif \t" + eol + "Date=hhmm" +
                  eol + "Empty=" + eol + "Last=no line end");
        EXPECT_EQ(ini.readString("Object", "Map", ""), "/maps/my map.gif");
        EXPECT_EQ(ini.readString("Object", "Date", ""), "hhmm");
        EXPECT_EQ(ini.readString("Object", "Empty", "default"), "");
        EXPECT_TRUE(ini.hasKey("Object", "Empty"));
        EXPECT_EQ(ini.readString("Object", "Last", ""), "no line end");
    }
}

TEST(IniFile, FileSavedAsUtf8WithByteOrderMarkKeepsItsFirstSection) {
    IniFile ini;
    ini.parse(
        "\xEF\xBB\xBF[Station]\r\nMyCall=G4ABC-1\r\n[Object]\r\nMap=/maps/Bri\xC3\xA8re.gif\r\n");
    EXPECT_EQ(ini.readString("Station", "MyCall", ""), "G4ABC-1");
    EXPECT_EQ(ini.readString("Object", "Map", ""), QString::fromUtf8("/maps/Bri\xC3\xA8re.gif"));
    EXPECT_EQ(ini.sections(), QStringList({"Station", "Object"}));
    // Written back as it was read: an editor's or a user's choice of UTF-8 stays.
    EXPECT_EQ(ini.toBytes(), QByteArray("\xEF\xBB\xBF[Station]\r\nMyCall=G4ABC-1\r\n[Object]\r\n"
                                        "Map=/maps/Bri\xC3\xA8re.gif\r\n"));
}

TEST(IniFile, FirstOfRepeatedKeysAndSectionsWins) {
    IniFile ini;
    ini.parse("[A]\nk=1\nK=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
    EXPECT_EQ(ini.readInteger("A", "k", 0), 1);
    EXPECT_EQ(ini.readInteger("A", "j", 0), 0);
    EXPECT_EQ(ini.sections(), QStringList({"A", "B"}));
    ini.writeInteger("a", "K", 9);
    EXPECT_EQ(ini.readInteger("A", "k", 0), 9);
    EXPECT_TRUE(ini.toBytes().startsWith("[A]\r\nk=9\r\nK=2\r\n"));
}

TEST(IniFile, IntegerEncodings) {
    struct Row {
        const char* value;
        int expected;
    };
    const Row rows[] = {
        {"27", 27},
        {"-1", -1},
        {"$1B", 27},
        {"$1b", 27},
        {"0x1B", 27},
        {"0X1b", 27},
        {" 42 ", 42},
        {"0x", 7},
        {"$", 7},
        {"abc", 7},
        {"", 7},
        {"12abc", 7},
        {"1.5", 7},
        {"0", 0},
        {"00", 0},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"2147483648", 7},
        {"0xG", 7},
    };
    for (const Row& r : rows) {
        IniFile ini;
        ini.parse(QByteArray("[S]\nk=") + r.value + "\n");
        EXPECT_EQ(ini.readInteger("S", "k", 7), r.expected) << r.value;
    }
}

TEST(IniFile, BooleansReadAsIntegers) {
    struct Row {
        const char* value;
        bool defaultValue;
        bool expected;
    };
    const Row rows[] = {
        {"1", false, true},  {"0", true, false},    {"2", false, true},  {"-1", false, true},
        {"$0", true, false}, {"yes", false, false}, {"yes", true, true}, {"", true, true},
    };
    for (const Row& r : rows) {
        IniFile ini;
        ini.parse(QByteArray("[S]\nk=") + r.value + "\n");
        EXPECT_EQ(ini.readBool("S", "k", r.defaultValue), r.expected) << r.value;
    }
}

TEST(IniFile, LongStringsAreCutTo1023OnReading) {
    QTemporaryDir dir;
    const QString path = dir.filePath("long.ini");
    const QString longValue = QString(1500, QLatin1Char('x')) + QLatin1Char('y');
    IniFile ini;
    ini.writeString("S", "k", longValue);
    ini.writeString("S", "exact", QString(1023, QLatin1Char('z')));
    ASSERT_TRUE(ini.save(path));
    EXPECT_TRUE(readAll(path).contains(QByteArray(1500, 'x') + 'y'));

    IniFile again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(again.readString("S", "k", ""), QString(1023, QLatin1Char('x')));
    EXPECT_EQ(again.readString("S", "exact", "").size(), 1023);
}

TEST(IniFile, TextIsWindows1252OnDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cp.ini");
    IniFile ini;
    ini.writeString("Object", "Comment", QString::fromUtf8("Café €5 ± 2° ?"));
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(readAll(path), QByteArray("[Object]\r\nComment=Caf\xE9 \x80"
                                        "5 \xB1 2\xB0 ?\r\n"));

    writeAll(path, "[Obj\xE9t]\r\nName=\xC5ngstr\xF6m \x99\r\n");
    IniFile back;
    ASSERT_TRUE(back.load(path));
    EXPECT_EQ(back.readString(QString::fromUtf8("OBJÉT"), "name", ""),
              QString::fromUtf8("Ångström ™"));
}

// A path or text Windows-1252 has no byte for must not come back as "?????": such a file is
// written as UTF-8 with a byte order mark, and once UTF-8 it stays so.
TEST(IniFile, TextWindows1252CannotHoldIsKeptAsUtf8) {
    QTemporaryDir dir;
    const QString path = dir.filePath("utf8.ini");
    const QString map = QString::fromUtf8("/home/op/Карты/Μάρκος Łódź 日本/map.jpg");
    IniFile ini;
    ini.writeString("Object", "Map", map);
    ini.writeString("Object", "Comment", QString::fromUtf8("Café €5"));
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(readAll(path), QByteArray("\xEF\xBB\xBF[Object]\r\nMap=") + map.toUtf8() +
                                 QByteArray("\r\nComment=Caf\xC3\xA9 \xE2\x82\xAC"
                                            "5\r\n"));

    IniFile back;
    ASSERT_TRUE(back.load(path));
    EXPECT_EQ(back.readString("Object", "Map", ""), map);
    EXPECT_EQ(back.readString("Object", "Comment", ""), QString::fromUtf8("Café €5"));
    back.writeString("Object", "Map", "/maps/plain.gif");
    ASSERT_TRUE(back.save(path));
    EXPECT_TRUE(readAll(path).startsWith("\xEF\xBB\xBF[Object]\r\nMap=/maps/plain.gif\r\n"
                                         "Comment=Caf\xC3\xA9"));
}

TEST(IniFile, LineBreaksInAValueCannotCorruptTheFile) {
    IniFile ini;
    ini.writeString("S", "Comment", "first\r\nsecond\n[Evil]\rk=v");
    ini.writeString("S", "After", "ok");
    IniFile back;
    back.parse(ini.toBytes());
    EXPECT_FALSE(back.hasSection("Evil"));
    EXPECT_EQ(back.readString("S", "Comment", ""), "first second [Evil] k=v");
    EXPECT_EQ(back.readString("S", "After", ""), "ok");
}

TEST(IniFile, SaveAndLoadRoundTrip) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skyvane.ini");
    IniFile ini;
    ini.writeString("Station", "MyCall", "G4ABC-9");
    ini.writeString("Station", "Header", "RELAY, WIDE");
    ini.writeInteger("Timers", "T1", 120);
    ini.writeBool("Form", "Hints", false);
    ASSERT_TRUE(ini.save(path)) << ini.errorString().toStdString();

    IniFile back;
    ASSERT_TRUE(back.load(path));
    EXPECT_EQ(back.readString("station", "mycall", ""), "G4ABC-9");
    EXPECT_EQ(back.readString("Station", "Header", ""), "RELAY, WIDE");
    EXPECT_EQ(back.readInteger("Timers", "T1", 0), 120);
    EXPECT_FALSE(back.readBool("Form", "Hints", true));
    EXPECT_EQ(back.toBytes(), readAll(path));

    // Loading again forgets what was there before.
    writeAll(path, "[Other]\nx=1\n");
    ASSERT_TRUE(back.load(path));
    EXPECT_FALSE(back.hasSection("Station"));
    EXPECT_EQ(back.sections(), QStringList({"Other"}));
}

TEST(IniFile, RemovingKeysAndSections) {
    IniFile ini;
    ini.parse("[A]\nx=1\ny=2\n[B]\nz=3\n");
    ini.removeKey("a", "X");
    ini.removeSection("b");
    EXPECT_EQ(ini.toBytes(), QByteArray("[A]\r\ny=2\r\n"));
}

TEST(IniFile, UnreadableFileIsAnErrorNotAnEmptyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    IniFile ini;
    ini.parse("[Left]\nover=1\n");
    EXPECT_FALSE(ini.load(path));
    EXPECT_TRUE(ini.errorString().contains(path)) << ini.errorString().toStdString();
    EXPECT_FALSE(ini.hasSection("Left"));
}

TEST(IniFile, FailedSaveNamesThePathAndLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    IniFile ini;
    ini.writeString("Station", "MyCall", "NEW");

    // A folder that cannot be created.
    const QString noFolder = dir.filePath("missing/sub/skyvane.ini");
    EXPECT_FALSE(ini.save(noFolder));
    EXPECT_TRUE(ini.errorString().contains(noFolder)) << ini.errorString().toStdString();
    EXPECT_FALSE(QFile::exists(noFolder));

    // A folder standing where the file must go keeps its contents.
    const QString folder = dir.filePath("taken.ini");
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken.ini"));
    writeAll(folder + "/inside.txt", "keep");
    EXPECT_FALSE(ini.save(folder));
    EXPECT_TRUE(ini.errorString().contains(folder));
    EXPECT_EQ(readAll(folder + "/inside.txt"), QByteArray("keep"));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.ini*"}, QDir::Files).isEmpty())
        << "no temporary file may be left behind";

    // A path that the kernel refuses to create files in.
    EXPECT_FALSE(ini.save("/proc/skyvane-test.ini"));
    EXPECT_TRUE(ini.errorString().contains("/proc/skyvane-test.ini"));
}

TEST(IniFile, SaveReplacesTheWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("objects.obd");
    writeAll(path, QByteArray(5000, 'x'));
    IniFile ini;
    ini.writeString("Map", "Title", "short");
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(readAll(path), QByteArray("[Map]\r\nTitle=short\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"objects.obd"}));
}

TEST(IniFile, WriteFailingHalfwayLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skyvane.ini");
    const QByteArray old = "[Station]\r\nMyCall=G4ABC-9\r\n";
    writeAll(path, old);

    IniFile ini;
    ini.writeString("Station", "MyCall", "NEW");
    for (int i = 0; i < 200; ++i)
        ini.writeString("Bulk", QStringLiteral("Key%1").arg(i), QString(100, QLatin1Char('v')));

    // Files may grow to 4 KiB only, so the write of the new contents fails part way, as on a
    // full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = ini.save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_TRUE(ini.errorString().contains(path)) << ini.errorString().toStdString();
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"skyvane.ini"}));
}
