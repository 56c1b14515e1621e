// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>

QString besideProgram(const QString& programPath, const QString& extension) {
    const QFileInfo program(programPath);
    return program.dir().filePath(program.completeBaseName() + extension);
}

QString settingsPathFor(const QString& programPath, bool programFolderWritable,
                        const QString& xdgConfigHome, const QString& home) {
    if (programFolderWritable)
        return besideProgram(programPath, QStringLiteral(".ini"));
    // The XDG Base Directory rules say a relative value is to be ignored.
    const QString config = QDir::isAbsolutePath(xdgConfigHome)
                               ? xdgConfigHome
                               : QDir(home).filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("skyvane/skyvane.ini"));
}

QString installedDataFolder(const QString& programPath) {
    const QFileInfo program(programPath);
    QDir bin = program.absoluteDir();
    if (bin.dirName() != QLatin1String("bin") || !bin.cdUp())
        return {};
    const QString data = bin.filePath(QStringLiteral("share/skyvane"));
    return QFileInfo(data).isDir() ? QDir::cleanPath(data) : QString();
}

QString defaultSettingsPathFor(const QString& programPath, bool programFolderWritable,
                               const QString& xdgConfigHome, const QString& home) {
    const bool installed = !installedDataFolder(programPath).isEmpty();
    return settingsPathFor(programPath, programFolderWritable && !installed, xdgConfigHome, home);
}

QString helpDocumentPathFor(const QString& programPath) {
    const QString beside = besideProgram(programPath, QStringLiteral(".doc"));
    if (QFileInfo(beside).isFile())
        return beside;
    const QString data = installedDataFolder(programPath);
    const QString installed = data.isEmpty() ? QString() : data + QStringLiteral("/skyvane.doc");
    return !installed.isEmpty() && QFileInfo(installed).isFile() ? installed : beside;
}

QString headlessProgramFor(const QString& windowProgram) {
    const QDir dir = QFileInfo(windowProgram).absoluteDir();
    for (const QString& candidate :
         {dir.filePath(QStringLiteral("skyvane-station")),
          dir.filePath(QStringLiteral("../libexec/skyvane/skyvane-station"))}) {
        // Cleaned first: "bin/.." does not resolve where bin/ is missing.
        if (const QString clean = QDir::cleanPath(candidate); QFileInfo(clean).isExecutable())
            return clean;
    }
    return {};
}

QString windowProgramFor(const QString& headlessProgram) {
    QDir dir = QFileInfo(headlessProgram).absoluteDir();
    QDir prefix = dir;
    if (dir.dirName() == QLatin1String("skyvane") && prefix.cdUp() &&
        prefix.dirName() == QLatin1String("libexec") && prefix.cdUp())
        return QDir::cleanPath(prefix.filePath(QStringLiteral("bin/skyvane")));
    return dir.filePath(QStringLiteral("skyvane"));
}
