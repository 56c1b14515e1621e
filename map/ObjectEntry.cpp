// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ObjectEntry.h"

#include "beacon/Report.h"

RestoredObject restoreObject(const StoredObject& stored, int slot, const BeaconObject& current) {
    RestoredObject r;
    r.object = current;
    BeaconObject& o = r.object;
    o.latitude.clear();
    o.longitude.clear();
    o.hasPosition = false;
    o.header.clear();
    if (!stored.Latitude.isEmpty()) {
        r.placed = ObjectsFile::isLatitudeText(stored.Latitude) &&
                   ObjectsFile::isLongitudeText(stored.Longitude);
        r.refused = !r.placed;
    }
    if (r.placed) {
        o.latitude = stored.Latitude;
        o.longitude = stored.Longitude;
        o.hasPosition = true;
    }
    const int maxIndex = slot == 0 ? Symbols::WeatherStation : Symbols::WeatherStation - 1;
    const SymbolInfo* symbol =
        stored.Index >= 1 && stored.Index <= maxIndex ? Symbols::byNumber(stored.Index) : nullptr;
    o.symbolNumber = symbol ? stored.Index : 0;
    // The stored characters go on the air; characters that are not single ones would break the
    // report's layout.
    o.table = stored.Table.size() == 1 ? stored.Table
              : symbol                 ? QString(QLatin1Char(symbol->table))
                                       : QString();
    o.code = stored.Symbol.size() == 1 ? stored.Symbol
             : symbol                  ? QString(QLatin1Char(symbol->code))
                                       : QString();
    o.identifier = stored.Ident;
    o.nameField = Report::nameField(o.identifier);
    o.comment = stored.Comment;
    o.commentFile = stored.CommentFile;
    o.defaultComment = stored.Default;
    o.symbolAt = QPoint(stored.SL, stored.ST);
    return r;
}

StoredObject storeObject(const BeaconObject& o) {
    StoredObject s;
    s.Latitude = o.latitude;
    s.Longitude = o.longitude;
    s.Table = o.table;
    s.Symbol = o.code;
    s.Index = o.symbolNumber;
    s.Ident = o.identifier;
    s.Comment = o.comment;
    s.CommentFile = o.commentFile;
    s.Default = o.defaultComment;
    s.ST = o.symbolAt.y();
    s.SL = o.symbolAt.x();
    s.Running = o.running ? QStringLiteral("1") : QStringLiteral("0");
    return s;
}
