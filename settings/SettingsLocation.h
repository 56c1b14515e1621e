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

// The shared data folder of an installed copy (<prefix>/share/skyvane for <prefix>/bin/skyvane),
// or empty when the program does not sit in such a layout (a build folder, a copied program).
QString installedDataFolder(const QString& programPath);

// Where the settings live for a program at programPath. An installed copy always keeps them in
// the user's configuration folder, even when its own folder could be written (by root, say):
// the program's folder is shared by every user and by the package manager.
QString defaultSettingsPathFor(const QString& programPath, bool programFolderWritable,
                               const QString& xdgConfigHome, const QString& home);

// The help document: beside the program with ".doc", else the installed copy's
// <prefix>/share/skyvane/skyvane.doc; the first that exists, or the first when neither does.
QString helpDocumentPathFor(const QString& programPath);

// The window program and its headless station program, skyvane-station, which links no
// desktop library: beside it in a build folder, in <prefix>/libexec/skyvane/ when installed.
// headlessProgramFor gives the first of the two that exists, or empty; windowProgramFor the
// window program whose settings the station shares.
QString headlessProgramFor(const QString& windowProgram);
QString windowProgramFor(const QString& headlessProgram);
