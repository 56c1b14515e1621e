// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/WorldFile.h"

#include "common/Numbers.h"
#include "map/ObjectsFile.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>

namespace WorldFile {
namespace {

// A world file is six short lines; a picture chosen by mistake must not be read whole.
constexpr qint64 MaxBytesRead = 4096;

// Pictures in degrees lie within the globe; a little slack for a picture whose edge pixels'
// middles stand just inside a pole or the 180th meridian.
constexpr double Slack = 1e-6;

QString number(double value) {
    return floatToStr(value);
}

[[noreturn]] void refuse(const QString& fileName, const QString& reason) {
    throw CalibrationError(
        CalibrationError::Kind::Invalid,
        QStringLiteral("The world file %1 cannot be used: %2.").arg(fileName, reason));
}

} // namespace

QStringList extensionsFor(const QString& picturePath) {
    const QString suffix = QFileInfo(picturePath).suffix().toLower();
    QString own;
    if (suffix == QLatin1String("png"))
        own = QStringLiteral(".pgw");
    else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        own = QStringLiteral(".jgw");
    else if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        own = QStringLiteral(".tfw");
    else if (suffix == QLatin1String("gif"))
        own = QStringLiteral(".gfw");
    else if (suffix == QLatin1String("bmp"))
        own = QStringLiteral(".bpw");
    QStringList all = {QStringLiteral(".pgw"), QStringLiteral(".jgw"), QStringLiteral(".tfw"),
                       QStringLiteral(".gfw"), QStringLiteral(".bpw"), QStringLiteral(".wld")};
    if (!own.isEmpty()) {
        all.removeOne(own);
        all.prepend(own);
    }
    return all;
}

QString pathFor(const QString& picturePath) {
    for (const QString& extension : extensionsFor(picturePath)) {
        const QString path = ObjectsFile::companionPath(picturePath, qPrintable(extension));
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

MapCalibration parse(const QStringList& lines, QSize picture, const QString& fileName,
                     const QString& title) {
    std::array<double, 6> terms{};
    qsizetype line = 0;
    for (size_t k = 0; k < terms.size(); ++k, ++line) {
        // Blank lines between the numbers are written by some programs; they count for nothing.
        while (line < lines.size() && lines[line].trimmed().isEmpty())
            ++line;
        if (line >= lines.size())
            refuse(fileName, QStringLiteral("it holds %1 numbers where a world file has six, one "
                                            "a line")
                                 .arg(k));
        const std::optional<double> value = tryStrToFloat(lines[line]);
        if (!value)
            refuse(fileName, QStringLiteral("line %1 (\"%2\") is not a number; a world file holds "
                                            "six numbers with a full stop as decimal point")
                                 .arg(line + 1)
                                 .arg(lines[line].trimmed()));
        terms[k] = *value;
    }
    const auto [across, rotationY, rotationX, down, left, top] = terms;
    if (rotationX != 0 || rotationY != 0)
        refuse(fileName, QStringLiteral("it describes a rotated picture (rotation terms %1 and "
                                        "%2); only pictures with north up and rotation terms of "
                                        "0 can be used")
                             .arg(number(rotationY), number(rotationX)));
    if (across <= 0 || down >= 0)
        refuse(fileName, QStringLiteral("it describes a picture that is not north up with east to "
                                        "the right (pixels %1 across and %2 down; the first must "
                                        "be above 0 and the fourth below 0)")
                             .arg(number(across), number(down)));
    const double right = left + across * picture.width();
    const double bottom = top + down * picture.height();
    const bool inDegrees = std::abs(top) <= 90 + Slack && bottom >= -90 - Slack &&
                           left >= -360 - Slack && left <= 360 + Slack &&
                           right - left <= 360 + Slack;
    if (!inDegrees)
        refuse(fileName, QStringLiteral(
                             "it places the top-left pixel at %1 across and %2 down with pixels %3 "
                             "by %4 units, which are not degrees of longitude and latitude (a "
                             "projected grid in metres?); only world files in degrees can be used")
                             .arg(number(left), number(top), number(across), number(-down)));
    // Each pixel reads the position of its middle, which is what the world file gives.
    return calibrationFromCorners({top, left, bottom, right}, title);
}

MapCalibration read(const QString& path, QSize picture, const QString& title) {
    auto unreadable = [&](const QString& reason) {
        return CalibrationError(
            CalibrationError::Kind::Unreadable,
            QStringLiteral("The world file %1 cannot be read: %2.").arg(path, reason));
    };
    QFile file(path);
    if (QFileInfo(path).isDir())
        throw unreadable(QStringLiteral("it is a folder"));
    if (!file.open(QIODevice::ReadOnly))
        throw unreadable(file.errorString());
    QByteArray bytes = file.read(MaxBytesRead);
    if (file.error() != QFileDevice::NoError)
        throw unreadable(file.errorString());
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return parse(QString::fromLatin1(bytes).split(QLatin1Char('\n')), picture, path, title);
}

} // namespace WorldFile
