// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Both copies take the same options; a window copy is given
// only what Qt has not taken for itself.
struct CommandLine {
    bool headless = false;
    bool help = false;
    bool version = false;
    bool verbose = false; // the debug lines of every component, for a maintainer
    QString settingsPath; // empty: $SKYVANE_SETTINGS, else the usual place
    QString error;        // one line for the user; the program then ends with code 2

    // `arguments` without the program's name.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
    // "skyvane 0.1.0"
    static QString versionText();
    // The logging rules the program starts with: the components' debug lines only with
    // --verbose. QT_LOGGING_RULES, read after them, still decides over them.
    QString loggingRules() const;
};

// True when the raw arguments ask for what the station program does without any display
// (running headless, printing the version or the help), looked at before any application
// object exists: that decides which one is made.
bool asksForHeadless(int argc, char** argv);
