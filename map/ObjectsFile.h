// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/PendingKills.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

class IniFile;

// What a map's objects file (".obd" beside the picture) keeps of one object slot.
struct StoredObject {
    QString Latitude;  // position text "5130.00N", empty when the object was not placed
    QString Longitude; // "00045.00W"
    QString Table;     // APRS symbol table character
    QString Symbol;    // APRS symbol code character
    int Index = 0;     // symbol list index 1..12, 0 none
    QString Ident;
    QString Comment;
    QString CommentFile;
    QString Default = QStringLiteral("% No data available");
    int ST = 0; // top of the object's symbol on the picture, pixels
    int SL = 0; // left
    // "1" when the object was running at the save, "0" when not; empty in files written
    // before the key existed, which start nothing.
    QString Running;
};

struct ObjectsFileData {
    std::array<StoredObject, 3> objects;
    // The top-left picture pixel in view, counted in full-size pixels so that a file written
    // at any zoom scrolls a program that shows the map at full size to the same place.
    int VP = 0; // vertical scroll position of the map area
    int HP = 0; // horizontal
    // How the map was shown: nothing in files written before the key existed (and for a text
    // that is no zoom from 1/8 to 2), which open at the size the picture was decoded at.
    std::optional<double> Zoom;
    bool FitWindow = false; // Fit Window was in effect: the map fits the window it opens in
    // Killed reports still being repeated, in sections "Kill1", "Kill2", ...: kept here so
    // that a close or a power cut does not end them. Entries that could not have been written
    // by a kill (no name, a position that is none, no time) are left out when read.
    QList<PendingKill> kills;
};

namespace ObjectsFile {

// Every key with its default when missing; integers that are not numbers read as 0.
ObjectsFileData read(const IniFile& ini);
// Every key in the order the file has always had them; other keys in the file stay. A weather
// station's comment is weather data taken from elsewhere at every send, so it is written empty.
void write(IniFile& ini, const ObjectsFileData& data);

// The objects file beside a picture: same path and name, extension ".obd" in whatever case
// an existing one has (the exact case first), else in lower case.
QString pathFor(const QString& picturePath);
// The calibration file beside a picture: extension ".inf", found the same way.
QString calibrationPathFor(const QString& picturePath);
// The file beside a picture with its name and `extension` (".inf", with the dot), found the
// same way; the exact name when there is none.
QString companionPath(const QString& picturePath, const char* extension);

// From disk. A missing file gives the defaults and true; a file that exists and cannot be read
// gives false with the reason in `error`.
bool load(const QString& path, ObjectsFileData& data, QString& error);
// To disk through a temporary file, so the old file stays whole when the write fails. A file
// that cannot be read, or could not be read at load (`unreadableBefore`), is moved aside
// first, its new name in `keptAs`.
bool save(const QString& path, const ObjectsFileData& data, QString& error,
          bool unreadableBefore = false, QString* keptAs = nullptr);

// Position texts as they go on the air: "ddmm.hhN"/"ddmm.hhS" and "dddmm.hhE"/"dddmm.hhW".
// A hand-edited or damaged file may hold anything; only these may reach a report.
bool isLatitudeText(const QString& text);
bool isLongitudeText(const QString& text);

} // namespace ObjectsFile
