// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QStringList>

// What an APRS receiver makes of monitor lines ("SOURCE>DEST,PATH:info"): Dire Wolf's
// decode_aprs explains each one. Returns one block of explanation per line whose source is
// `source`, colours removed; records a test failure when decode_aprs is missing or hangs.
QStringList decodeAprs(const QStringList& lines, const QString& source);

// decode_aprs comes with Dire Wolf, an optional package: empty when it is installed, otherwise
// the reason a test that needs it skips itself.
QString decodeAprsMissing();
