// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/CommandLine.h"

#include <cstring>

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine c;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--headless")) {
            c.headless = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            c.help = true;
        } else if (a == QLatin1String("--version")) {
            c.version = true;
        } else if (a == QLatin1String("--verbose") || a == QLatin1String("-v")) {
            c.verbose = true;
        } else if (a == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                c.error = QStringLiteral("--settings needs the path of a settings file");
                return c;
            }
            c.settingsPath = arguments[++i];
        } else if (a.startsWith(QLatin1String("--settings="))) {
            c.settingsPath = a.mid(int(std::strlen("--settings=")));
            if (c.settingsPath.isEmpty()) {
                c.error = QStringLiteral("--settings needs the path of a settings file");
                return c;
            }
        } else {
            c.error = QStringLiteral("unknown option '%1' (skyvane --help lists them)").arg(a);
            return c;
        }
    }
    return c;
}

QString CommandLine::helpText() {
    return QStringLiteral(
        "Usage: skyvane [--headless] [--settings FILE] [--verbose]\n"
        "Keeps up to three APRS objects on the air.\n"
        "\n"
        "  --headless       run the station without a window: connect the link and start\n"
        "                   the objects that were running when it last stopped; messages\n"
        "                   go to standard error. SIGTERM or SIGHUP saves and ends it.\n"
        "  --settings FILE  the settings file to use (default: $SKYVANE_SETTINGS, else\n"
        "                   skyvane.ini beside the program or in ~/.config/skyvane/)\n"
        "  -v, --verbose    also write what each component does (connects, retries,\n"
        "                   frames) to standard error, for finding a fault\n"
        "  --version        print the version and end\n"
        "  -h, --help       show this text\n"
        "\n"
        "Exit codes: 0 ended as asked; 1 another copy runs on the settings file, or the\n"
        "link was lost; 2 a bad option, or a settings or objects file missing or unreadable.\n");
}

QString CommandLine::versionText() {
    return QStringLiteral("skyvane " SKYVANE_SOFTWARE_VERSION "\n");
}

QString CommandLine::loggingRules() const {
    return verbose ? QStringLiteral("skyvane.*.debug=true")
                   : QStringLiteral("skyvane.*.debug=false");
}

bool asksForHeadless(int argc, char** argv) {
    // --version and --help need no display either: they answer on a board with none.
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--headless", "--version", "--help", "-h"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}
