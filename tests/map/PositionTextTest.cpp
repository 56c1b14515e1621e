// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PositionText.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace {

MapCalibration calibration(const char* line1, const char* line2, int width, int height) {
    MapCalibration c = parseCalibration({line1, line2}, "test.inf");
    applyPictureSize(c, width, height);
    return c;
}

MapCalibration exampleMap() {
    return calibration("51.30.00N, 000.45.00W", "51.10.00N, 000.05.00E", 400, 320);
}

} // namespace

TEST(PositionText, PointerOnTheExampleMap) {
    struct Row {
        double x, y;
        const char* latitude;
        const char* longitude;
        const char* latitudeDisplay;
        const char* longitudeDisplay;
    };
    const Row rows[] = {
        {0, 0, "5130.00N", "00045.00W", "51.30.00N", "000.45.00W"},
        {240, 240, "5115.00N", "00015.00W", "51.15.00N", "000.15.00W"},
        {360, 0, "5130.00N", "00000.00W", "51.30.00N", "000.00.00W"},
        {380, 0, "5130.00N", "00002.50E", "51.30.00N", "000.02.50E"}, // past the meridian
        {400, 320, "5110.00N", "00005.00E", "51.10.00N", "000.05.00E"},
        {1, 1, "5129.93N", "00044.87W", "51.29.93N", "000.44.87W"}, // cut, not rounded
    };
    const MapCalibration c = exampleMap();
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        const MapPosition p = positionAt(c, r.x, r.y);
        EXPECT_EQ(p.latitude, r.latitude);
        EXPECT_EQ(p.longitude, r.longitude);
        EXPECT_EQ(p.latitudeDisplay, r.latitudeDisplay);
        EXPECT_EQ(p.longitudeDisplay, r.longitudeDisplay);
        EXPECT_EQ(p.readout, QStringLiteral("  ") + r.latitudeDisplay + "   " + r.longitudeDisplay);
        EXPECT_EQ(p.latitude.size(), 8);
        EXPECT_EQ(p.longitude.size(), 9);
    }
}

TEST(PositionText, TextRules) {
    MapCalibration c = exampleMap();

    // Exactly 51 degrees 20 minutes, reached through the division by 60, is cut to 19.99.
    c.TopLatitude = 3080;
    EXPECT_EQ(positionAt(c, 0, 0).latitudeDisplay, "51.19.99N");

    // Whole minutes keep ".00"; single-digit degrees and minutes are padded.
    c.TopLatitude = 183;
    c.LeftLongitude = 3;
    EXPECT_EQ(positionAt(c, 0, 0).latitudeDisplay, "03.03.00N");
    EXPECT_EQ(positionAt(c, 0, 0).longitudeDisplay, "000.03.00W");
    c.LeftLongitude = 10 * 60 + 7.5;
    EXPECT_EQ(positionAt(c, 0, 0).longitude, "01007.50W");
    c.LeftLongitude = 123 * 60 + 59.99;
    EXPECT_EQ(positionAt(c, 0, 0).longitude, "12359.98W"); // cut from 59.98999...

    // Half a minute south of the equator.
    c.TopLatitude = 30;
    c.LatitudePerPixel = 0.5;
    EXPECT_EQ(positionAt(c, 0, 61).latitudeDisplay, "00.00.50S");
    EXPECT_EQ(positionAt(c, 0, 61).latitude, "0000.50S");

    // A fraction of a degree that its 15-digit text rounds up to a whole degree reads as
    // that whole degree, not as a degree less with no minutes.
    c.TopLatitude = 3119.9999999999995;
    c.LatitudePerPixel = 0;
    EXPECT_EQ(positionAt(c, 0, 0).latitudeDisplay, "52.00.00N");

    // A point a hair away from the meridian, written in scientific form.
    c.LeftLongitude = 0.00006;
    c.LongitudePerPixel = 0;
    EXPECT_EQ(positionAt(c, 0, 0).longitudeDisplay, "000.00.00W");
}

namespace {

// Signed minutes (north and east positive) that a position text stands for.
double signedMinutes(const QString& text, int degreeDigits) {
    const double minutes =
        text.left(degreeDigits).toInt() * 60 + text.mid(degreeDigits, 5).toDouble();
    const QChar letter = text.back();
    return letter == QLatin1Char('S') || letter == QLatin1Char('W') ? -minutes : minutes;
}

} // namespace

// Near the equator and the meridian a division leaves residues such as 1.18E-16 degrees;
// their scientific form must never reach a position text.
TEST(PositionText, BesideTheEquatorAndTheMeridian) {
    const QRegularExpression latitudeForm(QStringLiteral("^[0-9]{4}\\.[0-9]{2}[NS]$"));
    const QRegularExpression longitudeForm(QStringLiteral("^[0-9]{5}\\.[0-9]{2}[EW]$"));
    const struct {
        const char* line1;
        const char* line2;
        int width, height;
    } maps[] = {
        {"00.10.00N, 000.10.00W", "00.10.00S, 000.10.00E", 300, 300},
        {"00.07.00N, 000.07.00W", "00.07.00S, 000.07.00E", 400, 400}, // -1.48E-17 at 200
        {"01.00.00N, 001.00.00W", "00.20.00S, 000.20.00E", 1234, 987},
        {"00.00.70N, 000.00.70W", "00.00.70S, 000.00.70E", 7, 7},
    };
    for (const auto& m : maps) {
        const MapCalibration c = calibration(m.line1, m.line2, m.width, m.height);
        // The pixel rows and columns around the zero line, and the first and last ones.
        const int zeroY = int(std::lround(c.TopLatitude / c.LatitudePerPixel));
        const int zeroX = int(std::lround(c.LeftLongitude / c.LongitudePerPixel));
        for (int y : {0, zeroY - 2, zeroY - 1, zeroY, zeroY + 1, zeroY + 2, m.height}) {
            for (int x : {0, zeroX - 2, zeroX - 1, zeroX, zeroX + 1, zeroX + 2, m.width}) {
                SCOPED_TRACE(testing::Message() << m.line1 << " at " << x << "," << y);
                const MapPosition p = positionAt(c, x, y);
                EXPECT_TRUE(latitudeForm.match(p.latitude).hasMatch()) << qPrintable(p.latitude);
                EXPECT_TRUE(longitudeForm.match(p.longitude).hasMatch()) << qPrintable(p.longitude);
                // Cut to hundredths of a minute, never further off.
                const double north = c.TopLatitude - y * c.LatitudePerPixel;
                const double east = x * c.LongitudePerPixel - c.LeftLongitude;
                EXPECT_NEAR(signedMinutes(p.latitude, 2), north, 0.0101) << qPrintable(p.latitude);
                EXPECT_NEAR(signedMinutes(p.longitude, 3), east, 0.0101) << qPrintable(p.longitude);
            }
        }
    }

    // Residues as a division leaves them: 1.18E-16 and 1.1E-6 degrees.
    MapCalibration c = exampleMap();
    c.LatitudePerPixel = 0;
    c.LongitudePerPixel = 0;
    for (double degrees : {1.18e-16, 1.1e-6, 9.99e-6}) {
        c.TopLatitude = degrees * 60;
        c.LeftLongitude = degrees * 60;
        EXPECT_EQ(positionAt(c, 0, 0).latitude, "0000.00N") << degrees;
        EXPECT_EQ(positionAt(c, 0, 0).longitude, "00000.00W") << degrees;
    }
    // A whole degree with a residue in its fraction: 1.0000000001 degrees.
    c.TopLatitude = 60.000000006;
    EXPECT_EQ(positionAt(c, 0, 0).latitude, "0100.00N");
}

TEST(PositionText, AcrossThe180DegreeMeridian) {
    const MapCalibration c = calibration("10.00.00N, 179.00.00E", "09.00.00N, 179.00.00W", 120, 60);
    EXPECT_DOUBLE_EQ(c.LongitudePerPixel, -1);
    EXPECT_EQ(positionAt(c, 0, 0).longitudeDisplay, "179.00.00E");
    EXPECT_EQ(positionAt(c, 30, 0).longitudeDisplay, "179.30.00E");
    EXPECT_EQ(positionAt(c, 60, 0).longitudeDisplay, "180.00.00E");
    EXPECT_EQ(positionAt(c, 90, 0).longitudeDisplay, "179.30.00W");
    EXPECT_EQ(positionAt(c, 90, 0).longitude, "17930.00W");
    EXPECT_EQ(positionAt(c, 120, 0).longitudeDisplay, "179.00.00W");

    // A western map running past 180 degrees turns east and shows no minutes beyond it.
    MapCalibration west = c;
    west.LeftHemisphere = QLatin1Char('W');
    west.LeftLongitude = 10790;
    EXPECT_EQ(positionAt(west, 20, 0).longitudeDisplay, "180.00.00E");
}

TEST(PositionText, DisplayFormsOfStoredTexts) {
    EXPECT_EQ(latitudeDisplay("5130.00N"), "51.30.00N");
    EXPECT_EQ(longitudeDisplay("00045.00W"), "000.45.00W");
    EXPECT_EQ(latitudeDisplay(""), "");
    EXPECT_EQ(latitudeDisplay("51"), "51");
    EXPECT_EQ(longitudeDisplay("000"), "000");
    // Whatever is on the map, the display form puts its full stop after the degrees.
    const MapCalibration c = exampleMap();
    for (int x = 0; x <= 400; x += 37) {
        const MapPosition p = positionAt(c, x, x * 0.8);
        EXPECT_EQ(latitudeDisplay(p.latitude), p.latitudeDisplay);
        EXPECT_EQ(longitudeDisplay(p.longitude), p.longitudeDisplay);
    }
}
