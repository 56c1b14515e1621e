// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/BeaconObject.h"
#include "map/ObjectsFile.h"

// One objects-file entry as the object of its slot, and back. Every key comes through, also
// of an object that was never placed (its comment file and default comment stay with it).
struct RestoredObject {
    BeaconObject object;
    bool placed = false;  // the entry holds a position the object can be sent from
    bool refused = false; // it holds position texts that are no position (damaged, hand-edited)
    // What else it holds that could not have been typed ("symbol table \"#\""); the entry is
    // then not placed either, so nothing of it goes on the air unseen.
    QString fault;
};

// The entry of slot 0..2 over `current`, which keeps what the file does not hold (its time
// stamp, interval and schedule). Only position texts this program writes may reach a report: others
// leave the object unplaced and refused. A symbol index the slot cannot carry is no symbol;
// table and code characters that are not single ones come from the symbol table instead.
// A symbol table other than "/", "\\", a digit or a capital (an overlay), a symbol code that
// is no printable ASCII character, or a comment the comment box would refuse (`utf8`: the
// station's text option) is a fault: the symbol comes from the symbol table instead, and the
// comment stays for the operator to mend.
RestoredObject restoreObject(const StoredObject& stored, int slot, const BeaconObject& current = {},
                             bool utf8 = false);

// The entry that brings the object back.
StoredObject storeObject(const BeaconObject& object);
