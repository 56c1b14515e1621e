// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/Report.h"
#include "beacon/BeaconObject.h"
#include "beacon/SymbolTable.h"
#include "support/Text.h"

#include <gtest/gtest.h>

namespace {

const QDateTime march6 = QDateTime(QDate(2026, 3, 6), QTime(15, 23, 41), Qt::UTC);

} // namespace

TEST(Report, CarObjectComesOutByteForByte) {
    const SymbolInfo* car = Symbols::byItemText(q("Car"));
    ASSERT_NE(car, nullptr);
    BeaconObject o;
    o.identifier = q("ABC");
    o.nameField = Report::nameField(o.identifier);
    o.timeStamp = Report::timeStamp(march6);
    o.latitude = q("5130.25N");
    o.longitude = q("00007.50W");
    o.table = QString(QLatin1Char(car->table));
    o.code = QString(QLatin1Char(car->code));
    const QString header = Report::objectHeader(o);
    EXPECT_EQ(header.size(), 37);
    EXPECT_EQ(header + q("Net tonight"), q(";ABC      *061523z5130.25N/00007.50W>Net tonight"));
}

TEST(Report, TimeStampIsUtcDayHourMinute) {
    EXPECT_EQ(Report::timeStamp(march6), q("061523z"));
    EXPECT_EQ(Report::timeStamp(QDateTime(QDate(2026, 12, 31), QTime(0, 0), Qt::UTC)),
              q("310000z"));
    // A local time is turned to UTC first: 01:05 at UTC+2 is 23:05 of the day before.
    EXPECT_EQ(Report::timeStamp(QDateTime(QDate(2026, 3, 1), QTime(1, 5), Qt::OffsetFromUTC, 7200)),
              q("282305z"));
}

TEST(Report, NameFieldPadsCutsAndMarksKilled) {
    EXPECT_EQ(Report::nameField(q("ABC")), q(";ABC      *"));
    EXPECT_EQ(Report::nameField(q("ABC"), true), q(";ABC      _"));
    EXPECT_EQ(Report::nameField(q("NINECHARS")), q(";NINECHARS*"));
    EXPECT_EQ(Report::nameField(q("TENCHARSXX")), q(";TENCHARSX*"));
    EXPECT_EQ(Report::nameField(QString()).size(), 11);
}

TEST(Report, IncompleteObjectHasEmptyHeader) {
    // Name field and time stamp alone make 18 characters.
    EXPECT_EQ(Report::objectHeader(q(";ABC      *"), q("061523z"), {}, {}, {}, {}), QString());
    // 19 characters is still short; 20 is enough.
    EXPECT_EQ(Report::objectHeader(q(";ABC      *"), q("061523z"), q("5"), {}, {}, {}), QString());
    EXPECT_EQ(Report::objectHeader(q(";ABC      *"), q("061523z"), q("51"), {}, {}, {}),
              q(";ABC      *061523z51"));
    EXPECT_EQ(Report::objectHeader(BeaconObject{}), QString());
}

TEST(Report, WeatherHeaderUsesLocalTimeAndIsNeverEmptied) {
    const QDateTime local(QDate(2026, 3, 6), QTime(9, 5), Qt::OffsetFromUTC, -5 * 3600);
    const QString header =
        Report::weatherHeader(local, q("5130.25N"), q("/"), q("00007.50W"), q("_"));
    EXPECT_EQ(header, q("/060905/5130.25N/00007.50W_"));
    EXPECT_EQ(header.size(), 27);
    // Without a position it is short, and still kept.
    EXPECT_EQ(Report::weatherHeader(local, {}, q("/"), {}, q("_")), q("/060905//_"));
}

TEST(Report, CommentMarkers) {
    const struct {
        const char* comment;
        const char* fileDate;
        const char* now;
        const char* sent;
    } rows[] = {
        {"% Net at", "", "1905", "1905 Net at"},
        {"%", "", "1905", "1905"},
        {"$", "06 14:30", "1905", "$"},
        {"$ Temp 12C", "06 14:30", "1905", "06 14:30 Temp 12C"},
        {"No markers", "06 14:30", "1905", "No markers"},
        {"Mid % and $", "06 14:30", "1905", "Mid % and $"},
        // The file date may itself start with "%"-free text; a "$%" pair gets both texts.
        {"$%x", "", "1905", "1905x"},
        {"$x", "", "1905", "x"},
        {"%% twice", "", "1905", "1905% twice"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Report::applyCommentMarkers(q(row.comment), q(row.fileDate), q(row.now)),
                  q(row.sent))
            << row.comment;
}

TEST(Report, MarkersKeepCommentAtFortyCharacters) {
    const QString comment = q("%") + QString(39, QLatin1Char('x'));
    const QString sent = Report::applyCommentMarkers(comment, {}, q("06 15:23"));
    EXPECT_EQ(sent, q("06 15:23") + QString(32, QLatin1Char('x')));
    EXPECT_EQ(sent.size(), 40);
    const QString dollar = q("$") + QString(39, QLatin1Char('y'));
    EXPECT_EQ(Report::applyCommentMarkers(dollar, q("061430"), {}).size(), 40);
    // A short comment is not padded.
    EXPECT_EQ(Report::applyCommentMarkers(q("%"), {}, q("1905")).size(), 4);
}

TEST(Report, TimeButton) {
    EXPECT_EQ(Report::withTimeMarker(q("Hello")), q("% Hello"));
    EXPECT_EQ(Report::withTimeMarker(Report::withTimeMarker(q("Hello"))), q("% Hello"));
    EXPECT_EQ(Report::withTimeMarker(QString()), q("% "));
    EXPECT_EQ(Report::withTimeMarker(q("%x")), q("%x"));
    const QString c39 = QString(39, QLatin1Char('c'));
    EXPECT_EQ(Report::withTimeMarker(c39), q("% ") + c39.left(38));
    EXPECT_EQ(Report::withTimeMarker(c39).size(), 40);
}

// How a comment is cut: characters in Windows-1252, bytes in UTF-8, a character never
// halved; a weather data line cut where a group ends. (What a comment may hold: ObjectEntry.)
TEST(Report, CommentsAndWeatherDataFitWhatTheAirCarries) {
    struct Fit {
        QString text;
        bool utf8;
        QString sent;
    };
    const QString e39 = q("Caf") + QString(36, QLatin1Char('e'));
    const Fit fits[] = {
        {QString(45, QLatin1Char('x')), false, QString(40, QLatin1Char('x'))},
        {e39 + q("\u00e9!"), false, e39 + q("\u00e9")},
        {e39 + q("\u00e9!"), true, e39}, // 2 bytes do not fit in 1
        {q("\U0001F600") + QString(38, QLatin1Char('x')), true,
         q("\U0001F600") + QString(36, QLatin1Char('x'))},
        {q("Caf\u00e9"), true, q("Caf\u00e9")},
    };
    for (const Fit& f : fits)
        EXPECT_EQ(Report::fitComment(f.text, f.utf8), f.sent) << f.text.toStdString();
    EXPECT_EQ(Report::applyCommentMarkers(q("%") + e39, {}, q("1905"), true),
              q("1905") + e39.left(36));

    const QString full = q("090/005g012t068r005p010P020h55b10132w"); // 37: as it is
    EXPECT_EQ(Report::fitWeatherData(full), full);
    EXPECT_EQ(Report::fitWeatherData(q("090/005g012t068r005p010P020h55b10132l1234w")),
              q("090/005g012t068r005p010P020h55b10132"));
    EXPECT_EQ(Report::fitWeatherData(q("090/005g012t068r005p010P020s123L456h55b10132w")),
              q("090/005g012t068r005p010P020s123L456h55"));
    EXPECT_EQ(Report::fitWeatherData(QString(45, QLatin1Char('1'))), QString(7, QLatin1Char('1')));
}
