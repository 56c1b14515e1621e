// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/CommentFile.h"
#include "beacon/Report.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QDateTime evening(QDate(2026, 3, 6), QTime(19, 5), Qt::OffsetFromUTC, 3600);

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

TEST(CommentFile, ReadsFirstTwoLinesWhateverTheLineEnds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        QByteArray bytes;
        const char* line1;
        const char* line2;
    } rows[] = {
        {"crlf.txt", "06/03/07 14:30\r\n$ Temp 12C\r\nignored\r\n", "06/03/07 14:30", "$ Temp 12C"},
        {"lf.txt", "06/03/07 14:30\n$ Temp 12C\n", "06/03/07 14:30", "$ Temp 12C"},
        {"cr.txt", "06/03/07 14:30\r$ Temp 12C", "06/03/07 14:30", "$ Temp 12C"},
        {"noend.txt", "l1\nl2", "l1", "l2"},
        {"one.txt", "06/03/07 14:30\r\n", "06/03/07 14:30", ""},
        {"blank2.txt", "06/03/07 14:30\r\n\r\nthird", "06/03/07 14:30", ""},
        {"empty.txt", "", "", ""},
        {"cp1252.txt", "x\r\nCaf\xe9 \x80 5\r\n", "x", "Caf\xc3\xa9 \xe2\x82\xac 5"},
    };
    for (const auto& row : rows) {
        const CommentFileText text = readCommentFile(writeFile(dir, row.name, row.bytes));
        EXPECT_EQ(text.state, CommentFileText::State::Read) << row.name;
        EXPECT_EQ(text.line1, q(row.line1)) << row.name;
        EXPECT_EQ(text.line2, q(row.line2)) << row.name;
        EXPECT_TRUE(text.error.isEmpty());
    }
}

TEST(CommentFile, MissingAndUnreadableFilesAreTold) {
    QTemporaryDir dir;
    EXPECT_EQ(readCommentFile(QString()).state, CommentFileText::State::Missing);
    EXPECT_EQ(readCommentFile(dir.filePath(q("absent.txt"))).state,
              CommentFileText::State::Missing);

    const CommentFileText folder = readCommentFile(dir.path());
    EXPECT_EQ(folder.state, CommentFileText::State::Unreadable);
    EXPECT_TRUE(folder.error.contains(QDir::toNativeSeparators(dir.path())))
        << folder.error.toStdString();

    // A named pipe nobody writes to would hang the send.
    const QString fifo = dir.filePath(q("pipe.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const CommentFileText pipe = readCommentFile(fifo);
    EXPECT_EQ(pipe.state, CommentFileText::State::Unreadable);
    EXPECT_TRUE(pipe.error.contains(fifo)) << pipe.error.toStdString();

    // Exists, opens, and fails on the first read.
    const CommentFileText failing = readCommentFile(q("/proc/self/mem"));
    EXPECT_EQ(failing.state, CommentFileText::State::Unreadable);
    EXPECT_TRUE(failing.error.contains(q("/proc/self/mem"))) << failing.error.toStdString();
}

TEST(CommentFile, HugeFileReadsOnlyItsStart) {
    QTemporaryDir dir;
    QByteArray bytes = "06/03/07 14:30\r\nFirst\r\n";
    bytes += QByteArray(8 * 1024 * 1024, 'z');
    const CommentFileText text = readCommentFile(writeFile(dir, "big.txt", bytes));
    EXPECT_EQ(text.state, CommentFileText::State::Read);
    EXPECT_EQ(text.line2, q("First"));
}

TEST(CommentFile, DateLineReadings) {
    const struct {
        const char* line;
        QDateTime expected; // invalid: unreadable
    } rows[] = {
        {"06/03/07 14:30", QDateTime(QDate(2007, 3, 6), QTime(14, 30))},
        {"6/3/2026 9:05", QDateTime(QDate(2026, 3, 6), QTime(9, 5))},
        {"06-03-07 14:30:15", QDateTime(QDate(2007, 3, 6), QTime(14, 30, 15))},
        {"06.03.07", QDateTime(QDate(2007, 3, 6), QTime(0, 0))},
        {"06/03", QDateTime(QDate(2026, 3, 6), QTime(0, 0))},
        {"06/03/07 2:30 PM", QDateTime(QDate(2007, 3, 6), QTime(14, 30))},
        {"06/03/07 12:10 am", QDateTime(QDate(2007, 3, 6), QTime(0, 10))},
        {"06/03/99 14:30", QDateTime(QDate(1999, 3, 6), QTime(14, 30))},
        {"06/03/31 14:30", QDateTime(QDate(2031, 3, 6), QTime(14, 30))},
        // Word first: day after the first blank, month 01, the rest as it stands.
        {"Tue 06 07 14:30", QDateTime(QDate(2007, 1, 6), QTime(14, 30))},
        {"Mon 06 14:30", QDateTime(QDate(2026, 1, 6), QTime(14, 30))},
        {"Friday 31 2025", QDateTime(QDate(2025, 1, 31), QTime(0, 0))},
        {"", QDateTime()},
        {"31/02/07 10:00", QDateTime()},
        {"06/03/07 25:00", QDateTime()},
        {"06/13/07 10:00", QDateTime()},
        {"06/03/07 13:00 PM", QDateTime()},
        {"garbage", QDateTime()},
        {"x yz 10:00", QDateTime()},
        {"06/03/07 14:30 trailing", QDateTime()},
        {"7 o'clock", QDateTime()},
    };
    for (const auto& row : rows) {
        const std::optional<QDateTime> got = commentFileDateTime(q(row.line), evening);
        if (!row.expected.isValid()) {
            EXPECT_FALSE(got.has_value()) << row.line;
            continue;
        }
        ASSERT_TRUE(got.has_value()) << row.line;
        EXPECT_EQ(got->date(), row.expected.date()) << row.line;
        EXPECT_EQ(got->time(), row.expected.time()) << row.line;
    }
}

TEST(CommentFile, DollarBecomesTheFileDate) {
    CommentFileText file;
    file.state = CommentFileText::State::Read;
    file.line1 = q("06/03/07 14:30");
    file.line2 = q("$ Temp 12C");
    const CommentFromFile got = commentFromFile(file, q("unused"), evening, q("dd hh:MM"));
    EXPECT_EQ(got.comment, q("$ Temp 12C"));
    EXPECT_EQ(got.fileDateText, q("06 14:30"));
    EXPECT_EQ(got.currentTimeText, q("06 19:05"));
    EXPECT_EQ(Report::applyCommentMarkers(got.comment, got.fileDateText, got.currentTimeText),
              q("06 14:30 Temp 12C"));
}

TEST(CommentFile, WordFirstDateLineGivesMonthOne) {
    CommentFileText file;
    file.state = CommentFileText::State::Read;
    file.line1 = q("Tue 06 07 14:30");
    file.line2 = q("$!");
    const CommentFromFile got = commentFromFile(file, {}, evening, q("dd/mm/yy hh:MM"));
    EXPECT_EQ(got.fileDateText, q("06/01/07 14:30"));
}

TEST(CommentFile, MissingFileSendsTheDefaultWithTheCurrentTime) {
    CommentFileText missing;
    const CommentFromFile got =
        commentFromFile(missing, q("% No data available"), evening, q("hhMM"));
    EXPECT_EQ(got.comment, q("% No data available"));
    EXPECT_EQ(got.fileTime, evening);
    EXPECT_EQ(Report::applyCommentMarkers(got.comment, got.fileDateText, got.currentTimeText),
              q("1905 No data available"));
}

TEST(CommentFile, UnreadableDateLineFallsBackToNowAndLongLinesAreCut) {
    CommentFileText file;
    file.state = CommentFileText::State::Read;
    file.line1 = q("not a date");
    file.line2 = QString(50, QLatin1Char('w'));
    const CommentFromFile got = commentFromFile(file, q("default"), evening, q("ddhhMM"));
    EXPECT_EQ(got.comment, QString(40, QLatin1Char('w')));
    EXPECT_EQ(got.fileTime, evening);
    EXPECT_EQ(got.fileDateText, q("061905"));

    file.line2.clear(); // a one-line file
    EXPECT_EQ(commentFromFile(file, q("default"), evening, q("hhMM")).comment, QString());
}
