// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// What a Send Now or a Start needs to know about an object, the link and the station before
// a report is built.
struct SendRequest {
    bool starting = false; // a Start (its button or its minute timer), not Send Now
    bool connected = false;
    bool weatherStation = false; // object 1 carrying the weather symbol: no identifier needed
    QString identifier;
    int symbolNumber = 0;
    bool hasPosition = false;
    QString destination;        // the station's own destination address
    QString weatherDestination; // the station's weather destination
    bool tncLink = false;       // a TNC in command mode sends to the address it was given
    // The link was lost and is coming back by itself: what it is doing now. A Start is not
    // refused for it; a report is recorded as not sent and goes out once the link is back.
    QString linkDown;
};

struct SendPlan {
    QString refusal;     // the message that refuses the report; empty when it may go
    QString destination; // where this one report goes
    bool ok() const { return refusal.isEmpty(); }
};

// The refusals, in this order: no link (Start only), no identifier, no symbol (Send Now only
// once the object has a position), no position (Start only). The weather station's report
// goes to the weather destination except through a TNC in command mode; the station's own
// destination stays as it is.
SendPlan prepareSend(const SendRequest& request);

// The last check, once the header has been rebuilt: an empty header is no object.
QString reportRefusal(const QString& header);
