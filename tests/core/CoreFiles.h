// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

// A settings file for a station on the packet engine at `port`, with `map` remembered, and
// the objects file of that map. Object 1 is a car park that was running when last saved
// (unless `running` is empty, as files written before the key were).
struct StationFiles {
    QString settings;
    QString map;
    QString objects;

    StationFiles(const QDir& dir, const QString& port, const QByteArray& running = "1",
                 const QByteArray& extraSettings = {}) {
        settings = dir.filePath(QStringLiteral("skyvane.ini"));
        map = dir.filePath(QStringLiteral("event.jpg"));
        objects = dir.filePath(QStringLiteral("event.obd"));
        write(settings, "[Station]\r\nMyCall=G4ABC-1\r\nDestination=APRS\r\n" + extraSettings +
                            "[AGWPE]\r\nIPAddr=127.0.0.1\r\nTCPPort=" + port.toLatin1() +
                            "\r\n[Object]\r\nMap=" + map.toUtf8() +
                            "\r\n[Timers]\r\nT1=10\r\nT2=20\r\nT3=30\r\n");
        QByteArray obd = "[Object1]\r\nLatitude=5130.00N\r\nLongitude=00045.00W\r\nTable=/\r\n"
                         "Symbol=P\r\nIdent=PARK\r\nComment=Open\r\nIndex=10\r\n";
        if (!running.isEmpty())
            obd += "Running=" + running + "\r\n";
        obd += "[Object2]\r\nLatitude=5115.00N\r\nLongitude=00015.00W\r\nTable=/\r\n"
               "Symbol=-\r\nIdent=TENT\r\nIndex=4\r\nRunning=0\r\n";
        write(objects, obd);
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// The program as a headless copy on `settings`, in an environment with no display at all (and
// `extra`), its sent-reports log in `dir`.
inline void startHeadless(QProcess& skyvane, const QDir& dir, const QStringList& arguments,
                          const QProcessEnvironment& extra = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(extra);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    skyvane.setProcessEnvironment(env);
    skyvane.start(QStringLiteral(SKYVANE_BINARY_DIR "/skyvane"),
                  QStringList{QStringLiteral("--headless")} + arguments);
}
