// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/StationCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(StationRefusal, ChecksComeInOneOrderAndATncHasNoWeatherDestination) {
    struct Row {
        const char* call;
        const char* destination;
        const char* wx;
        const char* path;
        bool tnc;
        const char* refusalStart; // the refusal begins with this; "" when OK is accepted
    };
    const Row rows[] = {
        {"G4ABC-1", "APRS", "WX", "", false, ""},
        {"G4ABC-1", "APRS", "WX", "WIDE1-1,WIDE2-1", false, ""},
        {"G4ABC-1", "APRS", "WX", "RELAY, WIDE", false, ""},
        // The path is checked first, even before a missing callsign.
        {"", "", "", "WIDE2.2", false, "Error in Unproto path"},
        {"G4ABC-1", "APRS", "WX", "A,B,C,D,E,F,G,H,I", false, "Error in Unproto path"},
        {"G4ABC-1", "APRS", "WX", "WIDE2-16", false, "Error in Unproto path"},
        {"", "APRS", "WX", "", false, "Callsign or Destination Address Required!"},
        {"G4ABC-1", "", "WX", "", false, "Callsign or Destination Address Required!"},
        {"NOCALL-3", "APRS", "WX", "", false, "Callsign or Destination Address Required!"},
        // Only exact capitals are "NOCALL"; the lower-case call fails as an address instead.
        {"nocall-3", "APRS", "WX", "", false, "Callsign (including SSID): "},
        {"G4ABCDEF", "APRS", "WX", "", false, "Callsign (including SSID): "},
        {"G4ABC-1", "AP RS", "WX", "", false, "Destination Address: "},
        {"G4ABC-1", "APRS", "W.X", "", false, "Wx beacon destination: "},
        {"G4ABC-1", "APRS", "", "", false, "Wx beacon destination: "},
        // A TNC in command mode never uses the weather destination.
        {"G4ABC-1", "APRS", "W.X", "", true, ""},
    };
    for (const Row& r : rows) {
        const StationEntry entry{QString::fromLatin1(r.call), QString::fromLatin1(r.destination),
                                 QString::fromLatin1(r.wx), QString::fromLatin1(r.path), r.tnc};
        const QString refusal = stationRefusal(entry);
        const QString expected = QString::fromLatin1(r.refusalStart);
        if (expected.isEmpty())
            EXPECT_EQ(refusal, "") << r.call << " " << r.destination << " " << r.path;
        else
            EXPECT_TRUE(refusal.startsWith(expected) && refusal.size() >= expected.size())
                << refusal.toStdString() << " for " << r.call << " " << r.path;
    }
}

} // namespace
