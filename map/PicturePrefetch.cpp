// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PicturePrefetch.h"

#include <QFileInfo>
#include <system_error>

PicturePrefetch::~PicturePrefetch() {
    // The worker holds the path by value; the picture it may still be making is dropped.
    if (m_pending.valid())
        m_pending.wait();
}

PicturePrefetch::Stamp PicturePrefetch::stampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified()};
}

void PicturePrefetch::start(const QString& path) {
    drop();
    m_path = path;
    // Taken before the worker opens the file, so a change while it reads is seen at take().
    m_stamp = stampOf(path);
    try {
        m_pending = std::async(std::launch::async, [path] { return PictureLoader::load(path); });
    } catch (const std::system_error&) {
        // No thread to be had: the picture is read when it is asked for.
        m_pending = {};
    }
}

void PicturePrefetch::drop() {
    if (m_pending.valid())
        m_pending.get();
}

LoadedPicture PicturePrefetch::take(const QString& path) {
    if (!m_pending.valid())
        return PictureLoader::load(path);
    LoadedPicture picture = m_pending.get();
    if (path != m_path || stampOf(path) != m_stamp)
        return PictureLoader::load(path);
    return picture;
}
