// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "station/Station.h"

#include "common/AirText.h"
#include "common/Callsign.h"
#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "links/Airtime.h"
#include "links/HeardModel.h"
#include "links/LinkControl.h"
#include "links/UnprotoPath.h"
#include "map/ObjectEntry.h"
#include "map/ObjectsFile.h"
#include "settings/IniFile.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcStation, "skyvane.station")

Station::Station(Dialogs& dialogs, Clock& clock, const QString& settingsPath,
                 const QString& sentLogFolder, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_clock(clock), m_settingsPath(settingsPath) {
    m_link = new LinkControl(dialogs, clock, this);
    m_link->setObjectName(QStringLiteral("Link"));
    m_link->setSentLogFolder(sentLogFolder);
    ObjectSlotServices services;
    services.markers = &m_markers;
    services.sendContext = [this] { return sendContext(); };
    services.stationCall = [this] { return station().MyCall; };
    services.dateFormat = [this] { return m_settings.date; };
    services.decay = [this] { return m_settings.decay; };
    PendingKills::Services killServices;
    killServices.linkUp = [this] {
        return m_link->isConnected() && !m_link->reconnecting() && !m_link->loggingIn();
    };
    killServices.send = [this](const PendingKill& kill, const QString& info, const QString& note) {
        return sendKill(kill, info, note);
    };
    m_kills = new PendingKills(clock, killServices, this);
    connect(m_kills, &PendingKills::changed, this, &Station::keepKills);
    services.utf8Text = [this] { return station().Utf8Text; };
    services.utcWeather = [this] { return station().UtcWeather; };
    for (int k = 0; k < 3; ++k) {
        auto* slot = new ObjectSlot(k, dialogs, clock, services, this);
        connect(slot, &ObjectSlot::reportReady, this,
                [this](int index, const QString& info, const QString& destination,
                       const QString& name) {
                    if (m_link->sendReport(info, destination, {index + 1, name}))
                        reportHanded(index, info, name);
                });
        connect(slot, &ObjectSlot::timeStampsDue, this, &Station::readTime);
        connect(slot, &ObjectSlot::killRequested, m_kills,
                [this](int index, const BeaconObject& o) { m_kills->add(o, index + 1); });
        m_slots[size_t(k)] = slot;
    }
    connect(m_link, &LinkControl::beaconsStopped, this, [this] {
        for (ObjectSlot* s : m_slots)
            s->stop();
    });
    connect(m_link, &LinkControl::linkUp, this, &Station::linkCameUp);
    m_heardModel = new HeardModel(this);
    connect(m_link, &LinkControl::frameHeard, this, &Station::frameHeard);
    // The weather header's time changes its form with the option: the report after the change
    // must not go out in the old one.
    connect(m_link, &LinkControl::settingsChanged, this, [this] {
        if (station().UtcWeather == m_utcWeather)
            return;
        m_utcWeather = station().UtcWeather;
        if (m_slots[0]->weatherMode())
            m_slots[0]->updateHeader();
    });
    auto* clockCheck = new QTimer(this);
    clockCheck->setInterval(60000);
    connect(clockCheck, &QTimer::timeout, this, &Station::checkClock);
    clockCheck->start();
    // Once whoever shows the station has connected to it.
    QTimer::singleShot(0, this, &Station::checkClock);
}

Station::~Station() = default;

const StationSettings& Station::station() const {
    return m_link->station();
}

const LinkSettings& Station::linkSettings() const {
    return m_link->linkSettings();
}

SendRequest Station::sendContext() const {
    SendRequest r;
    r.connected = m_link->isConnected();
    // Either way a report due now is recorded as not sent and goes once the link is up.
    if (m_link->reconnecting() || m_link->loggingIn())
        r.linkDown = m_link->stateText();
    r.destination = station().Destination;
    r.weatherDestination = station().WxDest;
    r.tncLink = linkSettings().type() == LinkType::Tnc;
    return r;
}

// ---- Settings file ----------------------------------------------------------------------

bool Station::loadSettings(QString* error) {
    QString why;
    m_settings = AppSettings::load(m_settingsPath, &why);
    m_settingsUnreadable = !why.isEmpty();
    if (error)
        *error = why;
    if (m_settingsUnreadable)
        qCWarning(lcStation) << "settings not read:" << why;
    canonicalStationCalls();
    m_link->setStation(m_settings.station);
    m_link->setLinkSettings(m_settings.link);
    for (int k = 0; k < 3; ++k)
        m_slots[size_t(k)]->setInterval(m_settings.timers[size_t(k)]);
    return !m_settingsUnreadable;
}

void Station::canonicalStationCalls() {
    StationSettings& st = m_settings.station;
    for (QString* call : {&st.MyCall, &st.Destination, &st.WxDest}) {
        const QString canonical = canonicalCall(*call);
        if (canonical == *call)
            continue;
        // An older copy stored the callsign as typed; our own copies heard back carry it in
        // the one form an address can.
        qCInfo(lcStation).noquote()
            << QStringLiteral("The settings file's callsign %1 is used as %2.")
                   .arg(*call, canonical);
        *call = canonical;
    }
}

bool Station::saveSettings() {
    AppSettings s = m_settings;
    s.station = station();
    s.link = linkSettings();
    for (int k = 0; k < 3; ++k)
        s.timers[size_t(k)] = m_slots[size_t(k)]->object().interval;
    QString error;
    QString keptAs;
    if (s.save(m_settingsPath, &error, m_settingsUnreadable, &keptAs)) {
        m_settingsUnreadable = false;
        if (!keptAs.isEmpty())
            m_dialogs.information(IniFile::keptAsideMessage(m_settingsPath, keptAs));
        return true;
    }
    qCWarning(lcStation) << "settings not written:" << error;
    m_dialogs.error(QStringLiteral("Unable to write to %1").arg(m_settingsPath));
    return false;
}

// ---- Objects file -----------------------------------------------------------------------

void Station::setMapPath(const QString& picturePath) {
    m_settings.map = picturePath;
    m_objectsUnreadable = false;
    m_storedRunning = {false, false, false};
    // Another map's zoom says nothing about this one.
    m_mapZoom.reset();
    m_mapFitWindow = false;
}

QString Station::objectsPath() const {
    return ObjectsFile::pathFor(m_settings.map);
}

bool Station::readObjects() {
    const QString path = objectsPath();
    ObjectsFileData data;
    QString error;
    if (!ObjectsFile::load(path, data, error)) {
        m_objectsUnreadable = true;
        m_dialogs.error(error);
        return false;
    }
    QStringList refused;
    QStringList faults;
    for (int k = 0; k < 3; ++k) {
        ObjectSlot& s = *m_slots[size_t(k)];
        const StoredObject& stored = data.objects[size_t(k)];
        // Comment files and defaults belong to the map's entries, placed or not, so that
        // saving the map writes them back.
        s.setCommentFile(stored.CommentFile);
        s.setDefaultComment(stored.Default);
        RestoredObject restored = restoreObject(stored, k, s.object(), station().Utf8Text);
        m_storedRunning[size_t(k)] = restored.placed && stored.Running == QLatin1String("1");
        bool adopted = false;
        if (restored.placed)
            s.restore(restored.object);
        else
            adopted = s.adopt(restored.object);
        emit objectRestored(k, restored.placed, adopted);
        if (restored.refused)
            refused << QStringLiteral("Object %1 (\"%2\", \"%3\")")
                           .arg(k + 1)
                           .arg(stored.Latitude, stored.Longitude);
        if (!restored.fault.isEmpty())
            faults << QStringLiteral("Object%1: %2").arg(k + 1).arg(restored.fault);
    }
    m_kills->restore(data.kills);
    m_mapScroll = QPoint(data.HP, data.VP);
    m_mapZoom = data.Zoom;
    m_mapFitWindow = data.FitWindow;
    if (!refused.isEmpty())
        m_dialogs.error(QStringLiteral("The objects file %1 holds positions that are not valid: "
                                       "%2. Those objects were not restored.")
                            .arg(path, refused.join(QStringLiteral(", "))));
    if (!faults.isEmpty())
        m_dialogs.error(QStringLiteral("The objects file %1 holds what could not have been typed "
                                       "(%2). Those objects were not placed on the map; mend them "
                                       "and place them again.")
                            .arg(path, faults.join(QStringLiteral(", "))));
    return true;
}

bool Station::saveObjects(bool quiet) {
    // Without a map open there is nothing of this map to keep, and writing would replace the
    // objects of a map that failed to load with empty ones.
    if (!m_objectsOpen || m_settings.map.isEmpty())
        return true;
    ObjectsFileData data;
    for (int k = 0; k < 3; ++k) {
        BeaconObject o = m_slots[size_t(k)]->object();
        if (m_runningAtEnd)
            o.running = (*m_runningAtEnd)[size_t(k)];
        data.objects[size_t(k)] = storeObject(o);
    }
    data.kills = m_kills->kills();
    data.VP = m_mapScroll.y();
    data.HP = m_mapScroll.x();
    data.Zoom = m_mapZoom;
    data.FitWindow = m_mapFitWindow;
    const QString path = objectsPath();
    QString error;
    QString keptAs;
    if (!ObjectsFile::save(path, data, error, m_objectsUnreadable, &keptAs)) {
        qCWarning(lcStation) << error;
        if (!quiet)
            m_dialogs.error(QStringLiteral("Unable to write to %1").arg(path));
        return false;
    }
    m_objectsUnreadable = false;
    if (!keptAs.isEmpty() && quiet)
        qCWarning(lcStation).noquote() << IniFile::keptAsideMessage(path, keptAs);
    else if (!keptAs.isEmpty())
        m_dialogs.information(IniFile::keptAsideMessage(path, keptAs));
    return true;
}

int Station::startStoredObjects() {
    int started = 0;
    for (int k = 0; k < 3; ++k)
        if (m_storedRunning[size_t(k)] && !m_slots[size_t(k)]->running() &&
            m_slots[size_t(k)]->start(false))
            ++started;
    return started;
}

void Station::linkCameUp() {
    for (ObjectSlot* s : m_slots)
        s->catchUp();
    m_kills->linkCameUp();
    if (!m_resumePending)
        return;
    m_resumePending = false;
    const int started = startStoredObjects();
    qCInfo(lcStation) << started << "objects resumed";
}

// ---- Heard on the channel ----------------------------------------------------------------

bool Station::sendKill(const PendingKill& kill, const QString& info, const QString& note) {
    // A link the user disconnected is not asked: the kill waits for the next connect.
    if (!m_link->isConnected() && !m_link->reconnecting())
        return false;
    return m_link->sendReport(info, station().Destination, {kill.slot, kill.identifier}, note);
}

void Station::keepKills() {
    // Nobody may be there to answer a box: a file that cannot be written is said in the log,
    // and the close that saves again says it to the user.
    saveObjects(true);
}

void Station::reportHanded(int index, const QString& info, const QString& name) {
    m_kills->liveSent(name);
    SentReport report;
    report.slot = index;
    report.identifier = name;
    report.source = station().MyCall;
    report.path = unprotoPathEntries(station().UnprotoPath);
    report.info = airText(info, station().Utf8Text);
    report.utc = m_clock.nowUtc();
    // A copy later than the next report is due is no copy of this one.
    report.windowSeconds = qMax(1, m_slots[size_t(index)]->object().interval) * 60;
    m_heard.sent(report);
    emit lastReportChanged(index);
}

void Station::frameHeard(const HeardFrame& heard) {
    const std::optional<Ax25Frame> frame = parseAx25UiFrame(heard.body);
    if (!frame)
        return;
    const HeardReports::Outcome outcome = m_heard.heard(*frame, heard.utc);
    HeardModel::Row row{heard.utc, heard.port, ax25MonitorText(*frame), {}};
    if (outcome.slot >= 0) {
        const SentReport& sent = *m_heard.last(outcome.slot);
        row.ours = sent.identifier;
        SentRecord r;
        r.utc = heard.utc;
        r.slot = outcome.slot + 1;
        r.identifier = sent.identifier;
        r.link = heard.port;
        r.monitor = row.monitor;
        const Airtime::Cost cost = Airtime::ofFrame(heard.body);
        r.bytes = cost.bytes;
        r.seconds = cost.seconds;
        r.heard = true;
        r.message = (outcome.via.isEmpty() ? QStringLiteral("heard direct")
                                           : QStringLiteral("heard via ") + outcome.via) +
                    QStringLiteral(", a copy of the report sent ") +
                    sent.utc.toUTC().toString(QStringLiteral("HH:mm:ss'Z'"));
        m_link->addRecord(r);
        if (outcome.newPath) {
            // What a headless station's journal shows of it.
            qCInfo(lcStation).noquote() << sent.identifier << r.message;
            emit lastReportChanged(outcome.slot);
        }
    }
    if (outcome.clashSlot >= 0) {
        const SentReport& ours = *m_heard.last(outcome.clashSlot);
        row.ours = QStringLiteral("same name as %1").arg(ours.identifier);
        emit lastReportChanged(outcome.clashSlot);
        if (outcome.newClash) {
            const QString text = m_heard.clashText(outcome.clashSlot);
            qCWarning(lcStation) << text;
            emit nameClash(outcome.clashSlot, text);
        }
    }
    m_heardModel->add(row);
}

QString Station::lastReportText(int index) const {
    QString text = m_heard.fateText(index, m_link->listening(), m_clock.nowUtc());
    const QString clash = m_heard.clashText(index);
    if (!clash.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + clash;
    return text;
}

void Station::readTime() {
    const QString stamp =
        formatDateTime(QStringLiteral("ddhhnn"), m_clock.nowUtc()) + QLatin1Char('z');
    for (ObjectSlot* s : m_slots)
        s->setTimeStamp(stamp);
}

void Station::checkClock() {
    const std::optional<bool> synced = m_clock.synchronised();
    if (!synced || *synced != m_clockUnsynced)
        return;
    m_clockUnsynced = !*synced;
    // Reports still go: a stale time stamp is better than none, and the operator is told.
    const QString text = m_clockUnsynced
                             ? QStringLiteral("The system clock is not synchronised: the times in "
                                              "reports may be wrong until its time service has set "
                                              "it.")
                             : QStringLiteral("The system clock is synchronised now.");
    emit clockStatus(text);
}

QStringList Station::shutDown() {
    m_runningAtEnd =
        std::array<bool, 3>{m_slots[0]->running(), m_slots[1]->running(), m_slots[2]->running()};
    m_link->disconnectLink();
    // A serial link lets go of its port, so the TNC is free for other programs at once.
    if (linkSettings().serial() && m_link->serialPort().isOpen())
        m_link->serialPort().Close();
    // Whatever can be written is; what cannot (a map on a read-only disc, a settings folder
    // gone) is named for the user.
    QStringList lost;
    if (!saveObjects())
        lost << QStringLiteral("the objects of this map (%1)").arg(objectsPath());
    if (!saveSettings())
        lost << QStringLiteral("the settings (%1)").arg(m_settingsPath);
    m_runningAtEnd.reset();
    return lost;
}
