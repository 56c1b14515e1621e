// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "station/CommandLine.h"

#include <QString>
#include <optional>

// The settings file of a copy: the option, else $SKYVANE_SETTINGS (a private copy beside the
// usual one), else the usual place of the window program at windowProgram.
QString settingsPathOf(const CommandLine& line, const QString& windowProgram);

// What ends a run before it starts: 0 after --help (the options printed), 2 after a bad option
// (one line on standard error).
std::optional<int> answered(const CommandLine& line);

// The station with no QApplication and no platform plug-in, until SIGTERM or SIGHUP: it runs
// where no desktop is. windowProgram is the path of the window program, whose settings file
// this copy shares.
int runHeadless(int argc, char* argv[], const QString& windowProgram);
