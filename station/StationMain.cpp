// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// skyvane-station: the headless station on its own. `skyvane --headless` becomes this program,
// so an unattended board maps no desktop library at all.
#include "settings/SettingsLocation.h"
#include "station/HeadlessMain.h"

#include <QFileInfo>
#include <QString>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // The program's own path, known before Qt starts, decides whose settings file is shared.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const QString program = n > 0 ? QString::fromLocal8Bit(self, int(n)) : QString();
    return runHeadless(argc, argv, windowProgramFor(program));
}
