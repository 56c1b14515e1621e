// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "station/Station.h"
#include "support/PacketEngine.h"
#include "support/SampleMap.h"
#include "support/TncSim.h"
#include "support/Wait.h"
#include "widgets/TSpinEdit.h"

namespace {

enum class Via { Agwpe, Kiss, Tnc };

std::string viaName(const ::testing::TestParamInfo<Via>& info) {
    return info.param == Via::Agwpe ? "Agwpe" : info.param == Via::Kiss ? "Kiss" : "CommandMode";
}

struct Planned {
    int object;   // 0..2
    QDateTime at; // UTC of the report
    bool killed = false;
};

// Three objects on the sample map, started with intervals of 10, 15 and 20 minutes and kept on
// the air for a day of minute ticks; then object 2 is deleted with a last, killed report.
class ObjectsEndToEnd : public ObjectsFixture, public ::testing::WithParamInterface<Via> {
protected:
    const QDateTime m_day{QDate(2026, 3, 6), QTime(0, 0), Qt::UTC};
    const int m_intervals[3] = {10, 15, 20};
    const char* m_names[3] = {"AID1", "CARPARK", "WX7"};
    const char* m_symbols[3] = {"Aid Station", "Parking", "Campground"};
    const char* m_codes[3] = {"/A", "\\P", "/;"};
    const char* m_comments[3] = {"Water and first aid", "", "% open"};
    void placeOnMap(int k) {
        place(k, SampleMap::Spots[k].pixel);
        ASSERT_EQ(m_form->panel(k)->object().latitude, SampleMap::Spots[k].latitude);
        ASSERT_EQ(m_form->panel(k)->object().longitude, SampleMap::Spots[k].longitude);
    }
    TSpinEdit* interval(int k) const {
        return find<TSpinEdit>((QByteArray("spinInterval") + suffix(k)).constData());
    }

    // The information field expected of a report.
    QString expectedInfo(const Planned& p) const {
        const int k = p.object;
        QString comment = p.killed ? QString() : QString::fromLatin1(m_comments[k]);
        if (comment.startsWith('%'))
            comment = p.at.toString("hhmm") + comment.mid(1);
        return ';' + QString::fromLatin1(m_names[k]).leftJustified(9) + (p.killed ? '_' : '*') +
               p.at.toString("ddhhmm") + 'z' + SampleMap::Spots[k].latitude + m_codes[k][0] +
               SampleMap::Spots[k].longitude + m_codes[k][1] + comment;
    }

    void connectLink(Via via, const QString& device, const QString& enginePort) {
        editLink(*m_form, [&](LinkSettings& link) {
            link.IPAddr = "127.0.0.1";
            link.TCPPort = enginePort;
            link.UseKISS = via == Via::Kiss;
            link.Host = via == Via::Tnc;
            link.ComPort = 3;
            link.ComDevices[2] = device;
        });
        m_form->link()->setBusyInterval(1);
        m_form->link()->setTncInterval(TestTncWaitMs);
        m_form->btnConnect1Click();
        ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }, 10000))
            << m_dialogs.texts().join('|').toStdString();
    }

    // A Start, Stop or Delete once the busy period of the last frame is over.
    void click(const char* base, int k) {
        ASSERT_TRUE(waitUntil([&] { return !m_form->link()->isBusy(); }));
        button(base, k)->click();
    }

    // Received information fields, whatever the link.
    QStringList received(Via via, const PacketEngine& engine, TncSim* sim) const {
        if (via == Via::Agwpe)
            return engine.infos();
        QStringList out;
        for (const QString& line : sim->frames())
            out << line.mid(line.indexOf(':') + 1);
        return out;
    }
};

TEST_P(ObjectsEndToEnd, ADayOfReportsLeavesOnScheduleByteForByte) {
    const Via via = GetParam();
    PacketEngine engine;
    std::unique_ptr<TncSim> sim;
    if (via != Via::Agwpe) {
        sim = std::make_unique<TncSim>(via == Via::Kiss ? QStringList{"--kiss"} : QStringList{});
        ASSERT_FALSE(sim->path().isEmpty());
    }
    m_clock.setUtc(m_day);
    start();
    editStation(*m_form, [&](StationSettings& s) { s.MyCall = "G4ABC-1"; });
    loadSampleMap();
    for (int k = 0; k < 3; ++k) {
        placeOnMap(k);
        chooseSymbol(k, m_symbols[k]);
        name(k, m_names[k]);
        box("Comment", k)->setText(m_comments[k]);
        interval(k)->setValue(m_intervals[k]);
    }
    connectLink(via, sim ? sim->path() : QString(), engine.port());

    QList<Planned> plan;
    for (int k = 0; k < 3; ++k) {
        m_clock.setUtc(m_day);
        click("btnStart", k);
        plan.append({k, m_day});
    }
    const int day = 24 * 60;
    for (int m = 1; m <= day; ++m) {
        const QDateTime at = m_day.addSecs(60 * m);
        // Set, not advanced: the fixed pauses of the serial links move the clock on a little.
        m_clock.setUtc(at);
        for (int k = 0; k < 3; ++k)
            m_form->stationCore().slot(k).tick();
        for (int k = 0; k < 3; ++k)
            if (m % m_intervals[k] == 0)
                plan.append({k, at});
    }
    ASSERT_EQ(plan.size(), 145 + 97 + 73);

    click("btnStop", 1);
    const QDateTime end = m_day.addSecs(60 * day + 30);
    m_clock.setUtc(end);
    showTab(1);
    m_dialogs.yesNoAnswers.enqueue(Dialogs::Answer::Yes);
    click("btnDelete", 1);
    plan.append({1, end, true});

    ASSERT_TRUE(
        waitUntil([&] { return received(via, engine, sim.get()).size() >= plan.size(); }, 20000))
        << received(via, engine, sim.get()).size();
    // Every report was written before the killed one, which comes last, so a report too many
    // shows up as a mismatch below; the engine can tell it outright.
    if (via == Via::Agwpe) {
        ASSERT_TRUE(engine.sync(*m_form->link()));
    }
    const QStringList got = received(via, engine, sim.get());
    ASSERT_EQ(got.size(), plan.size());
    int counts[3] = {0, 0, 0};
    for (qsizetype i = 0; i < plan.size(); ++i) {
        ASSERT_EQ(got[i], expectedInfo(plan[i])) << "report " << i;
        ++counts[plan[i].object];
    }
    EXPECT_EQ(counts[0], 145);
    EXPECT_EQ(counts[1], 98);
    EXPECT_EQ(counts[2], 73);
    EXPECT_TRUE(got.last().startsWith(";CARPARK  _070000z"));

    // Addresses: from the station to the destination, as every link carries them.
    if (via == Via::Agwpe) {
        for (const Agwpe::ParsedFrame& f : engine.frames) {
            ASSERT_EQ(f.callFrom, "G4ABC-1");
            ASSERT_EQ(f.callTo, "CQ");
            ASSERT_EQ(f.kind, 'M');
        }
    } else {
        for (const QString& line : sim->frames())
            ASSERT_TRUE(line.startsWith("G4ABC-1>CQ:")) << line.toStdString();
    }
    // The comment with its time marker is back in its box for the next report.
    EXPECT_EQ(box("Comment", 2)->text(), "% open");
    EXPECT_TRUE(m_dialogs.texts() == QStringList{"Notify other stations?"})
        << m_dialogs.texts().join('|').toStdString();

    // The sent-reports log: one line a frame, in the file of its UTC day, as the peer got it.
    const SentLog log(sentFolder());
    const QList<SentRecord> first = log.readDay(m_day.date());
    const QList<SentRecord> second = log.readDay(m_day.date().addDays(1));
    EXPECT_EQ(second.size(), 4); // the three reports of midnight and the killed one
    const QList<SentRecord> records = first + second;
    ASSERT_EQ(records.size(), plan.size());
    const QString linkName = via == Via::Agwpe  ? "AGWPE port 1"
                             : via == Via::Kiss ? "KISS port 1"
                                                : "TNC";
    for (qsizetype i = 0; i < plan.size(); ++i) {
        const SentRecord& r = records[i];
        const int k = plan[i].object;
        ASSERT_EQ(r.monitor, "G4ABC-1>CQ:" + got[i]) << "record " << i;
        // Two flags, two addresses of 7 bytes, control and PID, the information, frame check.
        EXPECT_EQ(r.bytes, 2 + 14 + 2 + got[i].size() + 2) << "record " << i;
        EXPECT_GE(r.seconds, r.bytes * 8 / 1200.0);
        EXPECT_EQ(r.slot, k + 1);
        EXPECT_EQ(r.identifier, m_names[k]);
        EXPECT_EQ(r.link, linkName);
        EXPECT_TRUE(r.sent);
        // The serial links' fixed pauses come before the record, never a minute's worth.
        EXPECT_GE(r.utc, plan[i].at);
        EXPECT_LT(r.utc, plan[i].at.addSecs(5));
    }
}

INSTANTIATE_TEST_SUITE_P(Links, ObjectsEndToEnd, ::testing::Values(Via::Agwpe, Via::Kiss, Via::Tnc),
                         viaName);

} // namespace
