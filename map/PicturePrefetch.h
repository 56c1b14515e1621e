// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/PictureLoader.h"

#include <QDateTime>
#include <QString>
#include <future>

// Decodes the map picture the window will open at start-up on a worker thread while the window
// is still being built, so that the decode and its page faults do not hold up the first frame.
// Whoever asks for a picture gets the same result as PictureLoader::load at that moment: a
// picture decoded for another path, or from a file that has changed since, is decoded again.
class PicturePrefetch {
public:
    PicturePrefetch() = default;
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;
    ~PicturePrefetch();

    // Starts decoding `path`; a decode already under way is waited for and dropped.
    void start(const QString& path);
    // The picture of `path`: the one started for it if the file is unchanged, else read now.
    // Either way the prefetch is used up.
    LoadedPicture take(const QString& path);
    // Waits for a decode under way and lets its picture go: nobody will ask for it.
    void drop();
    bool pending() const { return m_pending.valid(); }

private:
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);

    QString m_path;
    Stamp m_stamp;
    std::future<LoadedPicture> m_pending;
};
