// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/ObjectEntry.h"

#include "beacon/Report.h"

namespace {

bool validTable(const QString& table) {
    if (table.size() != 1)
        return false;
    const QChar c = table[0];
    return c == QLatin1Char('/') || c == QLatin1Char('\\') ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool validCode(const QString& code) {
    return code.size() == 1 && code[0].unicode() > 0x20 && code[0].unicode() < 0x7F;
}

} // namespace

RestoredObject restoreObject(const StoredObject& stored, int slot, const BeaconObject& current,
                             bool utf8) {
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
    // One character each, as a symbol of the list gives them; anything else was edited by hand.
    QStringList faults;
    if (stored.Table.size() == 1 && !validTable(stored.Table)) {
        faults << QStringLiteral("symbol table \"%1\"").arg(stored.Table);
        o.table = symbol ? QString(QLatin1Char(symbol->table)) : QString();
    }
    if (stored.Symbol.size() == 1 && !validCode(stored.Symbol)) {
        faults << QStringLiteral("symbol \"%1\"").arg(stored.Symbol);
        o.code = symbol ? QString(QLatin1Char(symbol->code)) : QString();
    }
    if (const QString why = Report::commentRefusal(stored.Comment, utf8);
        !why.isEmpty() || stored.Comment.size() > Report::MaxComment)
        faults << QStringLiteral("comment \"%1\": %2")
                      .arg(stored.Comment, why.isEmpty()
                                               ? QStringLiteral("it is longer than %1 characters.")
                                                     .arg(Report::MaxComment)
                                               : why);
    if (!faults.isEmpty()) {
        r.fault = faults.join(QStringLiteral("; "));
        r.placed = false;
        o.latitude.clear();
        o.longitude.clear();
        o.hasPosition = false;
    }
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
