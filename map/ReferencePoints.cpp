// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ReferencePoints.h"

#include "common/AtomicWrite.h"
#include "common/Cp1252.h"
#include "common/Numbers.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace ReferencePoints {
namespace {

enum class Kind { Latitude, Longitude };

// Points this many pixels apart are far enough for a click a pixel out to matter little.
constexpr int FarApart = 100;
// Rounding a computed corner must not take it past a pole.
constexpr double Tolerance = 1e-9;

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString& s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), isDigit);
}

// Digits with at most one full stop among them, which must have a digit before it.
bool isPlainDecimal(const QString& s) {
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return allDigits(s);
    const QString fraction = s.mid(dot + 1);
    return allDigits(s.left(dot)) && (fraction.isEmpty() || allDigits(fraction));
}

std::optional<double> readPosition(const QString& typed, Kind kind, QString* reason) {
    const bool latitude = kind == Kind::Latitude;
    auto refuse = [reason](const QString& why) -> std::optional<double> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return refuse(QStringLiteral("nothing is typed"));
    if (text.contains(QLatin1Char(',')))
        return refuse(QStringLiteral("a full stop is the decimal point, not a comma"));
    const QChar letter = text.back().toUpper();
    const bool northOrSouth = letter == QLatin1Char('N') || letter == QLatin1Char('S');
    const bool eastOrWest = letter == QLatin1Char('E') || letter == QLatin1Char('W');
    double degrees = 0;
    if (northOrSouth || eastOrWest) {
        if (latitude != northOrSouth)
            return refuse(latitude ? QStringLiteral("a latitude ends in N or S")
                                   : QStringLiteral("a longitude ends in E or W"));
        const QString body = text.chopped(1).trimmed();
        const qsizetype dot = body.indexOf(QLatin1Char('.'));
        const QString wholeDegrees = dot < 0 ? body : body.left(dot);
        if (!allDigits(wholeDegrees))
            return refuse(QStringLiteral("the degrees \"%1\" are not a number").arg(wholeDegrees));
        double minutes = 0;
        if (dot >= 0) {
            const QString minutesText = body.mid(dot + 1);
            // Two digits of minutes, as calibration files write them: "51.5N" might be meant as
            // decimal degrees and must not be taken as 51 degrees 5 minutes.
            if (minutesText.size() < 2 || !isDigit(minutesText[0]) || !isDigit(minutesText[1]) ||
                !isPlainDecimal(minutesText))
                return refuse(QStringLiteral("the minutes \"%1\" are not two digits with any "
                                             "decimals after a full stop")
                                  .arg(minutesText));
            minutes = tryStrToFloat(minutesText).value_or(60);
            if (minutes >= 60)
                return refuse(QStringLiteral("the minutes must be below 60"));
        }
        degrees = wholeDegrees.toInt() + minutes / 60;
        if (letter == QLatin1Char('S') || letter == QLatin1Char('W'))
            degrees = -degrees;
    } else {
        const bool negative = text.startsWith(QLatin1Char('-'));
        const QString magnitude =
            negative || text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
        if (!isPlainDecimal(magnitude))
            return refuse(QStringLiteral("it is neither degrees and minutes with a hemisphere "
                                         "letter nor decimal degrees"));
        degrees = tryStrToFloat(magnitude).value_or(0);
        if (negative)
            degrees = -degrees;
    }
    if (std::abs(degrees) > (latitude ? 90 : 180))
        return refuse(latitude ? QStringLiteral("a latitude cannot be more than 90 degrees")
                               : QStringLiteral("a longitude cannot be more than 180 degrees"));
    return degrees;
}

QString padded(qint64 value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// "51.30.00N" / "000.45.5W": degrees with 2 or 3 digits, minutes with two to four decimals.
QString infValue(double degrees, Kind kind) {
    const bool latitude = kind == Kind::Latitude;
    if (!latitude) {
        while (degrees > 180)
            degrees -= 360;
        while (degrees <= -180)
            degrees += 360;
    }
    const QChar letter =
        latitude ? QLatin1Char(degrees < 0 ? 'S' : 'N') : QLatin1Char(degrees < 0 ? 'W' : 'E');
    // In ten-thousandths of a minute, so that the rounding carries into minutes and degrees.
    const qint64 total = std::llround(std::abs(degrees) * 60 * 10000);
    QString fraction = padded(total % 10000, 4);
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return padded(total / 600000, latitude ? 2 : 3) + QLatin1Char('.') +
           padded(total / 10000 % 60, 2) + QLatin1Char('.') + fraction + letter;
}

} // namespace

std::optional<double> readLatitude(const QString& text, QString* reason) {
    return readPosition(text, Kind::Latitude, reason);
}

std::optional<double> readLongitude(const QString& text, QString* reason) {
    return readPosition(text, Kind::Longitude, reason);
}

QSize minimumApart(QSize picture) {
    return {std::max(1, std::min(FarApart, picture.width() / 2)),
            std::max(1, std::min(FarApart, picture.height() / 2))};
}

Outcome solve(const std::array<Point, 2>& points, QSize picture) {
    Outcome out;
    double lat[2] = {};
    double lon[2] = {};
    for (int k = 0; k < 2; ++k) {
        const Point& p = points[size_t(k)];
        if (!p.pixel) {
            out.error = QStringLiteral("Click on the map to place point %1 first.").arg(k + 1);
            return out;
        }
        // The latitude, then the longitude; the first that does not read is said.
        const struct {
            const QString& typed;
            Kind kind;
            const char* example;
            double* into;
        } values[] = {
            {p.latitude, Kind::Latitude, "51.30.00N) or in decimal degrees (51.5, minus for south",
             &lat[k]},
            {p.longitude, Kind::Longitude,
             "000.45.00W) or in decimal degrees (-0.75, minus for west", &lon[k]},
        };
        for (const auto& v : values) {
            QString why;
            const std::optional<double> degrees = readPosition(v.typed, v.kind, &why);
            if (!degrees) {
                out.error =
                    QStringLiteral("The %1 of point %2 (\"%3\") cannot be read: %4. Type "
                                   "it as in a calibration file (%5).")
                        .arg(QLatin1String(v.kind == Kind::Latitude ? "latitude" : "longitude"))
                        .arg(k + 1)
                        .arg(v.typed.trimmed(), why, QLatin1String(v.example));
                return out;
            }
            *v.into = *degrees;
        }
    }
    const QPoint a = *points[0].pixel;
    const QPoint b = *points[1].pixel;
    const int across = b.x() - a.x();
    const int down = b.y() - a.y();
    const QSize least = minimumApart(picture);
    if (std::abs(across) < least.width() || std::abs(down) < least.height()) {
        out.error = QStringLiteral("The two points are too close together: they are %1 pixels "
                                   "apart across and %2 up and down, and must be at least %3 "
                                   "across and %4 up and down. Choose two points far apart, "
                                   "near opposite corners of the map.")
                        .arg(std::abs(across))
                        .arg(std::abs(down))
                        .arg(least.width())
                        .arg(least.height());
        return out;
    }
    const double southward = lat[0] - lat[1];
    if (southward == 0 || (southward > 0) != (down > 0)) {
        out.error = QStringLiteral("The latitudes do not fit the points: the point lower on the "
                                   "picture must lie further south, as on a map with north up.");
        return out;
    }
    double eastward = lon[1] - lon[0];
    // Going right from east longitudes into west ones crosses the 180th meridian, when the
    // points lie on one half of the globe that way round; else the letters are simply wrong.
    if (across > 0 && lon[0] > 0 && lon[1] < 0 && eastward + 360 < 180)
        eastward += 360;
    else if (across < 0 && lon[1] > 0 && lon[0] < 0 && eastward - 360 > -180)
        eastward -= 360;
    if (eastward == 0 || (eastward > 0) != (across > 0)) {
        out.error = QStringLiteral("The longitudes do not fit the points: the point further right "
                                   "on the picture must lie further east.");
        return out;
    }
    const double latitudePerPixel = southward / down;
    const double longitudePerPixel = eastward / across;
    MapCorners& c = out.corners;
    c.top = lat[0] + a.y() * latitudePerPixel;
    c.bottom = c.top - picture.height() * latitudePerPixel;
    c.left = lon[0] - a.x() * longitudePerPixel;
    c.right = c.left + picture.width() * longitudePerPixel;
    if (c.top > 90 + Tolerance || c.bottom < -90 - Tolerance) {
        out.error = QStringLiteral("With these positions the map would reach beyond a pole (from "
                                   "%1 to %2 degrees of latitude): check the latitudes.")
                        .arg(floatToStr(c.top), floatToStr(c.bottom));
        return out;
    }
    if (c.right - c.left > 360 + Tolerance) {
        out.error = QStringLiteral("With these positions the map would be wider than the globe "
                                   "(%1 degrees of longitude): check the longitudes.")
                        .arg(floatToStr(c.right - c.left));
        return out;
    }
    c.top = std::min(c.top, 90.0);
    c.bottom = std::max(c.bottom, -90.0);
    return out;
}

QByteArray calibrationFileBytes(const MapCorners& corners, const QString& title) {
    QString oneLine = title;
    for (QChar& ch : oneLine)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            ch = QLatin1Char(' ');
    const QString text = infValue(corners.top, Kind::Latitude) + QStringLiteral(", ") +
                         infValue(corners.left, Kind::Longitude) + QStringLiteral("\r\n") +
                         infValue(corners.bottom, Kind::Latitude) + QStringLiteral(", ") +
                         infValue(corners.right, Kind::Longitude) + QStringLiteral("\r\n") +
                         oneLine.trimmed() + QStringLiteral("\r\n");
    if (Cp1252::canEncode(text))
        return Cp1252::fromUnicode(text);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeCalibrationFile(const QString& path, const QByteArray& bytes, QString* message) {
    QString reason;
    if (writeFileAtomically(path, bytes, &reason))
        return true;
    if (message) {
        const QString folder = QFileInfo(path).absolutePath();
        *message =
            QFileInfo(folder).isWritable()
                ? QStringLiteral("Unable to write the calibration file %1: %2.").arg(path, reason)
                : QStringLiteral("Unable to write the calibration file %1: the folder %2 "
                                 "cannot be written (%3). The calibration file must "
                                 "stand beside the picture: copy the picture to a folder "
                                 "of your own and calibrate it there.")
                      .arg(path, folder, reason);
    }
    return false;
}

} // namespace ReferencePoints
