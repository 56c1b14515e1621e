// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PositionText.h"

#include "common/Numbers.h"

#include <cmath>

namespace {

// Whole degrees and minutes ("30.00") of an angle in degrees, both read from one text of
// at most 15 significant digits. Taking the degrees from the same text as the minutes
// matters when that text rounds up to a whole degree (51.999999999999993 is written "52"):
// the degrees must then be 52 with 00.00 minutes, not 51.
struct DegreesAndMinutes {
    qint64 degrees;
    QString minutes;
};

// The 15-significant-digit text of a non-negative value, never in scientific form: a
// "1.18E-16" left by a division near the equator or the meridian would otherwise be read as
// digits of degrees or minutes. Values below 0.00001 cannot reach the hundredths of a minute,
// so they are written as 0. (Large values stay in fixed form: no map spans 1E15 degrees.)
QString fixedText(double value) {
    return value < 0.00001 ? QStringLiteral("0") : floatToStr(value);
}

DegreesAndMinutes split(double degrees) {
    const QString text = fixedText(std::fabs(degrees));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qint64 whole = (point < 0 ? text : text.left(point)).toLongLong();
    const double fraction = point < 0 ? 0.0 : strToFloat(QLatin1Char('0') + text.mid(point));

    const QString minutesText = fixedText(fraction * 60);
    const qsizetype mp = minutesText.indexOf(QLatin1Char('.'));
    QString intPart = mp < 0 ? minutesText : minutesText.left(mp);
    QString decimals = mp < 0 ? QString() : minutesText.mid(mp + 1, 2);
    if (intPart.size() < 2)
        intPart.prepend(QLatin1Char('0'));
    while (decimals.size() < 2)
        decimals += QLatin1Char('0');
    return {whole, intPart + QLatin1Char('.') + decimals};
}

QString padded(qint64 value, int width) {
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

} // namespace

MapPosition positionAt(const MapCalibration& c, double x, double y) {
    QChar latLetter = c.TopHemisphere;
    QChar lonLetter = c.LeftHemisphere;
    const double latMinutes = c.TopLatitude - y * c.LatitudePerPixel;
    double lonMinutes = c.LeftLongitude - x * c.LongitudePerPixel;
    const double latDegrees = latMinutes * (1.0 / 60);
    double lonDegrees = lonMinutes * (1.0 / 60);

    if (latDegrees < 0)
        latLetter = QLatin1Char('S');
    if (lonDegrees < 0)
        lonLetter = lonLetter == QLatin1Char('W') ? QLatin1Char('E') : QLatin1Char('W');
    if (lonMinutes > 10800) {
        // Past the 180 degree meridian: an eastern map runs on into the west.
        if (lonLetter == QLatin1Char('E')) {
            lonLetter = QLatin1Char('W');
            lonMinutes = 21600 - lonMinutes;
            lonDegrees = lonMinutes * (1.0 / 60);
        } else {
            lonLetter = QLatin1Char('E');
        }
    }

    const DegreesAndMinutes lat = split(latDegrees);
    const DegreesAndMinutes lon = split(lonDegrees);
    const QString latDegText = padded(lat.degrees, 2);
    const QString lonDegText = padded(lon.degrees, 3);
    const QString latMin = lat.minutes;
    const QString lonMin = lon.degrees >= 180 ? QStringLiteral("00.00") : lon.minutes;

    MapPosition p;
    p.latitude = latDegText + latMin + latLetter;
    p.longitude = lonDegText + lonMin + lonLetter;
    p.latitudeDisplay = latDegText + QLatin1Char('.') + latMin + latLetter;
    p.longitudeDisplay = lonDegText + QLatin1Char('.') + lonMin + lonLetter;
    p.readout =
        QStringLiteral("  ") + p.latitudeDisplay + QStringLiteral("   ") + p.longitudeDisplay;
    return p;
}

QString latitudeDisplay(const QString& latitude) {
    if (latitude.size() < 3)
        return latitude;
    return latitude.left(2) + QLatin1Char('.') + latitude.mid(2);
}

QString longitudeDisplay(const QString& longitude) {
    if (longitude.size() < 4)
        return longitude;
    return longitude.left(3) + QLatin1Char('.') + longitude.mid(3);
}
