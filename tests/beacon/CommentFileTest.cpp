// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/CommentFile.h"
#include "beacon/BeaconObject.h"
#include "beacon/Report.h"
#include "support/Text.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <thread>

namespace {

const QDateTime evening(QDate(2026, 3, 6), QTime(19, 5), Qt::OffsetFromUTC, 3600);

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
        // An editor that saved UTF-8 marks it; the mark is not part of the date line.
        {"bom.txt",
         "\xef\xbb\xbf"
         "06/03/07 14:30\r\nCaf\xc3\xa9\r\n",
         "06/03/07 14:30", "Caf\xc3\xa9"},
        {"bomonly.txt", "\xef\xbb\xbf", "", ""},
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

TEST(CommentFile, FilesOverTheSizeLimitAreRefused) {
    QTemporaryDir dir;
    QByteArray bytes = "06/03/07 14:30\r\nFirst\r\n";
    bytes += QByteArray(MaxCommentFileSize - bytes.size(), 'z');
    const CommentFileText atLimit = readCommentFile(writeFile(dir, "full.txt", bytes));
    EXPECT_EQ(atLimit.state, CommentFileText::State::Read);
    EXPECT_EQ(atLimit.line2, q("First"));

    const QString big = writeFile(dir, "big.txt", bytes + 'z');
    const CommentFileText over = readCommentFile(big);
    EXPECT_EQ(over.state, CommentFileText::State::Unreadable);
    EXPECT_TRUE(over.error.contains(big) && over.error.contains(q("64 KiB")))
        << over.error.toStdString();
}

TEST(CommentFile, LineTwoEndedOnlyWhenABreakFollowsIt) {
    const struct {
        QByteArray bytes;
        bool ended;
    } rows[] = {{"a\r\nb\r\n", true}, {"a\nb\n", true}, {"a\rb\r", true},
                {"a\r\nb", false},    {"a\r\n", false}, {"", false}};
    for (const auto& row : rows)
        EXPECT_EQ(commentFileLines(row.bytes).line2Ended, row.ended) << row.bytes.toStdString();
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
        {"06.03.2007 14:30", QDateTime(QDate(2007, 3, 6), QTime(14, 30))},
        {"06-03-2007 14:30", QDateTime(QDate(2007, 3, 6), QTime(14, 30))},
        {"06/03/207 14:30", QDateTime()},
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

TEST(CommentFile, AppliedToItsObjectBeforeASend) {
    const QDateTime nowUtc(QDate(2026, 3, 6), QTime(18, 5), Qt::UTC);
    CommentFileText file;
    file.state = CommentFileText::State::Read;
    file.line1 = q("05/03/26 14:30");
    file.line2 = q("$ Temp 12C");
    const CommentFileText missing;
    const struct {
        const char* name;
        bool weather;
        const CommentFileText& file;
        const char* comment;
        const char* header;
        const char* fileDate;
        const char* current;
    } rows[] = {
        {"object, file", false, file, "$ Temp 12C", ";TENT     *061805z5130.25N/00007.50W;",
         "051430", "061905"},
        {"object, no file", false, missing, "% No data available",
         ";TENT     *061805z5130.25N/00007.50W;", "061905", "061905"},
        // The weather station reports when its readings were taken, not when they were sent.
        {"weather, file", true, file, "$ Temp 12C", "/051430/5130.25N/00007.50W;", "051430",
         "051430"},
        {"weather, no file", true, missing, "", "/061905/5130.25N/00007.50W;", "061905", "061905"},
    };
    for (const auto& row : rows) {
        BeaconObject o;
        o.identifier = q("TENT");
        o.nameField = Report::nameField(o.identifier);
        o.latitude = q("5130.25N");
        o.longitude = q("00007.50W");
        o.table = q("/");
        o.code = q(";");
        o.defaultComment = q("% No data available");
        o.comment = q("typed");
        const CommentFromFile got =
            applyCommentFile(o, row.weather, row.file, nowUtc, evening, q("ddhhMM"));
        EXPECT_EQ(o.comment, q(row.comment)) << row.name;
        EXPECT_EQ(got.comment, o.comment) << row.name;
        EXPECT_EQ(o.timeStamp, q("061805z")) << row.name;
        EXPECT_EQ(o.header, q(row.header)) << row.name;
        EXPECT_EQ(got.fileDateText, q(row.fileDate)) << row.name;
        EXPECT_EQ(got.currentTimeText, q(row.current)) << row.name;
    }

    // A data file's weather line too long to send is cut where a group ends, never inside
    // one; with UTC time stamps the header carries the time of the readings in UTC.
    CommentFileText weather = file;
    weather.line2 = q("090/005g012t068r005p010P020h55b10132l1234w");
    BeaconObject o;
    o.latitude = q("5130.25N");
    o.longitude = q("00007.50W");
    o.table = q("/");
    o.code = q("_");
    applyCommentFile(o, true, weather, nowUtc, evening, q("ddhhMM"), false, true);
    EXPECT_EQ(o.comment, q("090/005g012t068r005p010P020h55b10132"));
    EXPECT_EQ(o.header, q("/051330z5130.25N/00007.50W_"));
}

TEST(CommentFile, AHalfWrittenFileIsTakenOnceItsWriterHasFinished) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "busy.txt", "06/03/07 14:30\r\nTemp 1");
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("2C\r\n");
    });
    const CommentFileText text = readCommentFile(path);
    writer.join();
    EXPECT_EQ(text.line2, q("Temp 12C"));

    // Left alone for a while, an unended last line is the whole of it.
    const QString still = writeFile(dir, "still.txt", "06/03/07 14:30\r\nTemp 1");
    QFile file(still);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-5),
                                 QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(readCommentFile(still).line2, q("Temp 1"));
}

// Another program rewrites the file over and over while it is read: each read gives one whole
// version of line 2, never one completed before the read began.
TEST(CommentFile, RewrittenWhileReadGivesTheNewestWholeLine) {
    static const QRegularExpression whole(QStringLiteral(R"(^v(\d{6}) \.{25} (\d{6})$)"));
    for (const char* mode : {"rename", "inplace"}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(q("comment.txt"));
        const QString counterPath = dir.filePath(q("counter"));
        QFile counter(counterPath);
        ASSERT_TRUE(counter.open(QIODevice::ReadWrite));
        ASSERT_TRUE(counter.resize(8));
        auto* published = reinterpret_cast<std::atomic<qint64>*>(counter.map(0, 8));
        ASSERT_NE(published, nullptr);

        QProcess writer;
        writer.start(q(SKYVANE_BINARY_DIR "/comment-writer"),
                     {path, q(mode), counterPath, q("1000")});
        ASSERT_TRUE(writer.waitForStarted(5000));
        while (published->load() < 1 && writer.state() == QProcess::Running)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));

        // Reads one after another while the writer goes through 40 versions.
        int reads = 0;
        while (published->load() < 40 && writer.state() == QProcess::Running) {
            const qint64 finished = published->load();
            const CommentFileText text = readCommentFile(path);
            ++reads;
            ASSERT_EQ(text.state, CommentFileText::State::Read) << mode << text.error.toStdString();
            const QRegularExpressionMatch m = whole.match(text.line2);
            ASSERT_TRUE(m.hasMatch() && m.captured(1) == m.captured(2))
                << mode << " torn: " << text.line2.toStdString();
            const qint64 version = m.captured(1).toLongLong();
            ASSERT_GE(version, finished) << mode << " stale";
            EXPECT_EQ(text.line1, q("06/03/26 14:%1").arg(10 + version % 50)) << mode;
        }
        EXPECT_GE(published->load(), 40) << mode << " the writer stopped early";
        EXPECT_GT(reads, 20) << mode;
        writer.kill();
        writer.waitForFinished(5000);
    }
}
