// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ObjectEntry.h"

#include <gtest/gtest.h>

namespace {

bool sameEntry(const StoredObject& a, const StoredObject& b) {
    return a.Latitude == b.Latitude && a.Longitude == b.Longitude && a.Table == b.Table &&
           a.Symbol == b.Symbol && a.Index == b.Index && a.Ident == b.Ident &&
           a.Comment == b.Comment && a.CommentFile == b.CommentFile && a.Default == b.Default &&
           a.ST == b.ST && a.SL == b.SL;
}

TEST(ObjectEntry, EveryKeyOfEveryEntryComesBackPlacedOrNot) {
    struct Row {
        int slot;
        StoredObject entry;
        bool placed;
    };
    const Row rows[] = {
        {0,
         {"5130.00N", "00045.00W", "/", ">", 4, "CAR", "Net", "/tmp/c.txt", "Def", 100, 200, {}},
         true},
        {0,
         {"5130.00N", "00045.00W", "/", "_", 12, "", "", "/tmp/wx.txt", "% none", 1, 2, {}},
         true},
        {1, {"0000.00S", "17959.99E", "\\", "P", 10, "PARK", "Free", "", "", 7, 8, {}}, true},
        // Never placed: its comment file, default comment, table and symbol place stay.
        {2, {"", "", "/", "", 0, "", "typed", "/home/op/c.txt", "% gone", 30, 40, {}}, false},
        {1, StoredObject(), false},
    };
    for (const Row& r : rows) {
        const RestoredObject restored = restoreObject(r.entry, r.slot);
        EXPECT_EQ(restored.placed, r.placed) << r.slot;
        EXPECT_FALSE(restored.refused);
        EXPECT_EQ(restored.object.hasPosition, r.placed);
        EXPECT_TRUE(sameEntry(storeObject(restored.object), r.entry))
            << r.slot << " " << r.entry.Ident.toStdString();
    }
}

TEST(ObjectEntry, WhatCannotBeSentIsRepairedOrRefused) {
    struct Row {
        int slot;
        const char* latitude;
        const char* longitude;
        const char* table;
        const char* code;
        int index;
        // Expected:
        bool placed, refused;
        int symbol;
        const char* tableOut;
        const char* codeOut;
    };
    const Row rows[] = {
        // Position texts this program never writes are no position.
        {0, "51.30.00N", "00045.00W", "/", ">", 4, false, true, 4, "/", ">"},
        {0, "5130.00N", "", "/", ">", 4, false, true, 4, "/", ">"},
        {0, "9130.00N", "00045.00W", "/", ">", 4, false, true, 4, "/", ">"},
        // A longitude without a latitude is an object never placed, as it always was.
        {0, "", "00045.00W", "", "", 0, false, false, 0, "", ""},
        // The weather station only in slot 0; indexes outside the list are no symbol.
        {1, "5130.00N", "00045.00W", "/", "_", 12, true, false, 0, "/", "_"},
        {0, "5130.00N", "00045.00W", "", "", 13, true, false, 0, "", ""},
        {2, "5130.00N", "00045.00W", "", "", -1, true, false, 0, "", ""},
        // Characters that are not single ones come from the symbol table.
        {0, "5130.00N", "00045.00W", "//", "", 4, true, false, 4, "/", ">"},
        {0, "5130.00N", "00045.00W", "\\", "", 12, true, false, 12, "\\", "_"},
        {1, "5130.00N", "00045.00W", "ab", "cd", 0, true, false, 0, "", ""},
    };
    for (const Row& r : rows) {
        StoredObject entry;
        entry.Latitude = QString::fromLatin1(r.latitude);
        entry.Longitude = QString::fromLatin1(r.longitude);
        entry.Table = QString::fromLatin1(r.table);
        entry.Symbol = QString::fromLatin1(r.code);
        entry.Index = r.index;
        const RestoredObject got = restoreObject(entry, r.slot);
        const std::string row = std::to_string(r.slot) + " " + r.latitude + " " + r.longitude +
                                " " + std::to_string(r.index);
        EXPECT_EQ(got.placed, r.placed) << row;
        EXPECT_EQ(got.refused, r.refused) << row;
        EXPECT_EQ(got.object.hasPosition, r.placed) << row;
        // A refused position never reaches the object, so it cannot reach a report.
        EXPECT_EQ(got.object.latitude.isEmpty(), !r.placed) << row;
        EXPECT_EQ(got.object.symbolNumber, r.symbol) << row;
        EXPECT_EQ(got.object.table, QString::fromLatin1(r.tableOut)) << row;
        EXPECT_EQ(got.object.code, QString::fromLatin1(r.codeOut)) << row;
    }
}

// What the symbol list and the comment box could never have put in the file keeps the entry
// off the map, its fault named; what could have been typed comes back placed.
TEST(ObjectEntry, WhatCouldNotHaveBeenTypedKeepsTheEntryOffTheMap) {
    struct Row {
        const char* table;
        const char* code;
        QString comment;
        bool utf8;
        const char* fault; // the start of the fault, or "" when placed
    };
    const Row rows[] = {
        {"/", ">", QStringLiteral("Net tonight"), false, ""},
        {"7", "#", QStringLiteral("Overlay digit"), false, ""},
        {"D", "&", QStringLiteral("Overlay letter"), false, ""},
        {"#", ">", QString(), false, "symbol table \"#\""},
        {"a", ">", QString(), false, "symbol table \"a\""},
        {"/", " ", QString(), false, "symbol \" \""},
        {"/", "\u00e9", QString(), false, "symbol \"\u00e9\""},
        {"/", ">", QString(41, QLatin1Char('x')), false, "comment"},
        {"/", ">", QStringLiteral("Volts |#0|"), false, "comment"},
        {"/", ">", QStringLiteral("\u65e5\u672c"), false, "comment"},
        {"/", ">", QStringLiteral("\u65e5\u672c"), true, ""},
        {"/", ">", QString(14, QChar(0x65e5)), true, "comment"}, // 42 bytes as UTF-8
    };
    for (const Row& r : rows) {
        StoredObject entry;
        entry.Latitude = QStringLiteral("5130.00N");
        entry.Longitude = QStringLiteral("00045.00W");
        entry.Table = QString::fromUtf8(r.table);
        entry.Symbol = QString::fromUtf8(r.code);
        entry.Index = 4;
        entry.Ident = QStringLiteral("CAR");
        entry.Comment = r.comment;
        const RestoredObject got = restoreObject(entry, 1, {}, r.utf8);
        const std::string row = std::string(r.table) + r.code + " " + r.comment.toStdString();
        EXPECT_EQ(got.placed, *r.fault == 0) << row;
        EXPECT_TRUE(*r.fault ? got.fault.startsWith(QString::fromUtf8(r.fault))
                             : got.fault.isEmpty())
            << row << ": " << got.fault.toStdString();
        EXPECT_EQ(got.object.hasPosition, got.placed) << row;
        // Nothing but the symbol list's own characters could reach a report.
        if (!got.placed && !QString::fromUtf8(r.fault).startsWith("comment")) {
            EXPECT_EQ(got.object.table + got.object.code, "/>") << row;
        }
        // The comment stays for the operator to mend and is written back unchanged.
        EXPECT_EQ(got.object.comment, r.comment) << row;
    }
}

TEST(ObjectEntry, TheIdentifierGivesTheNameField) {
    StoredObject entry;
    entry.Ident = QStringLiteral("TENT");
    EXPECT_EQ(restoreObject(entry, 1).object.nameField, ";TENT     *");
}

TEST(ObjectEntry, WhatTheFileDoesNotHoldStaysWithTheObject) {
    BeaconObject current;
    current.timeStamp = QStringLiteral("081200z");
    current.interval = 45;
    current.latitude = QStringLiteral("4000.00N");
    current.hasPosition = true;
    StoredObject entry;
    entry.Ident = QStringLiteral("TENT");
    const BeaconObject o = restoreObject(entry, 0, current).object;
    EXPECT_EQ(o.timeStamp, "081200z");
    EXPECT_EQ(o.interval, 45);
    // The position is the file's: none.
    EXPECT_FALSE(o.hasPosition);
    EXPECT_EQ(o.latitude, "");
}

} // namespace
