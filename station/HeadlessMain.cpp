// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/HeadlessMain.h"

#include "common/Clock.h"
#include "common/TerminationSignals.h"
#include "links/SentLog.h"
#include "settings/SettingsLocation.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <cstdio>

QString settingsPathOf(const CommandLine& line, const QString& windowProgram) {
    if (!line.settingsPath.isEmpty())
        return line.settingsPath;
    if (const QString env = qEnvironmentVariable("SKYVANE_SETTINGS"); !env.isEmpty())
        return env;
    return defaultSettingsPathFor(windowProgram,
                                  QFileInfo(QFileInfo(windowProgram).absolutePath()).isWritable(),
                                  qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

std::optional<int> answered(const CommandLine& line) {
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "skyvane: %s\n", qPrintable(line.error));
        return 2;
    }
    if (line.help) {
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    }
    return std::nullopt;
}

int runHeadless(int argc, char* argv[], const QString& windowProgram) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Skyvane"));
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    QLoggingCategory::setFilterRules(line.loggingRules());
    if (const auto code = answered(line))
        return *code;
    SystemClock clock;
    HeadlessDialogs dialogs(clock);
    HeadlessStation station(
        dialogs, clock, settingsPathOf(line, windowProgram),
        SentLog::defaultFolder(qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath()));
    TerminationSignals termination;
    if (const auto code = station.start())
        return *code;
    QObject::connect(&termination, &TerminationSignals::requested, &app,
                     [&] { QCoreApplication::exit(station.stop()); });
    return QCoreApplication::exec();
}
