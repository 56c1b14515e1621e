// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/NextReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

BeaconObject placed() {
    BeaconObject o;
    o.identifier = QStringLiteral("AID1");
    o.nameField = QStringLiteral(";AID1     *");
    o.symbolNumber = 2;
    o.table = QStringLiteral("/");
    o.code = QStringLiteral("+");
    o.latitude = QStringLiteral("5107.30N");
    o.longitude = QStringLiteral("00112.60E");
    o.hasPosition = true;
    o.timeStamp = QStringLiteral("010000z");
    o.defaultComment = QStringLiteral("Default words");
    o.header = QStringLiteral("stale");
    return o;
}

CommentFileText fileOf(const char* line1, const char* line2) {
    CommentFileText f;
    f.state = CommentFileText::State::Read;
    f.line1 = QString::fromLatin1(line1);
    f.line2 = QString::fromLatin1(line2);
    f.line2Ended = true;
    return f;
}

} // namespace

TEST(NextReport, WhatASendPutsOnTheAirFromTypedTextOrAFile) {
    ReportMoment base;
    base.nowUtc = QDateTime(QDate(2026, 3, 6), QTime(15, 23, 40), Qt::UTC);
    base.nowLocal = QDateTime(QDate(2026, 3, 6), QTime(16, 23, 40));
    base.dateFormat = QStringLiteral("hh:nn");
    base.fileDateText = QStringLiteral("earlier");
    const QString object = QStringLiteral(";AID1     *061523z5107.30N/00112.60E+");
    CommentFileText missing;
    CommentFileText unreadable;
    unreadable.state = CommentFileText::State::Unreadable;
    unreadable.error = QStringLiteral("Cannot read the comment file x: no.");

    struct Row {
        const char* name;
        bool weather;
        bool fromFile;
        CommentFileText file;
        const char* typed;
        QString info; // empty: refused with the file's error
    };
    const Row rows[] = {
        {"typed, time marker", false, false, {}, "% Net", object + "16:23 Net"},
        {"typed, date marker without a file", false, false, {}, "$ on", object + "earlier on"},
        {"file line 2, its date", false, true, fileOf("06/03/26 09:15", "$ pump"), "x",
         object + "09:15 pump"},
        {"file cut to 40", false, true, fileOf("", QByteArray(45, 'w').constData()), "",
         object + QString(40, QLatin1Char('w'))},
        {"no file: the default comment", false, true, missing, "x", object + "Default words"},
        {"unreadable file", false, true, unreadable, "x", {}},
        // Typed readings go out under the header they were set with.
        {"weather typed", true, false, {}, "090/005g012t068", "stale090/005g012t068"},
        {"weather from its file", true, true, fileOf("06/03/26 14:05", "% 090/005"), "",
         "/061405/5107.30N/00112.60E+061405 090/005"},
    };
    for (const Row& r : rows) {
        ReportMoment m = base;
        m.weatherStation = r.weather;
        m.fromFile = r.fromFile;
        m.file = r.file;
        m.typedComment = QString::fromLatin1(r.typed);
        const ComposedReport c = composeReport(placed(), m);
        EXPECT_EQ(c.error.isEmpty(), !r.info.isEmpty()) << r.name;
        if (r.info.isEmpty())
            continue;
        EXPECT_EQ(c.info(), r.info) << r.name;
        EXPECT_EQ(c.object.timeStamp, "061523z") << r.name;
    }

    // As UTF-8 the name keeps its width in bytes and the comment is cut at 40 bytes.
    ReportMoment utf8 = base;
    utf8.utf8 = true;
    utf8.typedComment = QString(21, QChar(0xe9));
    BeaconObject accented = placed();
    accented.nameField = QStringLiteral(";CAF\u00c9     *");
    EXPECT_EQ(composeReport(accented, utf8).info(),
              QStringLiteral(";CAFE     *061523z5107.30N/00112.60E+") + QString(20, QChar(0xe9)));
}

TEST(NextReport, AGlanceNeverWaitsForAFileBeingWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("comment.txt");
    EXPECT_EQ(glanceAtCommentFile(path).state, CommentFileText::State::Missing);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("06/03/26 09:15\r\nHalf a li");
    file.flush();
    // Written a moment ago: its writer may be at work on it.
    EXPECT_EQ(glanceAtCommentFile(path).state, CommentFileText::State::Busy);
    file.write("ne\r\n");
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-5),
                                 QFileDevice::FileModificationTime));
    file.close();
    const CommentFileText seen = glanceAtCommentFile(path);
    EXPECT_EQ(seen.state, CommentFileText::State::Read);
    EXPECT_EQ(seen.line2, "Half a line");
}
