// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"
#include "common/Clock.h"
#include "widgets/AppIcon.h"
#include "widgets/FontConfigWarmUp.h"
#include "widgets/LazyIconStyle.h"
#include "widgets/QtDialogs.h"
#include "widgets/SingleInstance.h"
#include "widgets/TerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
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
    SystemClock clock;
    // $SKYVANE_SETTINGS names another settings file, for a private copy beside the usual one.
    TForm1 form(dialogs, clock, qEnvironmentVariable("SKYVANE_SETTINGS"));
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
