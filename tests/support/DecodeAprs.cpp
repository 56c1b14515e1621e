// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/DecodeAprs.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

QString decodeAprsMissing() {
    if (!QStandardPaths::findExecutable(QStringLiteral("decode_aprs")).isEmpty())
        return {};
    return QStringLiteral("decode_aprs is not installed (./test installs the Debian package "
                          "direwolf when it can)");
}

QStringList decodeAprs(const QStringList& lines, const QString& source) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("decode_aprs"));
    if (program.isEmpty()) {
        ADD_FAILURE() << "decode_aprs is missing: install the direwolf package (./test does)";
        return {};
    }
    QProcess process;
    process.start(program, {});
    process.write((lines.join('\n') + '\n').toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(3000);
        ADD_FAILURE() << "decode_aprs did not finish";
        return {};
    }
    static const QRegularExpression colour(QStringLiteral("\x1b\\[[0-9;]*[A-Za-z]"));
    const QString out = QString::fromUtf8(process.readAllStandardOutput()).remove(colour);
    QStringList blocks;
    for (const QString& line : out.split('\n')) {
        if (line.startsWith(source + QLatin1Char('>')))
            blocks << QString();
        if (!blocks.isEmpty())
            blocks.last() += line + '\n';
    }
    return blocks;
}
