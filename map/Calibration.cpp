// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/Calibration.h"

#include "common/Cp1252.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <tuple>

namespace {

// Files made by hand are read through their first lines only; a picture chosen by mistake as
// a calibration file must not be read whole into memory.
constexpr qint64 MaxBytesRead = 64 * 1024;

enum class Kind { Latitude, Longitude };

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.unicode() == 0x7F;
}

QString trimControl(const QString& s) {
    qsizetype start = 0;
    qsizetype end = s.size();
    while (start < end && isBlankOrControl(s[start]))
        ++start;
    while (end > start && isBlankOrControl(s[end - 1]))
        --end;
    return s.mid(start, end - start);
}

bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Digits, then a full stop with digits or none: the only way the file writes a number.
bool isPlainDecimal(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    if (i == 0)
        return false;
    if (i < s.size() && s[i] == QLatin1Char('.'))
        ++i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i == s.size();
}

bool isHemisphereLetter(QChar c) {
    const QChar u = c.toUpper();
    return u == QLatin1Char('N') || u == QLatin1Char('S') || u == QLatin1Char('E') ||
           u == QLatin1Char('W');
}

const char* kindName(Kind kind) {
    return kind == Kind::Latitude ? "latitude" : "longitude";
}

class Parser {
public:
    Parser(const QStringList& lines, const QString& fileName)
        : m_lines(lines), m_fileName(fileName) {}

    [[noreturn]] void fail(int lineNo, const QString& text, const QString& reason) const {
        throw CalibrationError(
            CalibrationError::Kind::Invalid,
            QStringLiteral("The calibration file %1 cannot be used: line %2 (\"%3\"): %4.")
                .arg(m_fileName)
                .arg(lineNo)
                .arg(text, reason));
    }

    // Splits a corner line into its latitude and longitude texts, whichever comes first.
    std::pair<QString, QString> corner(int lineNo) const {
        if (m_lines.size() < lineNo)
            fail(lineNo, QString(),
                 QStringLiteral("the line is missing; lines 1 and 2 must each "
                                "hold a corner as latitude, longitude"));
        const QString& line = m_lines[lineNo - 1];
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma < 0)
            fail(lineNo, trimControl(line),
                 QStringLiteral("a comma must separate the latitude and the longitude"));
        const QString first = trimControl(line.left(comma));
        const QString second = trimControl(line.mid(comma + 1));
        const QChar last = first.isEmpty() ? QChar() : first.back().toUpper();
        if (last == QLatin1Char('N') || last == QLatin1Char('S'))
            return {first, second};
        return {second, first};
    }

    // Position of the full stop after the degrees in the first corner's value.
    qsizetype degreesEnd(const QString& value, Kind kind, int lineNo) const {
        if (value.isEmpty())
            fail(lineNo, value,
                 QStringLiteral("the %1 is missing").arg(QLatin1String(kindName(kind))));
        const qsizetype dot = value.indexOf(QLatin1Char('.'));
        if (dot < 0)
            fail(lineNo, value,
                 QStringLiteral("the %1 needs a full stop after its degrees (as in 51.30.00N)")
                     .arg(QLatin1String(kindName(kind))));
        return dot;
    }

    // The value in minutes of arc and its hemisphere letter, with the degrees ending at dot.
    std::pair<double, QChar> value(const QString& text, qsizetype dot, Kind kind,
                                   int lineNo) const {
        const QString what = QLatin1String(kindName(kind));
        if (text.isEmpty())
            fail(lineNo, text, QStringLiteral("the %1 is missing").arg(what));
        const QChar hemisphere = text.back().toUpper();
        const bool letterOk =
            kind == Kind::Latitude
                ? (hemisphere == QLatin1Char('N') || hemisphere == QLatin1Char('S'))
                : (hemisphere == QLatin1Char('E') || hemisphere == QLatin1Char('W'));
        if (!letterOk)
            fail(lineNo, text,
                 kind == Kind::Latitude ? QStringLiteral("a latitude must end in N or S")
                                        : QStringLiteral("a longitude must end in E or W"));
        // Both corners write their degrees with the same number of digits; a second corner
        // that does not would be split in the wrong place and read as a wrong position.
        if (dot >= text.size() || text[dot] != QLatin1Char('.'))
            fail(lineNo, text,
                 QStringLiteral("the degrees of the %1 must have as many digits as in line 1")
                     .arg(what));
        const QString degreesText = text.left(dot);
        QString minutesText = text.mid(dot + 1);
        if (!minutesText.isEmpty() && isHemisphereLetter(minutesText.back()))
            minutesText.chop(1);
        minutesText = trimControl(minutesText);

        if (!isPlainDecimal(degreesText))
            fail(lineNo, text,
                 QStringLiteral("the degrees \"%1\" are not a valid number").arg(degreesText));
        if (!isPlainDecimal(minutesText))
            fail(lineNo, text,
                 QStringLiteral("the minutes \"%1\" are not a valid number").arg(minutesText));
        const double degrees = degreesText.toDouble();
        const double minutes = minutesText.toDouble();
        if (minutes >= 60)
            fail(lineNo, text, QStringLiteral("the minutes must be below 60"));
        const double total = degrees * 60 + minutes;
        if (kind == Kind::Latitude && total > 90 * 60)
            fail(lineNo, text, QStringLiteral("a latitude cannot be more than 90 degrees"));
        if (kind == Kind::Longitude && total > 180 * 60)
            fail(lineNo, text, QStringLiteral("a longitude cannot be more than 180 degrees"));
        return {total, hemisphere};
    }

private:
    const QStringList& m_lines;
    QString m_fileName;
};

} // namespace

MapCalibration parseCalibration(const QStringList& lines, const QString& fileName) {
    const Parser p(lines, fileName);
    const auto [lat1, lon1] = p.corner(1);
    const auto [lat2, lon2] = p.corner(2);
    const qsizetype latDot = p.degreesEnd(lat1, Kind::Latitude, 1);
    const qsizetype lonDot = p.degreesEnd(lon1, Kind::Longitude, 1);

    MapCalibration c;
    std::tie(c.TopLatitude, c.TopHemisphere) = p.value(lat1, latDot, Kind::Latitude, 1);
    std::tie(c.LeftLongitude, c.LeftHemisphere) = p.value(lon1, lonDot, Kind::Longitude, 1);
    std::tie(c.BottomLatitude, c.BottomHemisphere) = p.value(lat2, latDot, Kind::Latitude, 2);
    std::tie(c.RightLongitude, c.RightHemisphere) = p.value(lon2, lonDot, Kind::Longitude, 2);
    c.MapTitle = lines.size() >= 3 ? trimControl(lines[2]) : QString();
    return c;
}

void applyPictureSize(MapCalibration& c, int width, int height, double previousLongitudeSpan) {
    c.LatitudeSpan = c.TopHemisphere == c.BottomHemisphere ? c.TopLatitude - c.BottomLatitude
                                                           : c.TopLatitude + c.BottomLatitude;
    const QChar w = QLatin1Char('W');
    const QChar e = QLatin1Char('E');
    if (c.LeftHemisphere == c.RightHemisphere)
        c.LongitudeSpan = c.LeftLongitude - c.RightLongitude;
    else if (c.LeftHemisphere == w && c.RightHemisphere == e)
        c.LongitudeSpan = c.LeftLongitude + c.RightLongitude;
    else if (c.LeftHemisphere == e && c.RightHemisphere == w)
        c.LongitudeSpan = -((10800 - c.LeftLongitude) + (10800 - c.RightLongitude));
    else
        c.LongitudeSpan = previousLongitudeSpan;
    // A picture that failed to decode has no pixels; positions on it are meaningless but must
    // not turn into infinities.
    c.LatitudePerPixel = height > 0 ? c.LatitudeSpan / height : 0;
    c.LongitudePerPixel = width > 0 ? c.LongitudeSpan / width : 0;
}

MapCalibration readCalibrationFile(const QString& path) {
    auto unreadable = [&](const QString& reason) {
        return CalibrationError(
            CalibrationError::Kind::Unreadable,
            QStringLiteral("The calibration file %1 cannot be read: %2.").arg(path, reason));
    };
    const QFileInfo info(path);
    if (!info.exists())
        throw unreadable(QStringLiteral("it does not exist"));
    if (info.isDir())
        throw unreadable(QStringLiteral("it is a folder"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw unreadable(file.errorString());
    QByteArray bytes = file.read(MaxBytesRead);
    if (file.error() != QFileDevice::NoError)
        throw unreadable(file.errorString());

    // Editors that save UTF-8 often put a byte order mark first; it is not part of line 1.
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else
        text = Cp1252::toUnicode(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return parseCalibration(lines.mid(0, 3), path);
}

namespace {

// A longitude taken round the globe into -180..180, 180 east staying east.
double aroundTheGlobe(double degrees) {
    while (degrees > 180)
        degrees -= 360;
    while (degrees <= -180)
        degrees += 360;
    return degrees;
}

} // namespace

MapCalibration calibrationFromCorners(const MapCorners& corners, const QString& title) {
    MapCalibration c;
    const auto latitude = [](double degrees) {
        return std::pair{std::abs(degrees) * 60, QLatin1Char(degrees < 0 ? 'S' : 'N')};
    };
    const auto longitude = [](double degrees) {
        degrees = aroundTheGlobe(degrees);
        return std::pair{std::abs(degrees) * 60, QLatin1Char(degrees < 0 ? 'W' : 'E')};
    };
    std::tie(c.TopLatitude, c.TopHemisphere) = latitude(corners.top);
    std::tie(c.BottomLatitude, c.BottomHemisphere) = latitude(corners.bottom);
    std::tie(c.LeftLongitude, c.LeftHemisphere) = longitude(corners.left);
    std::tie(c.RightLongitude, c.RightHemisphere) = longitude(corners.right);
    c.MapTitle = title;
    return c;
}
