// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"
#include "common/Clock.h"
#include "common/TerminationSignals.h"
#include "settings/SettingsLock.h"
#include "station/CommandLine.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "widgets/AppIcon.h"
#include "widgets/FontConfigWarmUp.h"
#include "widgets/LazyIconStyle.h"
#include "widgets/QtDialogs.h"
#include "widgets/SingleInstance.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

namespace {

// The settings file of this copy: the option, else $SKYVANE_SETTINGS (a private copy beside
// the usual one), else the usual place.
QString settingsPathOf(const CommandLine& line) {
    if (!line.settingsPath.isEmpty())
        return line.settingsPath;
    if (const QString env = qEnvironmentVariable("SKYVANE_SETTINGS"); !env.isEmpty())
        return env;
    return TForm1::defaultSettingsPath();
}

// Handles what ends a run before it starts: 0 after --help, 2 after a bad option.
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

// No QApplication and no platform plug-in: it runs where no desktop is.
int runHeadless(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Skyvane"));
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    if (const auto code = answered(line))
        return *code;
    SystemClock clock;
    HeadlessDialogs dialogs(clock);
    HeadlessStation station(dialogs, clock, settingsPathOf(line), TForm1::defaultSentLogFolder());
    TerminationSignals termination;
    if (const auto code = station.start())
        return *code;
    QObject::connect(&station, &HeadlessStation::finished, &app, &QCoreApplication::exit);
    QObject::connect(&termination, &TerminationSignals::requested, &app,
                     [&] { QCoreApplication::exit(station.stop()); });
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    if (asksForHeadless(argc, argv))
        return runHeadless(argc, argv);

    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    // What Qt took (-platform, -style, ...) is gone from the arguments by now.
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    if (const auto code = answered(line))
        return *code;
    QApplication::setStyle(new LazyIconStyle);

    // Before any setting is read or any window shown: a second start only brings the first
    // copy forward.
    SingleInstance instance;
    if (instance.otherInstanceRunning())
        return 0;

    // Desktops match the running window to its installed entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.skyvane.Skyvane"));

    fonts.wait();
    QtDialogs dialogs;
    const QString settingsPath = settingsPathOf(line);
    // A copy of another desktop, or a headless one, on this settings file would put every
    // object on the air twice.
    SettingsLock lock(settingsPath);
    if (!lock.held()) {
        dialogs.error(lock.refusal(settingsPath) + QStringLiteral(" This copy ends."));
        return 1;
    }
    SystemClock clock;
    TForm1 form(dialogs, clock, settingsPath);
    instance.setWindow(&form);
    QObject::connect(&form, &TForm1::closed, &app, &QApplication::quit);
    // Drawing the icon from its vector file takes a plug-in and a few milliseconds the first
    // frame need not wait for; the window gets it moments later, as the About window does.
    QObject::connect(&form, &TForm1::otherWindowsCreated, &app,
                     [] { QApplication::setWindowIcon(appIcon()); });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::requested, &form, &TForm1::endSession);
    form.show();
    form.createOtherWindowsAfterFirstFrame();
    return QApplication::exec();
}
