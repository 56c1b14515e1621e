// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/ObjectPanel.h"
#include "common/LinkSettings.h"
#include "common/StationSettings.h"
#include "links/SentLog.h"
#include "map/Calibration.h"
#include "widgets/WaitCursor.h"

#include <QMainWindow>
#include <QRect>
#include <memory>
#include <optional>

struct AppSettings;
class Dialogs;
class Clock;
class QKeyEvent;
class QLabel;
class MapSymbols;
class MapView;
class ReportPreview;
struct LoadedPicture;
struct StoredObject;
class QTimer;
class LinkControl;
struct LinkLayout;
class Station;
class TAGWPE;
class TfrmStation;
class TForm4;
class TfrmAbout;
class TfrmComment;
class TfrmCHelp;
class TfrmTNC;
class TfrmSetTNC;
class TfrmKiss;
class TfrmKissHelp;
class TfrmWx;
class TForm14;
class TfrmHeard;
class TfrmSent;
class TfrmCalibrate;

namespace Ui {
class TForm1;
}

// The main window: the shell that wires the three object panels, the map view and the link
// control together and keeps the handler names.
// Its handlers are spread over files by subsystem (TForm1Link.cpp, TForm1Map.cpp,
// TForm1Objects.cpp); each block below says which file holds it.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // settingsPath and helpPath default to the files beside the program (see
    // defaultSettingsPath()), sentLogFolder to defaultSentLogFolder(); tests hand in paths of
    // their own.
    TForm1(Dialogs& dialogs, Clock& clock, const QString& settingsPath = {},
           const QString& helpPath = {}, QWidget* parent = nullptr,
           const QString& sentLogFolder = {});
    ~TForm1() override;

    // Creates the thirteen other windows, hidden, in their fixed order; does nothing once they
    // are. Each handler that opens one calls it first, as a click may come before the first
    // frame's follow-up has built them.
    void createOtherWindows();
    // The same once the main window's first frame is drawn, so that building them does not hold
    // that frame up; at the latest latestMs after this call, as a window that starts minimized
    // is not drawn.
    void createOtherWindowsAfterFirstFrame(int latestMs = 1000);

    // The other windows, created by createOtherWindows(); null before.
    struct Windows {
        TAGWPE* AGWPE = nullptr;
        TfrmStation* frmStation = nullptr;
        TForm4* Form4 = nullptr;
        TfrmAbout* frmAbout = nullptr;
        TfrmComment* frmComment = nullptr;
        TfrmCHelp* frmCHelp = nullptr;
        TfrmTNC* frmTNC = nullptr;
        TfrmSetTNC* frmSetTNC = nullptr;
        TfrmKiss* frmKiss = nullptr;
        TfrmKissHelp* frmKissHelp = nullptr;
        TfrmWx* frmWx = nullptr;
        TForm14* Form14 = nullptr;
    };

    // ---- The station this window shows: its settings, link and objects ----------------
    Station& stationCore() const { return *m_station; }
    const StationSettings& station() const;
    const LinkSettings& linkSettings() const;
    const QString& mapPath() const;
    const QString& dateFormat() const;
    int dateIndex() const;
    bool metric() const;
    bool hints() const;

    // ---- Accessors ----------------------------------------------------------------------
    Dialogs& dialogs() const { return m_dialogs; }
    Clock& clock() const { return m_clock; }
    const QString& settingsPath() const { return m_settingsPath; }
    const QString& helpPath() const { return m_helpPath; }
    // Status bar panels 0..2 (200, 150 and 50 pixels).
    QLabel* barPanel(int index) const;

    // skyvane.ini beside the program, or in $XDG_CONFIG_HOME/skyvane/ where the program's
    // folder cannot be written.
    static QString defaultSettingsPath();
    static QString defaultHelpPath();
    static QString defaultSentLogFolder();

    // ---- Application shell (app/TForm1.cpp) ---------------------------------------------
    void FormShow();
    bool CloseQuery();
    // The desktop session or the system ends the program (SIGTERM, SIGHUP): everything is saved
    // as at a confirmed close, without the question nobody is there to answer.
    void endSession();
    void CloseTimed();
    void btnHideClick();
    void mnuShowClick();
    void mnuToolbarClick();
    void mnuViewClick();
    // View > Sent Reports: the frames sent today, modeless; built at its first showing.
    void mnuSentClick();
    // View > Heard: the frames heard on the channel, modeless; built at its first showing.
    void mnuHeardClick();
    void mnuSetupClick();
    void mnuHintsClick();
    // Setup > Resume Objects at Start-up.
    void mnuResumeClick();
    void mnuDecayClick();
    void HelpFile1Click();
    void mnuAboutClick();
    void StationSetup1Click();
    // Sets every object's time stamp to the current UTC day, hour and minute ("061523z").
    void ReadTime();
    // The title "Skyvane [callsign]".
    void updateTitle();
    // Connect button and menu follow the callsign: enabled unless it still begins "NOCALL".
    void updateConnectEnabled();
    // Connect's tool tip and the status box say why Connect is greyed while the callsign is
    // unset.
    void showCallsignHint();
    // The status box: the link's status, or why it cannot connect.
    void showStatus(const QString& text);
    // Reads every setting into the window's state; false (with the message shown) when the
    // file exists but cannot be read.
    void loadSettings();
    // Writes every setting; false after "Unable to write to <path>" has been shown.
    bool saveSettings();

    // ---- Link control and sending (app/TForm1Link.cpp) ----------------------------------
    void setupLink();
    void btnConnect1Click();
    void btnDisconnectClick();
    void mnuConnectClick();
    void mnuHostClick();
    // The TNC terminal, on the serial link (opened first when it never was).
    void Debug1Click();
    // Sends the report of the object the sender (Send Now, Start, Delete or tick timer of a
    // tab) belongs to; refusals are shown as messages.
    void btnSendClick(QObject* sender);
    LinkControl* link() const { return m_linkControl; }

    // ---- Map (app/TForm1Map.cpp) --------------------------------------------------------
    void setupMap();
    // At start-up: the picture named by m_mapPath with its objects, or a message naming what is
    // missing; on a first start (no settings file yet) the sample map.
    void loadLastMap();
    // Load Map from the menu item, the tool button, or (sender == this) start-up without a dialog.
    void LoadMap(QObject* sender);
    void LoadMap1Click();
    void btnLoadClick();
    // Map > Calibrate Map...: a picture chosen, two points on it given their positions, its
    // calibration file written, and then the map loaded.
    void CalibrateMap1Click();
    // View > Zoom In, Zoom Out, Actual Size, Fit Window.
    void mnuZoomInClick();
    void mnuZoomOutClick();
    void mnuActualSizeClick();
    void mnuFitWindowClick();
    // The objects file of the current map into the three objects, their pictures and labels.
    void ReadMapIni();
    // The three objects into the current map's objects file; false after "Unable to write to".
    bool SaveMapIni();
    // Pointer at picture pixel (x, y): the readout in status panel 2.
    void ImageMouseMove(int x, int y);
    // A button released at picture pixel (x, y): places the object of the page showing.
    void ImageMouseUp(Qt::MouseButton button, int x, int y);
    // A picture of object 1, 2 or 3 clicked: that object's next click on the map moves it.
    void SymbolSelect(QWidget* picture = nullptr);
    void SymbolSelect1(QWidget* picture = nullptr);
    void SymbolSelect2(QWidget* picture = nullptr);
    void LatLongClick();
    // Every key pressed in this window passes here first; true when the key was used up.
    bool FormKeyPress(QObject* receiver, QKeyEvent* event);

    // ---- Comments (app/TForm1Comments.cpp) ----------------------------------------------
    void setupComments();
    // Toolbar time button: "% " in front of the shown object's comment.
    void btnTimeClick();
    void mnuCommentFilesClick();
    // The Comment Files dialog on its Date/Time page.
    void DateTimeFormat1Click();
    void mnuCHelpClick();

    // ---- Objects: one panel per tab (app/TForm1Objects.cpp) -----------------------------
    void setupObjects();
    // The next report under each header and the channel share in the status bar.
    void setupPreviews();
    void refreshPreviews();
    // Object 0..2's tab; null for any other index.
    ObjectPanel* panel(int index) const;
    // The panel of the tab showing.
    ObjectPanel* shownPanel() const;
    // Object 1 carries the weather station symbol.
    bool weatherMode() const;
    // Exit handler of the identifier boxes: identifiers must differ.
    void CheckID(int index);
    // Another tab was brought to the front.
    void EnterTab();
    // Delete buttons; map loading passes another sender to empty the active object silently.
    void btnDeleteClick(QObject* sender);
    void btnStopAllClick();
    // The object 0..2 that a Send Now, Start, Stop, Delete button or timer belongs to; -1
    // for anything else.
    int objectOfSender(const QObject* sender) const;

    // ---- Weather station (app/TForm1Weather.cpp) ----------------------------------------
    void setupWeather();
    // "Set Data" or the weather picture: the weather dialog, whose OK gives object 1 its
    // weather data and sets the unit setting.
    void btnWxClick();

signals:
    // The close was confirmed and everything saved: the program ends.
    void closed();
    // The other windows are built: what waited for the first frame may be done now.
    void otherWindowsCreated();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Windows m_windows;
    Station* m_station = nullptr;
    bool m_closing = false;                // the shutdown waits for CloseTimer
    bool m_shown = false;                  // FormShow has run
    bool m_painted = false;                // the first frame has been drawn
    bool m_otherWindowsAfterFrame = false; // ...and is to be followed by the others
    QTimer* m_closeTimer = nullptr;
    QTimer* m_timer3 = nullptr;

    void setupShell();
    void setupStatusBar();
    // The close after its confirmation: the wait, the disconnect and the saves.
    bool shutDown();
    // The window's place, the map's scroll position and its symbols into the station, for
    // its next save.
    void storeWindowState();
    void storeMapState();
    bool m_ended = false; // saved and ending: a close no longer asks
    void applyHintsToToolbar();

    std::unique_ptr<Ui::TForm1> ui;
    Dialogs& m_dialogs;
    Clock& m_clock;
    QString m_settingsPath;
    QString m_helpPath;
    QLabel* m_barPanels[3] = {nullptr, nullptr, nullptr};

    // ---- Objects (app/TForm1Objects.cpp) ------------------------------------------------
    void applyObjectMode(bool weather);
    // `page`: the object tab 0..2 or TfrmComment::DateTimePage.
    void showCommentFiles(int page);
    // Where objects meet the link and the map.
    bool linkConnected() const;
    void connectToMap(ObjectPanel* panel);
    void showObjectOnMap(int slot, const BeaconObject& object);
    ObjectPanel* m_panels[3] = {nullptr, nullptr, nullptr};
    ReportPreview* m_previews[3] = {nullptr, nullptr, nullptr};
    QLabel* m_channelPanel = nullptr;
    QLabel* m_linkStatePanel = nullptr;
    QTimer* m_previewDue = nullptr;

    // Link control and sending (app/TForm1Link.cpp).
    void applyLinkLayout(const LinkLayout& layout);
    LinkControl* m_linkControl = nullptr;
    TfrmSent* m_sentWindow = nullptr;
    TfrmHeard* m_heardWindow = nullptr;
    QList<SentRecord> m_sentThisRun;
    QDateTime m_startedUtc;
    void recordSent(const SentRecord& record);
    WaitCursor m_waitCursor; // the one owner of the hourglass

    // Map (app/TForm1Map.cpp).
    MapView* m_map = nullptr;
    bool anyPicking() const;
    void selectSymbol(int slot, QWidget* picture);
    // The picture dialog with this title; with saveFirst the current map's objects are saved
    // as soon as another picture is chosen.
    std::optional<QString> chooseMap(const QString& title, bool saveFirst);
    // The picture at `path` decoded (or `decoded` when it already is) and its calibration read.
    bool readMap(const QString& path, std::optional<LoadedPicture> decoded, LoadedPicture& picture,
                 MapCalibration& calibration);
    // The chosen picture becomes the map showing, with its objects, zoom and scroll position.
    void openMap(const QString& path, std::optional<LoadedPicture> decoded);
    // Calibrate Map on a picture: its decoded picture once the calibration file is written;
    // nothing when it could not be read or the user cancelled.
    std::optional<LoadedPicture> calibratePicture(const QString& path);
    // The map's zoom (or Fit Window) and scroll position as last read or kept.
    void showStoredView();
    void updateZoomActions();
    TfrmCalibrate* m_calibrateWindow = nullptr;
    // Set by a first start, which shows the sample map on the middle of its picture.
    bool m_firstStart = false;
    // Slot `slot` took an entry of the objects file: its tab and the map show it.
    void showRestoredEntry(int slot, bool placed, bool adopted);
};
