// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/SendPlan.h"

#include <gtest/gtest.h>

namespace {

const char* const NotConnected = "Not connected to host.";
const char* const NoIdentifier = "An Identifier is required.";
const char* const NoSymbol = "A Symbol is required.";
const char* const NoPosition = "Select a location on the map first.";

TEST(PrepareSend, RefusesInOneOrderForStartAndSendNow) {
    struct Row {
        bool starting, connected, weather;
        const char* identifier;
        int symbol;
        bool position;
        const char* refusal;
    };
    const Row rows[] = {
        // Start: the link first, then what the object lacks.
        {true, false, false, "", 0, false, NotConnected},
        {true, false, false, "TENT", 4, true, NotConnected},
        {true, true, false, "", 0, false, NoIdentifier},
        {true, true, false, "", 0, true, NoIdentifier},
        {true, true, false, "TENT", 0, true, NoSymbol},
        {true, true, false, "TENT", 0, false, NoSymbol},
        {true, true, false, "TENT", 4, false, NoPosition},
        {true, true, false, "TENT", 4, true, ""},
        {true, true, true, "", 12, true, ""},
        {true, true, true, "", 12, false, NoPosition},
        // Send Now: the link is not its to check, a symbol only once there is a place, and a
        // missing place shows as an empty header later.
        {false, false, false, "TENT", 4, true, ""},
        {false, true, false, "", 0, true, NoIdentifier},
        {false, true, false, "ABC", 0, true, NoSymbol},
        {false, true, false, "XYZ", 0, false, ""},
        {false, true, false, "XYZ", 4, false, ""},
        {false, true, true, "", 12, true, ""},
    };
    for (const Row& r : rows) {
        SendRequest request;
        request.starting = r.starting;
        request.connected = r.connected;
        request.weatherStation = r.weather;
        request.identifier = QString::fromLatin1(r.identifier);
        request.symbolNumber = r.symbol;
        request.hasPosition = r.position;
        const SendPlan plan = prepareSend(request);
        EXPECT_EQ(plan.refusal, QString::fromLatin1(r.refusal))
            << r.starting << r.connected << r.weather << r.identifier << r.symbol << r.position;
        EXPECT_EQ(plan.ok(), *r.refusal == 0);
    }
}

TEST(PrepareSend, OnlyTheWeatherStationGoesToTheWeatherDestinationAndNotThroughATnc) {
    struct Row {
        bool weather, tnc;
        const char* destination;
    };
    const Row rows[] = {
        {false, false, "APRS"}, {true, false, "APWX"}, {true, true, "APRS"}, {false, true, "APRS"}};
    for (const Row& r : rows) {
        SendRequest request;
        request.weatherStation = r.weather;
        request.tncLink = r.tnc;
        request.destination = QStringLiteral("APRS");
        request.weatherDestination = QStringLiteral("APWX");
        EXPECT_EQ(prepareSend(request).destination, QString::fromLatin1(r.destination))
            << r.weather << r.tnc;
    }
}

TEST(PrepareSend, AnEmptyHeaderIsNoObject) {
    EXPECT_EQ(reportRefusal(QString()), "There is no Object to send");
    EXPECT_EQ(reportRefusal(QStringLiteral(";TENT     *081200z5115.00N/00015.00W>")), "");
}

} // namespace
