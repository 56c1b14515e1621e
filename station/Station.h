// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/ObjectSlot.h"
#include "beacon/PendingKills.h"
#include "links/HeardReports.h"
#include "settings/AppSettings.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class Clock;
class Dialogs;
class HeardModel;
class LinkControl;
struct HeardFrame;

// The station: its settings, the link and the three objects, and the settings and objects
// files they come from and go back to. The window shows it; `skyvane --headless` runs it
// alone. Messages go through the dialogs it is given.
class Station : public QObject {
    Q_OBJECT
public:
    // An empty sentLogFolder records no sent reports.
    Station(Dialogs& dialogs, Clock& clock, const QString& settingsPath,
            const QString& sentLogFolder, QObject* parent = nullptr);
    ~Station() override;

    LinkControl& link() const { return *m_link; }
    // The killed reports still being repeated, whichever slot they came from.
    PendingKills& kills() const { return *m_kills; }
    ObjectSlot& slot(int index) const { return *m_slots[size_t(index)]; }
    const StationSettings& station() const;
    const LinkSettings& linkSettings() const;
    const QString& settingsPath() const { return m_settingsPath; }

    // What the settings file holds beyond the station, the link and the intervals, which the
    // link and the slots keep: the window sets its place, the dialogs their choices.
    const AppSettings& settings() const { return m_settings; }
    void setFormBounds(const FormBounds& bounds) { m_settings.form = bounds; }
    void setHints(bool on) { m_settings.hints = on; }
    void setMetric(bool on) { m_settings.metric = on; }
    void setDateFormat(const QString& format) { m_settings.date = format; }
    void setDateIndex(int index) { m_settings.dateIndex = index; }
    void setResume(bool on) { m_settings.resume = on; }
    void setDecay(bool on) { m_settings.decay = on; }

    // Reads the settings file; a missing file gives the defaults. False when it exists but
    // cannot be read: the defaults then stand and the first save keeps that file aside.
    bool loadSettings(QString* error = nullptr);
    // Writes every setting; false after "Unable to write to <path>" has been shown.
    bool saveSettings();

    // ---- The current map's objects file ---------------------------------------------------
    const QString& mapPath() const { return m_settings.map; }
    // The map whose objects the slots now hold; its objects file is read by readObjects().
    void setMapPath(const QString& picturePath);
    QString objectsPath() const;
    // Reads the objects file of the current map into the three slots (objectRestored() for
    // each). False after an unreadable file has been reported: nothing changed, and the first
    // save keeps that file aside. Positions that are no positions are reported and not taken.
    bool readObjects();
    // Whether a save writes the objects file: a map is open (the window: its picture shows;
    // headless: its objects file was read).
    void setObjectsOpen(bool open) { m_objectsOpen = open; }
    bool objectsOpen() const { return m_objectsOpen; }
    // The map area's scroll position, kept beside the objects.
    QPoint mapScroll() const { return m_mapScroll; }
    void setMapScroll(QPoint scroll) { m_mapScroll = scroll; }
    // How the map was shown, kept beside the scroll position: its zoom (nothing until the
    // window has shown the map or its objects file held one) and whether it fitted the window.
    std::optional<double> mapZoom() const { return m_mapZoom; }
    bool mapFitWindow() const { return m_mapFitWindow; }
    void setMapZoom(double zoom, bool fitWindow) {
        m_mapZoom = zoom;
        m_mapFitWindow = fitWindow;
    }
    // The three objects and the pending kills into the current map's objects file; false after
    // "Unable to write to" (`quiet`: only in the log).
    bool saveObjects(bool quiet = false);
    // Whether each object was running when its objects file was last written ("Running=1").
    std::array<bool, 3> storedRunning() const { return m_storedRunning; }
    // Starts the objects that were running when the objects file was written; how many.
    int startStoredObjects();
    // Once the link next comes up, start the objects that were running at the last save.
    void resumeWhenConnected() { m_resumePending = true; }

    // ---- What the channel did with the reports -----------------------------------------
    const HeardReports& heard() const { return m_heard; }
    // The frames heard lately, newest first, for the Heard window.
    HeardModel& heardModel() const { return *m_heardModel; }
    // Under the object's next report: its last report's fate ("Sent 12:03:05, heard via
    // DIGI1 12:03:06") and, on a line of its own, another station sending its name.
    QString lastReportText(int index) const;

    // Every object's time stamp: the current UTC day, hour and minute ("061523z").
    void readTime();
    // The system clock was last found not synchronised.
    bool clockUnsynchronised() const { return m_clockUnsynced; }
    // Looks at the system clock's status (once a minute by itself): clockStatus() when it is
    // found not synchronised, and again when it has become so.
    void checkClock();
    // The end of a run: the link goes down, a serial port is let go, and the objects (with
    // what was running before the link went down) and the settings are written. Returns what
    // could not be saved, as the user would name it; empty when all was.
    QStringList shutDown();

signals:
    // Slot `index` took an entry of the objects file: `placed` when it has a position, else
    // `adopted` when it took over the entry's comment and files.
    void objectRestored(int index, bool placed, bool adopted);
    // lastReportText(index) changed.
    void lastReportChanged(int index);
    // Another station was heard sending an object of this object's name (once per station):
    // the status box says so.
    void nameClash(int index, const QString& text);
    // The system clock was found not synchronised, or synchronised after that: the status box
    // and the headless log say so.
    void clockStatus(const QString& text);

private:
    SendRequest sendContext() const;
    void canonicalStationCalls();
    void linkCameUp();
    void reportHanded(int index, const QString& info, const QString& name);
    void frameHeard(const HeardFrame& frame);
    bool sendKill(const PendingKill& kill, const QString& info, const QString& note);
    // The kills changed: the objects file keeps them at once, so a power cut ends none.
    void keepKills();

    Dialogs& m_dialogs;
    Clock& m_clock;
    QString m_settingsPath;
    AppSettings m_settings;
    LinkControl* m_link = nullptr;
    CommentMarkers m_markers;
    std::array<ObjectSlot*, 3> m_slots{};
    PendingKills* m_kills = nullptr;
    QPoint m_mapScroll;
    std::optional<double> m_mapZoom;
    bool m_mapFitWindow = false;
    bool m_objectsOpen = false;
    bool m_settingsUnreadable = false; // the first save keeps the unread file aside
    bool m_objectsUnreadable = false;
    std::array<bool, 3> m_storedRunning{false, false, false};
    // What was running when the shutdown began: the link going down stops everything.
    std::optional<std::array<bool, 3>> m_runningAtEnd;
    bool m_resumePending = false;
    HeardReports m_heard;
    HeardModel* m_heardModel = nullptr;
    bool m_clockUnsynced = false; // said so, and not yet that it is synchronised again
    bool m_utcWeather = false;    // the weather header's time form last applied
};
