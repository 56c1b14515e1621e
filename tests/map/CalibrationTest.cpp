// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/Calibration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

MapCalibration calibrate(const QString& line1, const QString& line2, int width = 400,
                         int height = 320) {
    MapCalibration c = parseCalibration({line1, line2, "Test map"}, "test.inf");
    applyPictureSize(c, width, height);
    return c;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The message of the error parsing these lines throws, or "" when none is thrown.
QString errorOf(const QStringList& lines) {
    try {
        parseCalibration(lines, "/maps/town.inf");
    } catch (const CalibrationError& e) {
        EXPECT_EQ(e.kind(), CalibrationError::Kind::Invalid);
        return e.message();
    }
    return {};
}

} // namespace

TEST(Calibration, WestToEastMapOfTheExample) {
    for (const auto& [l1, l2] :
         {std::pair{"51.30.00N, 000.45.00W", "51.10.00N, 000.05.00E"},
          std::pair{"000.45.00W, 51.30.00N", "000.05.00E, 51.10.00N"},
          std::pair{"000.45.00W,51.30.00N", "51.10.00N ,  000.05.00E"},
          std::pair{" \t51.30.00n, 000.45.00w\r", "51.10.00N, 000.05.00E"}}) {
        SCOPED_TRACE(l1);
        const MapCalibration c = calibrate(l1, l2);
        EXPECT_DOUBLE_EQ(c.TopLatitude, 3090);
        EXPECT_DOUBLE_EQ(c.BottomLatitude, 3070);
        EXPECT_DOUBLE_EQ(c.LatitudeSpan, 20);
        EXPECT_DOUBLE_EQ(c.LatitudePerPixel, 0.0625);
        EXPECT_DOUBLE_EQ(c.LeftLongitude, 45);
        EXPECT_DOUBLE_EQ(c.RightLongitude, 5);
        EXPECT_DOUBLE_EQ(c.LongitudeSpan, 50);
        EXPECT_DOUBLE_EQ(c.LongitudePerPixel, 0.125);
        EXPECT_EQ(c.TopHemisphere, QLatin1Char('N'));
        EXPECT_EQ(c.BottomHemisphere, QLatin1Char('N'));
        EXPECT_EQ(c.LeftHemisphere, QLatin1Char('W'));
        EXPECT_EQ(c.RightHemisphere, QLatin1Char('E'));
        EXPECT_EQ(c.MapTitle, "Test map");
    }
}

TEST(Calibration, SpansAcrossEquatorAndMeridians) {
    struct Row {
        const char* line1;
        const char* line2;
        double latitudeSpan;
        double longitudeSpan;
    };
    const Row rows[] = {
        {"51.30.00N, 010.00.00E", "51.10.00N, 012.00.00E", 20, -120}, // both east
        {"10.00.00N, 179.00.00E", "09.00.00N, 179.00.00W", 60, -120}, // across 180 degrees
        {"00.30.00N, 001.00.00W", "00.30.00S, 000.30.00W", 60, 30},   // across the equator
        {"33.50.00S, 151.10.00E", "34.00.00S, 151.20.00E", -10, -10}, // southern map
        {"51.30.25N, 000.07.50W", "51.29.75N, 000.06.50W", 0.5, 1},   // fractions of minutes
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line1);
        const MapCalibration c = calibrate(r.line1, r.line2, 100, 50);
        EXPECT_DOUBLE_EQ(c.LatitudeSpan, r.latitudeSpan);
        EXPECT_DOUBLE_EQ(c.LongitudeSpan, r.longitudeSpan);
        EXPECT_DOUBLE_EQ(c.LatitudePerPixel, r.latitudeSpan / 50);
        EXPECT_DOUBLE_EQ(c.LongitudePerPixel, r.longitudeSpan / 100);
    }
}

TEST(Calibration, UnknownHemispherePairKeepsThePreviousSpan) {
    MapCalibration c;
    c.LeftLongitude = 45;
    c.RightLongitude = 5;
    c.LeftHemisphere = QLatin1Char('W');
    c.RightHemisphere = QChar();
    applyPictureSize(c, 10, 10, 77);
    EXPECT_DOUBLE_EQ(c.LongitudeSpan, 77);
    EXPECT_DOUBLE_EQ(c.LongitudePerPixel, 7.7);
    // A picture without pixels gives no infinities.
    applyPictureSize(c, 0, 0, 77);
    EXPECT_DOUBLE_EQ(c.LongitudePerPixel, 0);
    EXPECT_DOUBLE_EQ(c.LatitudePerPixel, 0);
}

TEST(Calibration, DegreesWithOtherDigitCounts) {
    // Minutes run to the hemisphere letter however many digits the degrees have.
    MapCalibration c = parseCalibration({"5.30.25N, 1.20.55W", "5.10.75N, 0.59.5E"}, "x.inf");
    EXPECT_DOUBLE_EQ(c.TopLatitude, 330.25);
    EXPECT_DOUBLE_EQ(c.LeftLongitude, 80.55);
    EXPECT_DOUBLE_EQ(c.BottomLatitude, 310.75);
    EXPECT_DOUBLE_EQ(c.RightLongitude, 59.5);
    c = parseCalibration({"051.30N, 0000.45.5W", "051.10N, 0000.05.5E"}, "x.inf");
    EXPECT_DOUBLE_EQ(c.TopLatitude, 3090);
    EXPECT_DOUBLE_EQ(c.LeftLongitude, 45.5);
    EXPECT_DOUBLE_EQ(c.RightLongitude, 5.5);
}

TEST(Calibration, BadValuesNameFileLineAndText) {
    struct Row {
        QStringList lines;
        const char* mustContain;
    };
    const Row rows[] = {
        {{"51.3x.00N, 000.45.00W", "51.10.00N, 000.05.00E"}, "line 1 (\"51.3x.00N\")"},
        {{"51.30.00N, 000.45.00W", "5a.10.00N, 000.05.00E"}, "line 2 (\"5a.10.00N\")"},
        {{"51.30.00N, 000.45.00W", "51.10.00N, 000.05.00"}, "must end in E or W"},
        {{"51.30.00N, 000.45.00W", "51.10.00N 000.05.00E"}, "a comma"},
        {{"51.30.00N, 000.45.00W"}, "line 2"},
        {{}, "line 1"},
        {{"5130.00N, 000.45.00W", "51.10.00N, 000.05.00E"}, "90 degrees"},
        {{"51N, 000.45.00W", "51.10.00N, 000.05.00E"}, "full stop"},
        {{"51.30.00N, 000.45.00W", "5.10.00N, 000.05.00E"}, "as many digits as in line 1"},
        {{"51.30.00N, 000.45.00W", "51.10.00N, 00.05.00E"}, "as many digits as in line 1"},
        {{"51.30.00N,", "51.10.00N, 000.05.00E"}, "longitude is missing"},
        {{"51.30.00N, -00.45.00W", "51.10.00N, 000.05.00E"}, "not a valid number"},
        {{"51.75.00N, 000.45.00W", "51.10.00N, 000.05.00E"}, "below 60"},
        {{"91.00.00N, 000.45.00W", "51.10.00N, 000.05.00E"}, "90 degrees"},
        {{"51.30.00N, 181.00.00W", "51.10.00N, 000.05.00E"}, "180 degrees"},
        {{"51.30.00N, 000.45.00W", "51.10.00N, 000..05.00E"}, "the minutes \".05.00\""},
        {{"51.30.00N, 000.45.00W", "1"}, "line 2"},
        {{"51.30.00N, 000.45.00W", "51.10.0 0N, 000.05.00E"}, "the minutes \"10.0 0\""},
        {{"\u0665\u0661.30.00N, 000.45.00W", "51.10.00N, 000.05.00E"}, "the degrees"},
        {{"51.30.00N, 000.45.00W", "51.+10.00N, 000.05.00E"}, "the minutes \"+10.00\""},
    };
    for (const Row& r : rows) {
        const QString message = errorOf(r.lines);
        SCOPED_TRACE(message.toStdString());
        EXPECT_TRUE(message.contains("/maps/town.inf"));
        EXPECT_TRUE(message.contains(r.mustContain)) << r.mustContain;
    }
}

TEST(Calibration, ReadsTheFileFromDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("town.inf");
    writeFile(path,
              "51.30.00N, 000.45.00W\r\n51.10.00N, 000.05.00E\r\n  Caf\xE9 map  \r\nmore\r\n");
    MapCalibration c = readCalibrationFile(path);
    EXPECT_DOUBLE_EQ(c.TopLatitude, 3090);
    EXPECT_DOUBLE_EQ(c.RightLongitude, 5);
    EXPECT_EQ(c.MapTitle, QString::fromUtf8("Café map"));

    // UTF-8 with a byte order mark, LF line ends and no title line.
    writeFile(path, "\xEF\xBB\xBF"
                    "51.30.00N, 000.45.00W\n51.10.00N, 000.05.00E\n");
    c = readCalibrationFile(path);
    EXPECT_DOUBLE_EQ(c.TopLatitude, 3090);
    EXPECT_EQ(c.MapTitle, "");

    writeFile(path, "51.30.00N, 000.45.00W\n51.10.00N; 000.05.00E\nTitle\n");
    try {
        readCalibrationFile(path);
        FAIL() << "no error for a line without a comma";
    } catch (const CalibrationError& e) {
        EXPECT_EQ(e.kind(), CalibrationError::Kind::Invalid);
        EXPECT_TRUE(e.message().contains(path + " cannot be used: line 2"))
            << e.message().toStdString();
    }
}

TEST(Calibration, UnreadableFileIsReportedAsSuch) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.inf"));
    for (const QString& path : {dir.filePath("missing.inf"), dir.filePath("folder.inf")}) {
        try {
            readCalibrationFile(path);
            FAIL() << "no error for " << path.toStdString();
        } catch (const CalibrationError& e) {
            EXPECT_EQ(e.kind(), CalibrationError::Kind::Unreadable);
            EXPECT_TRUE(e.message().contains(path));
        }
    }
}

TEST(Calibration, BinaryGarbageIsAnErrorNotACrash) {
    QTemporaryDir dir;
    const QString path = dir.filePath("garbage.inf");
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += char((i * 7919) & 0xFF);
    writeFile(path, bytes);
    EXPECT_THROW(readCalibrationFile(path), CalibrationError);
}
