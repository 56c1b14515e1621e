// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ReferencePoints.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using ReferencePoints::Point;

namespace {

constexpr double Minute = 1.0 / 60;

MapCalibration readBack(const QByteArray& bytes, QSize picture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("map.inf");
    QString message;
    EXPECT_TRUE(ReferencePoints::writeCalibrationFile(path, bytes, &message))
        << message.toStdString();
    MapCalibration c = readCalibrationFile(path);
    applyPictureSize(c, picture.width(), picture.height());
    return c;
}

} // namespace

TEST(ReferencePoints, PositionsAreReadInTheCalibrationFilesFormOrInDecimalDegrees) {
    const struct {
        const char* text;
        bool latitude;
        std::optional<double> degrees;
        const char* why;
    } cases[] = {
        {"51.30.00N", true, 51.5, ""},
        {" 51.30n ", true, 51.5, ""},
        {"51.30.5N", true, 51 + 30.5 * Minute, ""},
        {"51N", true, 51.0, ""},
        {"00.00.50S", true, -0.5 * Minute, ""},
        {"51.5", true, 51.5, ""},
        {"-0.75", false, -0.75, ""},
        {"+12.25", false, 12.25, ""},
        {"000.45.00W", false, -0.75, ""},
        {"179.30.00E", false, 179.5, ""},
        {"", true, std::nullopt, "nothing is typed"},
        {"51,5", true, std::nullopt, "not a comma"},
        {"51.5N", true, std::nullopt, "minutes \"5\" are not two digits"},
        {"51.60.00N", true, std::nullopt, "below 60"},
        {"91", true, std::nullopt, "more than 90"},
        {"5130.00N", true, std::nullopt, "more than 90"},
        {"000.45.00W", true, std::nullopt, "ends in N or S"},
        {"51.30.00N", false, std::nullopt, "ends in E or W"},
        {"181", false, std::nullopt, "more than 180"},
        {"north", true, std::nullopt, "neither"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QString why;
        const QString text = QString::fromLatin1(c.text);
        const std::optional<double> read = c.latitude ? ReferencePoints::readLatitude(text, &why)
                                                      : ReferencePoints::readLongitude(text, &why);
        ASSERT_EQ(read.has_value(), c.degrees.has_value()) << why.toStdString();
        if (read) {
            EXPECT_NEAR(*read, *c.degrees, 1e-12);
        } else {
            EXPECT_TRUE(why.contains(QString::fromLatin1(c.why))) << why.toStdString();
        }
    }
}

TEST(ReferencePoints, CornersAreWrittenAsCalibrationFilesWriteThem) {
    const struct {
        MapCorners corners;
        QString title;
        QByteArray bytes;
    } cases[] = {
        // Across the 180th meridian: the right-hand corner lies west.
        {{10 + 20 * Minute, 179, 8 + 40 * Minute, 181},
         "Pacific",
         "10.20.00N, 179.00.00E\r\n08.40.00N, 179.00.00W\r\nPacific\r\n"},
        {{51.123456, -0.000001, -0.5, 0.25},
         "Caf\u00e9",
         "51.07.4074N, 000.00.0001W\r\n00.30.00S, 000.15.00E\r\nCaf\xe9\r\n"},
        // A minute that rounds up carries into the degrees.
        {{50.99999999, 1.9999999, 50, 3},
         "  Tabs\tand spaces  ",
         "51.00.00N, 002.00.00E\r\n50.00.00N, 003.00.00E\r\nTabs and spaces\r\n"},
        {{1, 1, 0, 2},
         "\u0391\u03b8\u03ae\u03bd\u03b1",
         "\xEF\xBB\xBF"
         "01.00.00N, 001.00.00E\r\n00.00.00N, 002.00.00E\r\n"
         "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const QByteArray bytes = ReferencePoints::calibrationFileBytes(c.corners, c.title);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(readBack(bytes, {100, 100}).MapTitle, c.title.simplified());
    }
}

TEST(ReferencePoints, PointsThatCannotCalibrateAPictureAreRefusedSayingWhy) {
    const QSize picture(1200, 640);
    const QPoint a(100, 160);
    const QPoint b(700, 480);
    const struct {
        Point first, second;
        const char* says;
    } cases[] = {
        {{a, "51.15N", "0.15.00W"},
         {a, "50.45N", "001.15E"},
         "too close together: they are 0 pixels apart across and 0 up and down, and must be at "
         "least 100 across and 100 up and down"},
        {{a, "51.15N", "000.15W"},
         {QPoint(150, 480), "50.45N", "001.15E"},
         "50 pixels apart across and 320"},
        {{a, "51.15N", "000.15W"},
         {std::nullopt, "50.45N", "001.15E"},
         "Click on the map to place point 2 first."},
        {{a, "51.15N", "000.15W"},
         {b, "50,75", "001.15E"},
         "The latitude of point 2 (\"50,75\") cannot be read: a full stop"},
        {{a, "51.15N", "E 0.25"},
         {b, "50.45N", "001.15E"},
         "The longitude of point 1 (\"E 0.25\") cannot be read"},
        {{a, "50.45N", "000.15W"}, {b, "51.15N", "001.15E"}, "The latitudes do not fit"},
        {{a, "51.15N", "001.15E"}, {b, "50.45N", "000.15W"}, "The longitudes do not fit"},
        {{a, "89.45N", "000.15W"}, {b, "88.45N", "001.15E"}, "beyond a pole"},
        {{a, "51.15N", "-170"}, {b, "50.45N", "170"}, "wider than the globe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const ReferencePoints::Outcome out = ReferencePoints::solve({c.first, c.second}, picture);
        EXPECT_TRUE(out.error.contains(QString::fromLatin1(c.says))) << out.error.toStdString();
    }
    // A small picture cannot have points 100 pixels apart; half its size will do.
    EXPECT_EQ(ReferencePoints::minimumApart({120, 60}), QSize(60, 30));
}

TEST(ReferencePoints, AFolderThatCannotBeWrittenIsNamedAndAnOldFileStaysWhole) {
    QTemporaryDir dir;
    const QString gone = dir.filePath("gone/map.inf");
    QString message;
    EXPECT_FALSE(ReferencePoints::writeCalibrationFile(gone, "x", &message));
    EXPECT_TRUE(message.contains("Unable to write the calibration file " + gone))
        << message.toStdString();
    EXPECT_TRUE(message.contains("the folder " + dir.filePath("gone") + " cannot be written"))
        << message.toStdString();

    // A folder standing where the file must go: the write fails and leaves it be.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.inf"));
    EXPECT_FALSE(ReferencePoints::writeCalibrationFile(dir.filePath("taken.inf"), "x", &message));
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.inf")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}
