// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/ObjectSlot.h"

#include <QObject>
#include <QPoint>
#include <functional>

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

// One object's tab: its controls showing its `ObjectSlot`, and (object 1) its weather mode.
// Each edit goes to the slot as it is made; nothing is read back from a control at send time.
// It says what the map should show through signals.
class ObjectPanel : public QObject {
    Q_OBJECT
public:
    // `stationCall` names the weather station on the map.
    ObjectPanel(const ObjectControls& controls, ObjectSlot& slot, Dialogs& dialogs,
                std::function<QString()> stationCall, QObject* parent = nullptr);

    int index() const { return m_slot.index(); }
    ObjectSlot& slot() const { return m_slot; }
    const BeaconObject& object() const { return m_slot.object(); }
    const ObjectControls& controls() const { return m_c; }
    QTimer* timer() const { return m_slot.timer(); }
    bool weatherMode() const { return m_slot.weatherMode(); }
    bool hasPosition() const { return m_slot.hasPosition(); }
    bool running() const { return m_slot.running(); }
    bool picking() const { return m_slot.picking(); }
    void setPicking(bool on) { m_slot.setPicking(on); }
    // True when a Send Now, Start, Stop or Delete button or the timer is this object's.
    bool owns(const QObject* sender) const;

    // The slot took a placed entry of the objects file: the controls are filled as if typed.
    void showRestored(const QString& latitudeShown, const QString& longitudeShown);
    // The slot adopted an entry that has no place: only its comment is shown.
    void showAdopted();
    // A click on the map gave this object its place.
    void placeAt(const QString& latitude, const QString& longitude, const QString& latitudeShown,
                 const QString& longitudeShown);
    void setInterval(int minutes);
    // The interval box's value.
    int interval() const;
    // The use-comment-file box can be ticked while the comment file exists.
    void offerCommentFile();
    QString commentFileStatus() const { return m_slot.commentFileStatus(); }

    // ---- Handlers -----------------------------------------------------------------------
    // Rebuilds the header; for object 1 also switches every control between its modes.
    void updateHeader();
    void identifierChanged();
    void symbolChosen();
    // The use-comment-file box was clicked.
    void useFileClicked();
    // The time button: "% " in front of the comment.
    void insertTimeMarker();
    // Delete button: asks, and with a link offers the killed report first. `connected`: the
    // link is up, or lost and coming back by itself (the kill then goes once it is back).
    void deleteClicked(bool connected);
    // Empties the object silently, as a new map does to the object showing.
    void empty();
    bool start(bool byTimer) { return m_slot.start(byTimer); }
    void stop() { m_slot.stop(); }
    void tick() { m_slot.tick(); }
    void showIntervalHint();
    void send() { m_slot.send(); }
    bool readCommentFile() { return m_slot.readCommentFile(); }
    NextReportView nextReport() const { return m_slot.nextReport(); }

signals:
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
    void showOnMap() { emit mapSymbolShown(index(), object()); }
    void setTabCaption(const QString& identifier);
    void showRunning(bool running);
    void showHeader(const QString& header);
    // Sets a box's text without handing it back to the slot as an edit.
    void showText(QLineEdit* box, const QString& text);
    // The comment box changed: typed text goes to the slot unless it cannot go on the air.
    void commentEdited(const QString& text);

    ObjectControls m_c;
    ObjectSlot& m_slot;
    Dialogs& m_dialogs;
    std::function<QString()> m_stationCall;
    bool m_shownRunning = false;
    bool m_showing = false;      // a box shows the slot's text, not the user's edit
    QString m_commentBeforeSend; // the typed comment, shown again once a send is done
};
