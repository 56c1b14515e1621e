// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/SerialDevices.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace SerialDevices {

namespace {

// "ttyUSB10" as ("ttyUSB", 10), so that numbered names sort by their number.
std::pair<QString, qint64> sortKey(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    bool ok = false;
    const qint64 number = name.mid(digits).toLongLong(&ok);
    return {name.left(digits), ok ? number : -1};
}

QStringList entries(const QString& folder, const QStringList& patterns) {
    // Device nodes and symlinks (dangling ones too) are "system" entries to QDir.
    QStringList names = QDir(folder).entryList(
        patterns, QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return sortKey(a) < sortKey(b); });
    QStringList paths;
    for (const QString& name : names)
        paths << QDir(folder).filePath(name);
    return paths;
}

} // namespace

QStringList present(const QString& devRoot) {
    QStringList out = entries(devRoot + QStringLiteral("/serial/by-id"), {QStringLiteral("*")});
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "rfcomm*"})
        out += entries(devRoot, {QString::fromLatin1(pattern)});
    for (const QString& path : entries(devRoot, {QStringLiteral("ttyS*")}))
        if (answers(path))
            out << path;
    return out;
}

bool answers(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY; // held exclusively, by this program's own link for one
    bool ok = true;
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && serial.type == PORT_UNKNOWN)
        ok = false;
    termios t{};
    if (ok && ::tcgetattr(fd, &t) != 0)
        ok = false;
    ::close(fd);
    return ok;
}

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

} // namespace SerialDevices
