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
    // The base directory specification says a relative value is to be ignored.
    const QString config = QDir::isAbsolutePath(xdgConfigHome)
                               ? xdgConfigHome
                               : QDir(home).filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("skyvane/skyvane.ini"));
}
