// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// One running copy per settings file: two copies on one file would put every object on the
// air twice. The lock is a lock file beside the settings file, held with flock, which the
// system lets go when its holder ends however it ends; the file names the holder's process.
class SettingsLock {
public:
    // Tries to take the lock of the settings file at `settingsPath`.
    explicit SettingsLock(const QString& settingsPath);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    bool held() const { return m_fd >= 0; }
    // When not held: the process that holds it, 0 when unknown.
    qint64 holder() const { return m_holder; }
    const QString& path() const { return m_path; }
    // Why the lock could not be taken, for a message; empty when held.
    QString refusal(const QString& settingsPath) const;

    // The lock file of a settings file: the same for every path that names that file.
    static QString lockPathFor(const QString& settingsPath);

private:
    QString m_path;
    int m_fd = -1;
    qint64 m_holder = 0;
    QString m_error; // the lock file could not be opened at all
};
