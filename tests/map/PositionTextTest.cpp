// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PositionText.h"

#include <gtest/gtest.h>

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
