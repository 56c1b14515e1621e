// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/HeadlessMain.h"

#include "common/Clock.h"
#include "common/TerminationSignals.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "settings/SettingsLocation.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "station/ServiceNotifier.h"
#include "station/Station.h"

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
    if (line.version) {
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
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
    // Under systemd each line carries its priority, so that the journal can sort them.
    const bool journal = standardErrorIsJournal(qEnvironmentVariable("JOURNAL_STREAM"));
    routeLogToStandardError(journal);
    HeadlessDialogs dialogs(clock, stderr, journal);
    HeadlessStation station(
        dialogs, clock, settingsPathOf(line, windowProgram),
        SentLog::defaultFolder(qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath()));
    TerminationSignals termination;
    ServiceNotifier service;
    if (const auto code = station.start())
        return *code;
    // What `systemctl status` shows: the link, and the objects on the air.
    const auto tellStatus = [&] { service.status(station.serviceStatus()); };
    QObject::connect(&station.station().link(), &LinkControl::stateChanged, &service, tellStatus);
    for (int k = 0; k < 3; ++k)
        QObject::connect(&station.station().slot(k), &ObjectSlot::runningChanged, &service,
                         tellStatus);
    service.ready();
    tellStatus();
    QObject::connect(&termination, &TerminationSignals::requested, &app, [&] {
        service.stopping();
        QCoreApplication::exit(station.stop());
    });
    return QCoreApplication::exec();
}
