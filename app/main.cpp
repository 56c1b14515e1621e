// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"
#include "common/Clock.h"
#include "widgets/QtDialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    QtDialogs dialogs;
    SystemClock clock;
    TForm1 form(dialogs, clock);
    QObject::connect(&form, &TForm1::closed, &app, &QApplication::quit);
    form.show();
    form.createOtherWindows();
    return QApplication::exec();
}
