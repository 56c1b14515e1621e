// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"
#include "common/Clock.h"
#include "common/TerminationSignals.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsLock.h"
#include "station/CommandLine.h"
#include "station/HeadlessMain.h"
#include "widgets/AppIcon.h"
#include "widgets/QtDialogs.h"
#include "widgets/SingleInstance.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// The headless station maps no desktop library when it is a program of its own: this one hands
// over to it, keeping the process (and so the pid a service manager watches). Where it cannot
// be found the station runs here, with the desktop libraries idle.
int runHeadlessStation(int argc, char* argv[]) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const QString program = n > 0 ? QString::fromLocal8Bit(self, int(n)) : QString();
    const QByteArray station = QFile::encodeName(headlessProgramFor(program));
    if (!station.isEmpty()) {
        execv(station.constData(), argv);
        std::fprintf(stderr, "skyvane: cannot start %s (%s); the station runs in this program\n",
                     station.constData(), std::strerror(errno));
    }
    return runHeadless(argc, argv, program);
}

} // namespace

int main(int argc, char* argv[]) {
    if (asksForHeadless(argc, argv))
        return runHeadlessStation(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    // What Qt took (-platform, -style, ...) is gone from the arguments by now.
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    QLoggingCategory::setFilterRules(line.loggingRules());
    if (const auto code = answered(line))
        return *code;

    // Before any setting is read or any window shown: a second start only brings the first
    // copy forward.
    SingleInstance instance;
    if (instance.otherInstanceRunning())
        return 0;

    // Desktops match the running window to its installed entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.skyvane.Skyvane"));

    QtDialogs dialogs;
    const QString settingsPath = settingsPathOf(line, QCoreApplication::applicationFilePath());
    // A copy of another desktop, or a headless one, on this settings file would put every
    // object on the air twice.
    SettingsLock lock(settingsPath);
    if (!lock.held()) {
        const QString refusal = lock.refusal(settingsPath) + QStringLiteral(" This copy ends.");
        std::fprintf(stderr, "skyvane: %s\n", qPrintable(refusal));
        dialogs.error(refusal);
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
