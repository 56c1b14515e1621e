// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/BeaconObject.h"
#include "beacon/BeaconSchedule.h"
#include "beacon/NextReport.h"
#include "beacon/SendPlan.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Clock;
class Dialogs;

// What the "$" and "%" comment markers become at the next send, whichever object read its
// comment file last.
struct CommentMarkers {
    QString fileDateText;
    QString currentTimeText;
};

// What a slot needs from its station to judge and build a report.
struct ObjectSlotServices {
    CommentMarkers* markers = nullptr; // shared by the three slots
    // The link and station part of a send request: connected, destinations, link type.
    std::function<SendRequest()> sendContext;
    // The station's callsign: the weather station's name on the map and in the sent log.
    std::function<QString()> stationCall;
    // The date/time format the "%" comment marker becomes.
    std::function<QString()> dateFormat;
    // A Start or a change of a running object's report sends again soon, with doubling gaps,
    // before it settles on the interval. Off when not given.
    std::function<bool()> decay;
    // The station's options for text and the weather time; off when not given.
    std::function<bool()> utf8Text;
    std::function<bool()> utcWeather;
};

// One object: the one copy of its state, its minute schedule, and the composing and sending
// of its report. It knows no window: a tab shows it and hands it the user's edits, and a
// headless station runs it alone.
class ObjectSlot : public QObject {
    Q_OBJECT
public:
    ObjectSlot(int index, Dialogs& dialogs, Clock& clock, ObjectSlotServices services,
               QObject* parent = nullptr);

    int index() const { return m_index; }
    const BeaconObject& object() const { return m_object; }
    // The minute timer, named as its handler ("Timer", "Timer1", "Timer2").
    QTimer* timer() const { return m_timer; }
    // Object 1 carrying the weather symbol.
    bool weatherMode() const;
    bool hasPosition() const { return m_object.hasPosition; }
    bool running() const { return m_object.running; }
    bool picking() const { return m_object.picking; }
    // The text of the comment-file status panel for this object.
    QString commentFileStatus() const;
    // The station sends text as UTF-8: comments may hold any character, limited in bytes.
    bool utf8Text() const { return m_services.utf8Text && m_services.utf8Text(); }

    // ---- Edits, as the user makes them --------------------------------------------------
    void setIdentifier(const QString& identifier);
    void setSymbol(int number, const QString& table, const QString& code);
    void clearSymbolNumber() { m_object.symbolNumber = 0; }
    void setPosition(const QString& latitude, const QString& longitude);
    void setSymbolAt(QPoint topLeft) { m_object.symbolAt = topLeft; }
    void setPicking(bool on) { m_object.picking = on; }
    void setComment(const QString& comment);
    void setUseCommentFile(bool on);
    // The interval as typed; a Start limits it to what a schedule runs.
    void setInterval(int minutes) { m_object.interval = minutes; }
    void setCommentFile(const QString& path) { m_object.commentFile = path; }
    void setDefaultComment(const QString& text) { m_object.defaultComment = text; }
    void setTimeStamp(const QString& stamp) { m_object.timeStamp = stamp; }
    // An objects-file entry with a place: the object as stored.
    void restore(const BeaconObject& restored);
    // An entry without a place: taken over only while this object has no place of its own, so
    // that the next save writes it back; false when it was not.
    bool adopt(const BeaconObject& restored);
    // Empties the object; the table character stays, as it was chosen last.
    void empty();
    // The typed comment takes over from the comment file: time stamps are due.
    void requestTimeStamps() { emit timeStampsDue(); }
    // Rebuilds the header from the object (the weather station's from the local time).
    void updateHeader();

    // ---- Schedule and sending -----------------------------------------------------------
    // Start with its checks; false when refused (its message shown once, also from the timer).
    bool start(bool byTimer);
    void stop();
    // The minute timer's handler.
    void tick();
    // Sends the report now.
    void send();
    // Minutes until the next report while the decay after a Start or a change runs; 0 once
    // the object sends every interval.
    int decayGap() const { return m_decayGap; }
    // Fires a few seconds after the last edit of a running object's report ("SettleTimer"): with
    // the decay on, a report that differs from the one last sent goes at once and its decay
    // starts again. Its handler is settled().
    QTimer* settleTimer() const { return m_settle; }
    void settled();
    // The operator deletes the object and notifies other stations: the comment is emptied, the
    // name field marked killed, and the station repeats the killed report (killRequested).
    void sendKilled();
    // The link is back: a running object whose report fell due while it was down sends once,
    // not once per interval missed, and keeps its minute grid.
    void catchUp();
    // A report of this running object fell due while the link was down.
    bool missed() const { return m_missed; }
    // The comment file into the object, time stamp and header refreshed; false after an
    // unreadable file has been reported.
    bool readCommentFile();
    // What a Send Now would put on the air at this moment, worked out without sending,
    // without waiting for a comment file being written and without changing anything.
    NextReportView nextReport() const;
    // The hint of the interval box: minutes left while running.
    QString intervalHint() const;

signals:
    // A report to put on the air (header + comment), where it goes, and the name the sent log
    // gives it.
    void reportReady(int index, const QString& info, const QString& destination,
                     const QString& name);
    // Every object's time stamp is due for a refresh (a send without a comment file).
    void timeStampsDue();
    // Started or stopped.
    void runningChanged(int index, bool running);
    void headerChanged(int index, const QString& header);
    // The comment changed by other means than an edit (a comment file read).
    void commentChanged(int index, const QString& comment);
    // A send is under way with this comment, its markers replaced; `typed` when it is not
    // from a comment file. sendDone() follows once the report has been handed on.
    void sending(int index, const QString& comment, bool typed);
    void sendDone(int index);
    // A Start or send was refused with this message (also shown through the dialogs).
    void refused(int index, const QString& message);
    // Something the next report is made of changed.
    void nextReportChanged(int index);
    // The object was deleted with a notice to other stations: its killed report is due.
    void killRequested(int index, const BeaconObject& object);

private:
    void rearmTimer(qint64 waitMs);
    SendRequest request(bool starting) const;
    void sendChecked();
    // The report of a send now; `file` is used when `fromFile`.
    ComposedReport compose(const CommentFileText& file, bool fromFile) const;
    // Reads the comment file into the object and the shared markers; nothing after an
    // unreadable file has been reported.
    std::optional<ComposedReport> takeCommentFile();
    void refuse(const QString& message);
    void changed() { emit nextReportChanged(m_index); }
    // An edit that may change what goes on the air.
    void edited();
    bool decayOn() const { return m_services.decay && m_services.decay(); }
    // What the operator chose for the report, without what changes at every send.
    QString reportKey() const;
    // Starts the schedule afresh at the first decay gap, or the interval without decay.
    void restartSchedule();

    int m_index;
    Dialogs& m_dialogs;
    Clock& m_clock;
    ObjectSlotServices m_services;
    BeaconObject m_object;
    QTimer* m_timer;
    MinuteTicker m_ticker;
    QElapsedTimer m_monotonic;     // the tick grid's clock: never jumps with the wall clock
    bool m_refusalShowing = false; // a timed Start's refusal box is open
    bool m_timed = false;          // the send under way is the timer's: nobody asked for it
    bool m_missed = false;
    QTimer* m_settle;
    int m_decayGap = 0;
    QString m_sentKey; // reportKey() at the last send
};
