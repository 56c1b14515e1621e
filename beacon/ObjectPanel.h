// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/BeaconObject.h"
#include "beacon/BeaconSchedule.h"
#include "beacon/NextReport.h"
#include "beacon/ReportPreview.h"
#include "beacon/SendPlan.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class Clock;
class Dialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class TSpinEdit;

// The controls of one object's tab. Object 1 also has its weather button and the caption of
// its comment box, which change with its mode; the others leave those null.
struct ObjectControls {
    QTabWidget* page = nullptr; // the tab widget holding all three
    QWidget* sheet = nullptr;   // this object's tab
    QLabel* caption = nullptr;  // "Object 1" above the boxes
    QLineEdit* identifier = nullptr;
    QComboBox* symbol = nullptr;
    QLineEdit* latitude = nullptr;
    QLineEdit* longitude = nullptr;
    QLineEdit* header = nullptr;
    QLineEdit* comment = nullptr;
    QLabel* commentCaption = nullptr; // object 1 only
    QCheckBox* useFile = nullptr;
    QPushButton* send = nullptr;
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
    QPushButton* del = nullptr;
    TSpinEdit* interval = nullptr;
    QPushButton* weather = nullptr; // object 1 only
};

// What the "$" and "%" comment markers become at the next send, whichever object read its
// comment file last.
struct CommentMarkers {
    QString fileDateText;
    QString currentTimeText;
};

// What the panel needs from the rest of the window to judge and build a report.
struct ObjectPanelServices {
    CommentMarkers* markers = nullptr; // shared by the three panels
    // The link and station part of a send request: connected, destinations, link type.
    std::function<SendRequest()> sendContext;
    // The station's callsign: the weather station's name on the map and in the sent log.
    std::function<QString()> stationCall;
    // The date/time format the "%" comment marker becomes.
    std::function<QString()> dateFormat;
};

// One object's tab: its controls, its object, its beacon schedule and (object 1) its weather
// mode. It asks the window for nothing but its services and says what it wants through
// signals: a report on the air, its symbol and labels on the map.
class ObjectPanel : public QObject {
    Q_OBJECT
public:
    // `timer` is the object's minute timer, named as its handler ("Timer", "Timer1", "Timer2").
    ObjectPanel(int index, const ObjectControls& controls, QTimer* timer, Dialogs& dialogs,
                Clock& clock, ObjectPanelServices services, QObject* parent = nullptr);

    int index() const { return m_index; }
    const BeaconObject& object() const { return m_object; }
    const ObjectControls& controls() const { return m_c; }
    QTimer* timer() const { return m_timer; }
    // Object 1 carrying the weather symbol.
    bool weatherMode() const;
    bool hasPosition() const { return m_object.hasPosition; }
    bool running() const { return m_object.running; }
    bool picking() const { return m_object.picking; }
    void setPicking(bool on) { m_object.picking = on; }
    // True when a Send Now, Start, Stop or Delete button or the timer is this object's.
    bool owns(const QObject* sender) const;

    // A placed entry of the objects file: the controls are filled as if typed.
    void restore(const BeaconObject& restored, const QString& latitudeShown,
                 const QString& longitudeShown);
    // An entry that has no place: taken over only while this object has no place of its own
    // (one still showing from the map before stays as it is), so that the next save writes it
    // back. Only its comment is shown.
    void adopt(const BeaconObject& restored);
    // A click on the map gave this object its place.
    void placeAt(const QString& latitude, const QString& longitude, const QString& latitudeShown,
                 const QString& longitudeShown);
    void setTimeStamp(const QString& stamp) { m_object.timeStamp = stamp; }
    void setInterval(int minutes);
    // The interval box's value, limited as a Start would take it.
    int interval() const;
    void setCommentFile(const QString& path);
    // The use-comment-file box can be ticked while the comment file exists.
    void offerCommentFile();
    void setDefaultComment(const QString& text) { m_object.defaultComment = text; }
    // The text of the comment-file status panel for this object.
    QString commentFileStatus() const;

    // ---- Handlers -----------------------------------------------------------------------
    // Rebuilds the header; for object 1 also switches every control between its modes.
    void updateHeader();
    void identifierChanged();
    void symbolChosen();
    // The use-comment-file box was clicked.
    void useFileClicked();
    // The time button: "% " in front of the comment.
    void insertTimeMarker();
    // Delete button: asks, and with a link offers the killed report first.
    void deleteClicked(bool connected);
    // Empties the object silently, as a new map does to the object showing.
    void empty();
    // Start with its checks; false when refused (its message shown once, also from the timer).
    bool start(bool byTimer);
    void stop();
    void tick();
    void showIntervalHint();
    // Sends the report now. A killed report (Delete) reads no comment file.
    void send(bool killed = false);
    // The comment file into the comment box, time stamp and header refreshed; false after an
    // unreadable file has been reported.
    bool readCommentFile();
    // What a Send Now would put on the air at this moment, worked out without sending,
    // without waiting for a comment file being written and without changing anything.
    NextReportView nextReport() const;

signals:
    // A report to put on the air (header + comment), where it goes, and the name the sent log
    // gives it.
    void reportReady(int index, const QString& info, const QString& destination,
                     const QString& name);
    // Every object's time stamp is due for a refresh (a send without a comment file).
    void timeStampsDue();
    // The map side of the object: its symbol and labels.
    void mapSymbolPlaced(int index, QPoint topLeft);
    void mapSymbolShown(int index, const BeaconObject& object);
    void mapPlaceholderShown(int index);
    void mapSymbolHidden(int index);
    void mapLabelText(int index, const QString& text);
    void mapLabelsShown(int index, bool running);
    void mapLabelsHidden(int index);
    // Object 1 changed or re-applied its mode: the weather panel, the time button and the
    // comment-file status belong to the window.
    void modeApplied(bool weather);
    void weatherPanelHidden();
    // The identifier box lost the focus: the window compares it with the other objects'.
    void identifierLeft(int index);
    // Something the next report is made of changed.
    void nextReportChanged(int index);

protected:
    // Leaving the identifier box and moving over the interval box have no signal of their own.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyModeOfObject1();
    void rearmTimer(qint64 waitMs);
    void showOnMap() { emit mapSymbolShown(m_index, m_object); }
    SendRequest request(bool starting) const;
    void setTabCaption(const QString& identifier);
    void sendChecked(bool killed);
    // The report of a send now; `file` is used when `fromFile`.
    ComposedReport compose(const CommentFileText& file, bool fromFile) const;
    // Reads the comment file into the object, its boxes and the shared markers; nothing after
    // an unreadable file has been reported.
    std::optional<ComposedReport> takeCommentFile();
    void changed() { emit nextReportChanged(m_index); }

    int m_index;
    ObjectControls m_c;
    QTimer* m_timer;
    Dialogs& m_dialogs;
    Clock& m_clock;
    ObjectPanelServices m_services;
    BeaconObject m_object;
    MinuteTicker m_ticker;
    QElapsedTimer m_monotonic;     // the tick grid's clock: never jumps with the wall clock
    bool m_refusalShowing = false; // a timed Start's refusal box is open
};
