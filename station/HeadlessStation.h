// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class Clock;
class HeadlessDialogs;
class SettingsLock;
class Station;

// A station with no window, for a site nobody watches: the settings file and the remembered
// map's objects file, the link connected, and the objects that were running when the station
// last stopped started again once it is up.
class HeadlessStation : public QObject {
    Q_OBJECT
public:
    // An empty sentLogFolder records no sent reports.
    HeadlessStation(HeadlessDialogs& dialogs, Clock& clock, const QString& settingsPath,
                    const QString& sentLogFolder, QObject* parent = nullptr);
    ~HeadlessStation() override;

    // Reads the files, takes the settings file's lock and connects. Nothing when the station
    // runs; else the exit code, its one-line reason written: 2 for a file missing or
    // unreadable (nothing is written), 1 when another copy holds the settings file or the
    // link is set up so that it can never connect (no port or address). A link that does not
    // connect yet, or is lost later, is retried for as long as the station runs.
    std::optional<int> start();
    // Saves the objects and settings; 0 when all was written.
    int stop();
    Station& station() const { return *m_station; }
    // One line for the service manager: "Connected to 127.0.0.1:8000; objects running: PARK".
    QString serviceStatus() const;

private:
    HeadlessDialogs& m_dialogs;
    QString m_settingsPath;
    Station* m_station = nullptr;
    std::unique_ptr<SettingsLock> m_lock;
    QString m_lastStatus; // the status line written last
};
