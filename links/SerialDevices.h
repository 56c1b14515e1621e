// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <QStringList>

// The serial devices of this machine a TNC may hang on, for the operator to choose from.
namespace SerialDevices {

// The stable names under serial/by-id first (they survive re-plugging), then USB serial
// adapters, USB modems, Bluetooth serial links, and the built-in ports that have a UART
// behind them (the kernel makes a node for every possible one). Numbers sort as numbers:
// ttyUSB2 before ttyUSB10. `devRoot` is the device folder, "/dev" on a real machine.
QStringList present(const QString& devRoot = QStringLiteral("/dev"));

// A built-in port node that answers as a serial line with hardware behind it.
bool answers(const QString& path);

// The path names something now (a symlink counts by its target). A device that is not there
// is still a valid choice: USB TNCs come and go.
bool exists(const QString& path);

} // namespace SerialDevices
