// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// libFuzzer entry points for the files a user hands to the map: calibration files (and world
// files, and positions typed for Calibrate Map), objects files and pictures. Each build of this
// file fuzzes one kind (SKYVANE_FUZZ_KIND).

#include "common/Cp1252.h"
#include "map/Calibration.h"
#include "map/JpegDecoder.h"
#include "map/ObjectsFile.h"
#include "map/PictureLoader.h"
#include "map/PositionText.h"
#include "map/ReferencePoints.h"
#include "map/WorldFile.h"
#include "settings/IniFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char* what) {
    fprintf(stderr, "invariant broken: %s\n", what);
    abort();
}

// Each fuzz target is this file built with one of the three entry points chosen.
[[maybe_unused]] void calibration(const QByteArray& bytes) {
    const QStringList lines = Cp1252::toUnicode(bytes).split(QLatin1Char('\n'));
    try {
        MapCalibration cal = parseCalibration(lines, QStringLiteral("fuzz.inf"));
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{400, 320}, std::pair{0, 0}}) {
            applyPictureSize(cal, w, h);
            for (const auto& [x, y] : {std::pair{0.0, 0.0}, std::pair{w / 2.0, h / 2.0},
                                       std::pair{double(w), double(h)}, std::pair{-5.0, 1e6}}) {
                const MapPosition p = positionAt(cal, x, y);
                if (!p.readout.startsWith(QLatin1String("  ")))
                    broken("readout without its leading blanks");
            }
        }
    } catch (const CalibrationError& e) {
        if (e.message().isEmpty())
            broken("calibration error without a message");
    }
    // The same lines as a world file.
    try {
        MapCalibration cal = WorldFile::parse(lines, {400, 320}, QStringLiteral("fuzz.pgw"),
                                              QStringLiteral("fuzz.png"));
        applyPictureSize(cal, 400, 320);
        if (!positionAt(cal, 200, 160).readout.startsWith(QLatin1String("  ")))
            broken("readout without its leading blanks");
    } catch (const CalibrationError& e) {
        if (e.message().isEmpty())
            broken("world file error without a message");
    }
    // Each line as a position typed for Calibrate Map.
    for (const QString& line : lines.mid(0, 8)) {
        QString why;
        if (const auto lat = ReferencePoints::readLatitude(line, &why); lat && std::abs(*lat) > 90)
            broken("a latitude beyond a pole was read");
        else if (!lat && why.isEmpty())
            broken("a latitude was refused without a reason");
        if (const auto lon = ReferencePoints::readLongitude(line); lon && std::abs(*lon) > 180)
            broken("a longitude beyond 180 degrees was read");
    }
}

[[maybe_unused]] void objects(const QByteArray& bytes) {
    IniFile ini;
    ini.parse(bytes);
    const ObjectsFileData data = ObjectsFile::read(ini);
    for (const StoredObject& o : data.objects) {
        ObjectsFile::isLatitudeText(o.Latitude);
        ObjectsFile::isLongitudeText(o.Longitude);
        latitudeDisplay(o.Latitude);
        longitudeDisplay(o.Longitude);
    }
    // What was read is written and read again unchanged (the weather station aside).
    IniFile out;
    ObjectsFile::write(out, data);
    IniFile back;
    back.parse(out.toBytes());
    const ObjectsFileData again = ObjectsFile::read(back);
    for (size_t i = 0; i < 3; ++i) {
        const StoredObject& a = data.objects[i];
        const StoredObject& b = again.objects[i];
        if (a.Index != b.Index || a.ST != b.ST || a.SL != b.SL)
            broken("numbers changed on a round trip");
        // Texts with line breaks or outer blanks cannot be kept by any INI file; the others
        // must, also those Windows-1252 has no byte for (the file is then written as UTF-8).
        if (a.Ident == a.Ident.trimmed() && !a.Ident.contains(QLatin1Char('\n')) &&
            !a.Ident.contains(QLatin1Char('\r')) && a.Ident != b.Ident)
            broken("identifier changed on a round trip");
    }
    if (data.VP != again.VP || data.HP != again.HP)
        broken("scroll position changed on a round trip");
    if (data.Zoom.has_value() != again.Zoom.has_value() ||
        (data.Zoom && std::abs(*data.Zoom - *again.Zoom) > 1e-12 * *data.Zoom) ||
        data.FitWindow != again.FitWindow)
        broken("zoom changed on a round trip");
}

[[maybe_unused]] void picture(const QByteArray& bytes) {
    const LoadedPicture loaded = PictureLoader::fromData(bytes, QStringLiteral("fuzz"));
    if (loaded.ok() == loaded.image.isNull())
        broken("a picture must come with success and only then");
    if (!loaded.ok() && !loaded.error.contains(QLatin1String("fuzz")))
        broken("the error does not name the file");
    if (loaded.ok()) {
        const QImage& img = loaded.image;
        if (qint64(img.width()) * img.height() > JpegDecoder::MaxPixels)
            broken("a picture above the cap was decoded");
        // A picture held smaller stands for a full size that its pixels cover.
        if (loaded.reduction < 1 || loaded.fullSize.width() > img.width() * loaded.reduction ||
            loaded.fullSize.height() > img.height() * loaded.reduction ||
            (loaded.reduction == 1 && loaded.fullSize != img.size()))
            broken("the full size does not fit the pixels held");
        // Touch the last pixel: the buffer must hold every row.
        (void)img.pixel(img.width() - 1, img.height() - 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The image readers for GIF and bitmaps need a GUI application object; no window is made.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
#if defined(SKYVANE_FUZZ_CALIBRATION)
    calibration(bytes);
#elif defined(SKYVANE_FUZZ_OBJECTS)
    objects(bytes);
#else
    picture(bytes);
#endif
    return 0;
}
