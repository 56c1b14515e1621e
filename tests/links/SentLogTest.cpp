// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/SentLog.h"
#include "links/Airtime.h"
#include "links/Ax25.h"
#include "links/TfrmSent.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The bits as sent, worked out apart from the code under test: every byte least significant
// bit first as a string of digits, then "11111" -> "111110" from the left, which is what HDLC
// stuffing does (the inserted 0 ends the run).
int stuffedBitsByHand(const QByteArray& bytes) {
    QString bits;
    for (const char c : bytes)
        for (int b = 0; b < 8; ++b)
            bits += (quint8(c) >> b) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return int(bits.replace(QLatin1String("11111"), QLatin1String("111110")).size());
}

TEST(Airtime, FrameCheckStuffingAndCost) {
    // The CRC's published check value for "123456789".
    EXPECT_EQ(Airtime::frameCheck("123456789"), 0x906E);
    struct Row {
        QByteArray bytes;
        int bits;
    };
    const Row rows[] = {
        {"", 0},
        {QByteArray(1, '\0'), 8},
        {"\xFF", 9},          // 8 ones: one 0 after the fifth
        {"\xFF\xFF\xFF", 28}, // 24 ones: four inserted
        {"\x7E", 9},          // a flag's pattern inside a frame: six ones
        {QByteArray("\x1F\x00", 2), 17},
        {"\xF8\x01", 17}, // five ones across the byte boundary
    };
    for (const Row& r : rows)
        EXPECT_EQ(Airtime::stuffedBitCount(r.bytes), r.bits) << r.bytes.toHex().constData();

    for (const QByteArray& info :
         {QByteArray(";LEEDS    *092345z4903.50N/07201.75W>Net tonight"),
          QByteArray(";TILDES   *092345z4903.50N/07201.75W>~~~~~~~~~~ \xFF\xFF\xFF")}) {
        const QByteArray body = ax25UiFrame("APRS", "G4ABC-9", "WIDE2-2", info);
        const quint16 fcs = Airtime::frameCheck(body);
        const QByteArray withCheck = body + char(fcs & 0xFF) + char(fcs >> 8);
        const Airtime::Cost cost = Airtime::ofFrame(body);
        EXPECT_EQ(cost.bytes, body.size() + 4);
        EXPECT_EQ(cost.bits, stuffedBitsByHand(withCheck) + 16);
        EXPECT_DOUBLE_EQ(cost.seconds, cost.bits / 1200.0);
    }
    // The run of ones costs what it should: more bits than the same length of plain text.
    const QByteArray plain = ax25UiFrame("APRS", "G4ABC", "", QByteArray(30, 'A'));
    const QByteArray ones = ax25UiFrame("APRS", "G4ABC", "", QByteArray(30, '~'));
    EXPECT_EQ(Airtime::ofFrame(ones).bytes, Airtime::ofFrame(plain).bytes);
    EXPECT_GE(Airtime::ofFrame(ones).bits - Airtime::ofFrame(plain).bits, 28);
}

SentRecord record(const QDateTime& utc, int slot, const QString& id) {
    SentRecord r;
    r.utc = utc;
    r.slot = slot;
    r.identifier = id;
    r.link = QStringLiteral("KISS port 1");
    r.monitor = QStringLiteral("G4ABC-9>APRS,WIDE2-2:;") + id + QStringLiteral("*092345z");
    r.bytes = 57;
    r.seconds = 0.437;
    return r;
}

TEST(SentLog, OneLineARecordOneFileAUtcDay) {
    QTemporaryDir dir;
    const SentLog log(dir.filePath(QStringLiteral("state/skyvane/sent")));
    const QDateTime late(QDate(2026, 12, 8), QTime(23, 59, 30), Qt::UTC);
    const QDateTime early(QDate(2026, 12, 9), QTime(0, 0, 5), Qt::UTC);
    SentRecord odd = record(late, 2, QStringLiteral("a\tb\\c"));
    odd.monitor += QStringLiteral("tab\there\r\nnew line");
    SentRecord failed = record(late, 3, QStringLiteral("BUOY"));
    failed.sent = false;
    failed.message = QStringLiteral("The TNC is not responding.");
    for (const SentRecord& r : {record(late, 1, QStringLiteral("LEEDS")), odd, failed,
                                record(early, 1, QStringLiteral("LEEDS"))}) {
        QString error;
        ASSERT_TRUE(log.append(r, &error)) << error.toStdString();
    }
    const QList<SentRecord> first = log.readDay(late.date());
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0], record(late, 1, QStringLiteral("LEEDS")));
    EXPECT_EQ(first[1], odd);
    EXPECT_EQ(first[2], failed);
    ASSERT_EQ(log.readDay(early.date()).size(), 1);
    EXPECT_TRUE(log.fileFor(early.date()).endsWith(QLatin1String("/2026-12-09.log")));

    // A line cut short (a crash, a full disc) is not read as a record, and those before stand.
    QFile file(log.fileFor(late.date()));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(SentLog::lineOf(record(late, 2, QStringLiteral("CUT"))).toUtf8().left(30));
    file.close();
    EXPECT_EQ(log.readDay(late.date()).size(), 3);

    // Thirty days are kept; older day files go, anything else in the folder stays.
    for (const char* name : {"2026-11-08.log", "2026-11-07.log", "notes.txt"})
        QFile(QDir(log.folder()).filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    log.prune(QDate(2026, 12, 8));
    const QStringList left = QDir(log.folder()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left,
              QStringList({"2026-11-08.log", "2026-12-08.log", "2026-12-09.log", "notes.txt"}));

    // A folder that cannot be made is reported with its path, and nothing throws.
    QFile(dir.filePath(QStringLiteral("blocked"))).open(QIODevice::WriteOnly);
    const SentLog blocked(dir.filePath(QStringLiteral("blocked/sent")));
    QString error;
    EXPECT_FALSE(blocked.append(record(late, 1, QStringLiteral("X")), &error));
    EXPECT_TRUE(error.contains(dir.filePath(QStringLiteral("blocked")))) << error.toStdString();

    EXPECT_EQ(SentLog::defaultFolder(QStringLiteral("/s"), QStringLiteral("/home/op")),
              QStringLiteral("/s/skyvane/sent"));
    EXPECT_EQ(SentLog::defaultFolder(QStringLiteral("rel"), QStringLiteral("/home/op")),
              QStringLiteral("/home/op/.local/state/skyvane/sent"));
}

// The window lists newest first, filters by object, and copies the selection oldest first.
TEST(SentReportsWindow, NewestFirstFilteredAndCopied) {
    const QDateTime t(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
    TfrmSent window;
    window.setRecords(
        {record(t, 1, QStringLiteral("LEEDS")), record(t.addSecs(60), 2, QStringLiteral("BUOY"))});
    SentRecord failed = record(t.addSecs(120), 1, QStringLiteral("LEEDS"));
    failed.sent = false;
    failed.message = QStringLiteral("The TNC is not responding.");
    window.addRecord(failed);
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("lstSent"));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("2026-12-08 10:02:00"));
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("1 LEEDS"));

    window.findChild<QComboBox*>(QStringLiteral("cmbObject"))->setCurrentIndex(1);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    window.addRecord(record(t.addSecs(180), 3, QStringLiteral("CAMP")));
    EXPECT_EQ(list->topLevelItemCount(), 2);
    list->selectAll();
    const QStringList lines = window.selectedText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0],
              QStringLiteral("2026-12-08 10:00:00Z  Object 1 LEEDS  KISS port 1  57 bytes  "
                             "0.437 s  G4ABC-9>APRS,WIDE2-2:;LEEDS*092345z"));
    EXPECT_TRUE(lines[1].contains(QLatin1String("FAILED (The TNC is not responding.)")));
}

} // namespace
