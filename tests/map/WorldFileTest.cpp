// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/WorldFile.h"
#include "map/CalibrationSource.h"
#include "map/PositionText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// 1/256 of a degree a pixel, the top-left pixel's middle at 51.5N 0.5W.
const QStringList Chart = {"0.00390625", "0", "0", "-0.00390625", "-0.5", "51.5"};

QString errorOf(const QStringList& lines, QSize picture = {400, 300}) {
    try {
        WorldFile::parse(lines, picture, "/maps/chart.pgw", "chart.png");
    } catch (const CalibrationError& e) {
        EXPECT_EQ(e.kind(), CalibrationError::Kind::Invalid);
        return e.message();
    }
    return {};
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// Each pixel reads the position the world file gives its middle (the window's test goes through
// a table of pixels); across the 180th meridian and south of the equator too.
TEST(WorldFile, PixelsAcrossThe180thMeridianAndSouthReadThePositionsItGives) {
    MapCalibration pacific = WorldFile::parse(
        {"1.0E-2", "0.0", "0.0", "-1.0E-2", "179.5", "-10.0", ""}, {100, 100}, "p.wld", "p");
    applyPictureSize(pacific, 100, 100);
    EXPECT_EQ(positionAt(pacific, 20, 50).longitude, "17942.00E");
    EXPECT_EQ(positionAt(pacific, 80, 50).longitude, "17942.00W");
    EXPECT_EQ(positionAt(pacific, 0, 50).latitude, "1030.00S");
}

TEST(WorldFile, WorldFilesThatCannotBeUsedAreRefusedSayingWhatTheyHold) {
    const struct {
        QStringList lines;
        const char* says;
    } cases[] = {
        {{"0.0039", "0.0001", "0.0002", "-0.0039", "-0.5", "51.5"},
         "rotated picture (rotation terms 0.0001 and 0.0002)"},
        {{"25", "0", "0", "-25", "530000", "180000"}, "not degrees of longitude and latitude"},
        {{"0.0039", "0", "0", "0.0039", "-0.5", "51.5"}, "not north up"},
        {{"0.0039", "0", "0", "-0.0039", "-0.5"}, "it holds 5 numbers where a world file has six"},
        {{"0,0039", "0", "0", "-0,0039", "-0,5", "51,5"}, "line 1 (\"0,0039\") is not a number"},
        {{"1", "0", "0", "-1", "-0.5", "51.5"}, "not degrees"}, // 300 degrees down from 51.5N
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const QString message = errorOf(c.lines);
        EXPECT_TRUE(message.startsWith("The world file /maps/chart.pgw cannot be used: "))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
    }
}

TEST(WorldFile, TheCalibrationFileWinsAndTheWorldFileGoingWithThePictureComesFirst) {
    QTemporaryDir dir;
    const QString picture = dir.filePath("chart.png");
    EXPECT_FALSE(findCalibration(picture).found());
    write(dir.filePath("chart.wld"), Chart.join("\n").toLatin1());
    EXPECT_EQ(findCalibration(picture).path, dir.filePath("chart.wld"));
    write(dir.filePath("chart.PGW"), Chart.join("\r\n").toLatin1() + "\r\n");
    EXPECT_EQ(findCalibration(picture).kind, CalibrationSource::Kind::WorldFile);
    EXPECT_EQ(findCalibration(picture).path, dir.filePath("chart.PGW"));
    const MapCalibration fromWorld = readMapCalibration(picture, {400, 300});
    EXPECT_DOUBLE_EQ(fromWorld.LatitudePerPixel, 60.0 / 256);

    write(dir.filePath("chart.inf"), "51.00.00N, 001.00.00W\r\n50.00.00N, 001.00.00E\r\nInf\r\n");
    EXPECT_EQ(findCalibration(picture).kind, CalibrationSource::Kind::CalibrationFile);
    const MapCalibration fromInf = readMapCalibration(picture, {400, 300});
    EXPECT_EQ(fromInf.MapTitle, "Inf");
    EXPECT_DOUBLE_EQ(fromInf.LatitudePerPixel, 60.0 / 300);

    try {
        readMapCalibration(dir.filePath("nothing.png"), {10, 10});
        ADD_FAILURE() << "a picture with no calibration was calibrated";
    } catch (const CalibrationError& e) {
        EXPECT_EQ(e.kind(), CalibrationError::Kind::Unreadable);
    }
}
