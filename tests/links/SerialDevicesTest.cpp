// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/SerialDevices.h"

#include "support/PtyPair.h"
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(SerialDevices, StableNamesFirstThenAdaptersThenPortsThatAnswer) {
    QTemporaryDir dev;
    ASSERT_TRUE(dev.isValid());
    const QDir root(dev.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("serial/by-id")));
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyUSB0", "ttyACM0", "rfcomm1", "tty0",
                             "ttyAMA0", "console", "ttyS1"})
        touch(root.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"),
                            root.filePath(QStringLiteral("serial/by-id/usb-FTDI_TNC-if00"))));
    // A stable name stays listed while its adapter is unplugged: it is what the user chose.
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB7"),
                            root.filePath(QStringLiteral("serial/by-id/usb-Gone-if00"))));
    // ttyS0 has a line behind it (a pseudo-terminal); ttyS1 is a node without one.
    PtyPair pty;
    ASSERT_FALSE(pty.path.isEmpty());
    ASSERT_TRUE(QFile::link(pty.path, root.filePath(QStringLiteral("ttyS0"))));

    const QString d = dev.path();
    EXPECT_EQ(SerialDevices::present(d),
              (QStringList{d + "/serial/by-id/usb-FTDI_TNC-if00", d + "/serial/by-id/usb-Gone-if00",
                           d + "/ttyUSB0", d + "/ttyUSB2", d + "/ttyUSB10", d + "/ttyACM0",
                           d + "/rfcomm1", d + "/ttyS0"}));

    EXPECT_TRUE(SerialDevices::exists(pty.path));
    EXPECT_TRUE(SerialDevices::exists(d + "/serial/by-id/usb-FTDI_TNC-if00"));
    EXPECT_FALSE(SerialDevices::exists(d + "/serial/by-id/usb-Gone-if00"));
    EXPECT_FALSE(SerialDevices::exists(QString()));
    EXPECT_FALSE(SerialDevices::answers(d + "/ttyS1"));
    EXPECT_FALSE(SerialDevices::answers(d + "/ttyS9"));
}

TEST(SerialDevices, NoDeviceFolderGivesAnEmptyList) {
    EXPECT_TRUE(SerialDevices::present(QStringLiteral("/nonexistent-skyvane-dev")).isEmpty());
}
