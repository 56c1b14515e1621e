// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// Where the settings file lives: beside the program with its name and ".ini" (skyvane ->
// skyvane.ini), or, when the program's folder cannot be written (an installed copy), in
// $XDG_CONFIG_HOME/skyvane/ (~/.config/skyvane/ when that is unset or not absolute).
QString settingsPathFor(const QString& programPath, bool programFolderWritable,
                        const QString& xdgConfigHome, const QString& home);

// The program's path with another extension: /opt/sky/skyvane, ".doc" -> /opt/sky/skyvane.doc.
QString besideProgram(const QString& programPath, const QString& extension);
