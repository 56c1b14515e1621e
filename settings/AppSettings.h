// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"
#include "common/StationSettings.h"

#include <QString>
#include <array>
#include <optional>

class IniFile;

// The main window's place and size as stored.
struct FormBounds {
    int Left = 10;
    int Top = 10;
    int Width = 620;
    int Height = 438;

    bool operator==(const FormBounds&) const = default;
};

// Everything the settings file holds, with the values derived from it at start-up.
struct AppSettings {
    StationSettings station;
    LinkSettings link;
    FormBounds form;
    bool hints = true;
    bool metric = false;
    QString map;                           // the map picture last loaded
    QString date = QStringLiteral("hhmm"); // date/time format of comments
    int dateIndex = 4;                     // its entry in the comment files dialog
    std::array<int, 3> timers{30, 30, 30}; // beacon intervals, minutes
    // A Start or a change sends again soon, with doubling gaps, before the interval.
    bool decay = false;
    // The objects running at the last close start again once the link first connects.
    bool resume = false;

    // Every key with its default; then the derived values: port flags, the preset paths,
    // the link's copy of the path and the command and send-packet codes.
    static AppSettings read(const IniFile& ini);
    // Every key in the order the settings file has always listed them.
    void write(IniFile& ini) const;

    // Reads the file at path. A missing file gives the defaults silently; a file that exists
    // but cannot be read gives the defaults and an error text for the user.
    static AppSettings load(const QString& path, QString* error);
    // Writes every key into the file at path, keeping any other keys it holds, through a
    // temporary file so a failure leaves the old file whole. False with a reason on failure.
    // A file that cannot be read, or could not be read at load (`unreadableBefore`), is moved
    // aside first, its new name in `keptAs`.
    bool save(const QString& path, QString* error, bool unreadableBefore = false,
              QString* keptAs = nullptr) const;

    bool operator==(const AppSettings&) const = default;
};

// The presets of the unproto path list, index 1..4 (from before 2005) and 6..7 (what today's
// digipeaters answer); anything else has no preset.
QString unprotoPreset(int index);
// The path a station starts with when there is no settings file yet.
inline constexpr int NewStationUnproto = 6;

// A code byte typed as decimal or "$"-hexadecimal; nothing when it is no number or no byte.
std::optional<int> codeByte(const QString& text);
