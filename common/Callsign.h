// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// A callsign in the one form an AX.25 address gives back: the SSID without leading zeros and
// "-0" dropped ("N0CALL-01" is "N0CALL-1", "N0CALL-0" is "N0CALL"). Anything else, an SSID
// that is no number included, is left as it is, so the station dialog still names the fault.
QString canonicalCall(const QString& call);
