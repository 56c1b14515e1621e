// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// libFuzzer entry points for the files a user hands to the map: calibration files, objects
// files and pictures. Each build of this file fuzzes one kind (SKYVANE_FUZZ_KIND).

#include "common/Cp1252.h"
#include "map/Calibration.h"
#include "map/JpegDecoder.h"
#include "map/ObjectsFile.h"
#include "map/PictureLoader.h"
#include "map/PositionText.h"
#include "settings/IniFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>

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
