// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "app/ToolbarIcons.h"
#include "beacon/TfrmComment.h"
#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "links/LinkControl.h"
#include "links/Serial/TSerialPort.h"
#include "links/TAGWPE.h"
#include "links/TfrmKiss.h"
#include "links/TfrmSetTNC.h"
#include "links/TfrmTNC.h"
#include "map/MapView.h"
#include "map/ObjectsFile.h"
#include "settings/AppSettings.h"
#include "settings/TfrmStation.h"
#include "station/Station.h"
#include "ui_TForm1.h"
#include "weather/TfrmWx.h"
#include "widgets/TForm14.h"
#include "widgets/TForm4.h"
#include "widgets/TfrmAbout.h"
#include "widgets/TfrmCHelp.h"
#include "widgets/TfrmKissHelp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

Q_LOGGING_CATEGORY(lcApp, "skyvane.app")

namespace {

const QString kTitlePrefix = QStringLiteral("Skyvane [");

QTimer* makeTimer(QObject* parent, const char* name, int interval,
                  Qt::TimerType type = Qt::CoarseTimer) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    t->setTimerType(type);
    return t;
}

} // namespace

TForm1::TForm1(Dialogs& dialogs, Clock& clock, const QString& settingsPath, const QString& helpPath,
               QWidget* parent, const QString& sentLogFolder)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), m_dialogs(dialogs), m_clock(clock),
      m_settingsPath(settingsPath.isEmpty() ? defaultSettingsPath() : settingsPath),
      m_helpPath(helpPath.isEmpty() ? defaultHelpPath() : helpPath) {
    m_station = new Station(dialogs, clock, m_settingsPath,
                            sentLogFolder.isEmpty() ? defaultSentLogFolder() : sentLogFolder, this);
    ui->setupUi(this);
    setupShell();
    setupLink();
    m_startedUtc = m_clock.nowUtc();
    connect(m_linkControl, &LinkControl::frameRecorded, this, &TForm1::recordSent);
    setupMap();
    setupObjects();
    setupWeather();
    setupComments();
    setupPreviews();
}

TForm1::~TForm1() {
    // A wait cursor left by an interrupted start-up must not outlive the window.
    m_waitCursor.releaseAll();
}

void TForm1::setupShell() {
    // Timers of the shell and the objects; the link-control class owns the link's own timers.
    m_closeTimer = makeTimer(this, "CloseTimer", 1000);
    m_timer3 = makeTimer(this, "Timer3", 3000);
    connect(m_closeTimer, &QTimer::timeout, this, &TForm1::CloseTimed);
    setupStatusBar();

    // Separators carry the names maintainers know them by.
    const char* separatorNames[] = {"N1", "N2", "N3", "N5"};
    int next = 0;
    for (QMenu* menu : {ui->mnuView, ui->mnuSetup, ui->mnuHelp})
        for (QAction* a : menu->actions())
            if (a->isSeparator() && next < 4)
                a->setObjectName(QLatin1String(separatorNames[next++]));

    ui->btnConnect1->setIcon(toolbarIcon(ToolbarIcon::Connect));
    ui->btnDisconnect->setIcon(toolbarIcon(ToolbarIcon::Disconnect));
    ui->btnLoad->setIcon(toolbarIcon(ToolbarIcon::LoadMap));
    ui->btnHide->setIcon(toolbarIcon(ToolbarIcon::Details));
    ui->btnStopAll->setIcon(toolbarIcon(ToolbarIcon::StopAll));
    ui->btnTime->setIcon(toolbarIcon(ToolbarIcon::Time));
    // Each button remembers its tip, so hints can be switched off and back on.
    for (QToolButton* b : {ui->btnConnect1, ui->btnDisconnect, ui->btnLoad, ui->btnHide,
                           ui->btnStopAll, ui->btnTime})
        b->setProperty("hint", b->toolTip());

    connect(ui->btnHide, &QToolButton::clicked, this, &TForm1::btnHideClick);
    connect(ui->mnuShow, &QAction::triggered, this, &TForm1::mnuShowClick);
    connect(ui->mnuToolbar, &QAction::triggered, this, &TForm1::mnuToolbarClick);
    connect(ui->mnuView, &QMenu::aboutToShow, this, &TForm1::mnuViewClick);
    connect(ui->mnuSetup, &QMenu::aboutToShow, this, &TForm1::mnuSetupClick);
    connect(ui->mnuHints, &QAction::triggered, this, &TForm1::mnuHintsClick);
    connect(ui->mnuResume, &QAction::triggered, this, &TForm1::mnuResumeClick);
    connect(ui->mnuDecay, &QAction::triggered, this, &TForm1::mnuDecayClick);
    connect(ui->HelpFile1, &QAction::triggered, this, &TForm1::HelpFile1Click);
    connect(ui->mnuAbout, &QAction::triggered, this, &TForm1::mnuAboutClick);
    connect(ui->StationSetup1, &QAction::triggered, this, &TForm1::StationSetup1Click);
    connect(ui->mnuSent, &QAction::triggered, this, &TForm1::mnuSentClick);
    connect(ui->mnuHeard, &QAction::triggered, this, &TForm1::mnuHeardClick);
}

void TForm1::setupStatusBar() {
    // Panels: comment file, pointer position, map title.
    const int widths[3] = {200, 150, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(ui->Bar);
        panel->setObjectName(QStringLiteral("BarPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i == 1)
            panel->setFixedWidth(std::max(widths[i], MapView::readoutWidth(*panel)));
        else if (i == 0)
            panel->setFixedWidth(widths[i]);
        else
            panel->setMinimumWidth(widths[i]);
        ui->Bar->addWidget(panel, i == 2 ? 1 : 0);
        m_barPanels[i] = panel;
    }
}

QLabel* TForm1::barPanel(int index) const {
    return index >= 0 && index < 3 ? m_barPanels[index] : nullptr;
}

void TForm1::createOtherWindows() {
    if (m_windows.AGWPE)
        return;
    m_windows.AGWPE = new TAGWPE(this);
    m_windows.frmStation = new TfrmStation(m_dialogs, this);
    m_windows.Form4 = new TForm4(m_dialogs, m_helpPath, this);
    m_windows.frmAbout = new TfrmAbout(this);
    m_windows.frmComment = new TfrmComment(m_dialogs, m_clock, this);
    m_windows.frmCHelp = new TfrmCHelp(this);
    m_windows.frmTNC = new TfrmTNC(*m_linkControl, m_clock, this);
    m_windows.frmSetTNC = new TfrmSetTNC(m_dialogs, this);
    m_windows.frmKiss = new TfrmKiss(m_dialogs, this);
    m_windows.frmKissHelp = new TfrmKissHelp(this);
    m_windows.AGWPE->setTncSettingsDialog(m_windows.frmSetTNC);
    m_windows.frmKiss->setHelpWindow(m_windows.frmKissHelp);
    m_windows.frmTNC->setKissDialog(m_windows.frmKiss);
    // The link type and the TNC settings change while these windows are still open.
    connect(m_windows.AGWPE, &TAGWPE::linkChanged, m_linkControl, &LinkControl::setLinkSettings);
    connect(m_windows.frmTNC, &TfrmTNC::linkChanged, m_linkControl, &LinkControl::setLinkSettings);
    m_windows.frmWx = new TfrmWx(m_dialogs, this);
    m_windows.Form14 = new TForm14(this);
    m_windows.frmWx->setHelpWindow(m_windows.Form14);
    connect(m_windows.frmStation, &TfrmStation::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_windows.frmStation, &TfrmStation::stationChanged, m_linkControl,
            &LinkControl::setStation);
    emit otherWindowsCreated();
}

void TForm1::createOtherWindowsAfterFirstFrame(int latestMs) {
    if (m_painted) {
        createOtherWindows();
        return;
    }
    m_otherWindowsAfterFrame = true;
    QTimer::singleShot(latestMs, this, &TForm1::createOtherWindows);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // The window is painted before its controls, and the frame is handed to the screen
        // after them all: a queued call runs once it is.
        QMetaObject::invokeMethod(
            this,
            [this] {
                qCInfo(lcApp) << "main window painted";
                if (m_otherWindowsAfterFrame)
                    createOtherWindows();
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    m_closing = false;
    loadSettings();
    ui->Page->setCurrentIndex(0);
    ui->Edit1->setText(QStringLiteral("Not Connected"));
    updateTitle();
    updateConnectEnabled();
    ReadTime();
    loadLastMap();
    ui->HelpFile1->setEnabled(QFileInfo(m_helpPath).isFile());
    // The stored flag is turned round once so that the menu handler turns it back and applies it.
    m_station->setHints(!hints());
    mnuHintsClick();
    // The objects that were running when the station last stopped go on the air again once
    // the link is up, for a station that comes back after a power cut.
    ui->mnuResume->setChecked(m_station->settings().resume);
    ui->mnuDecay->setChecked(m_station->settings().decay);
    if (m_station->settings().resume)
        m_station->resumeWhenConnected();
    if (linkSettings().AutoConnect) {
        m_timer3->start();
        if (linkSettings().serial()) {
            ui->Edit1->setText(QStringLiteral("Connecting to TNC"));
            m_waitCursor.hold();
        }
    }
    qCInfo(lcApp).noquote() << "main window shown with settings" << m_settingsPath << "map"
                            << (mapPath().isEmpty() ? QStringLiteral("(none)") : mapPath())
                            << "help" << m_helpPath;
}

void TForm1::ReadTime() {
    m_station->readTime();
}

void TForm1::updateTitle() {
    setWindowTitle(kTitlePrefix + station().MyCall + QLatin1Char(']'));
}

void TForm1::updateConnectEnabled() {
    const bool set = station().callsignSet();
    ui->btnConnect1->setEnabled(set);
    ui->mnuConnect->setEnabled(set);
    showCallsignHint();
}

void TForm1::showCallsignHint() {
    const bool set = station().callsignSet();
    // A greyed Connect must say why; a new user has not read the guide yet.
    static const QString hint =
        QStringLiteral("Set your callsign in Setup > Station Setup to connect");
    ui->btnConnect1->setToolTip(set ? QStringLiteral("Connect to host") : hint);
    if (!set)
        showStatus(hint);
    else if (ui->Edit1->text() == hint)
        showStatus(m_linkControl->statusText());
}

void TForm1::showStatus(const QString& text) {
    // The start of a long text is what reads; the whole of it is in the tool tip.
    ui->Edit1->setText(text);
    ui->Edit1->setCursorPosition(0);
    ui->Edit1->setToolTip(text);
}

void TForm1::btnHideClick() {
    ui->Panel3->setVisible(ui->Panel3->isHidden());
    const bool detailsShown = !ui->Panel3->isHidden();
    ui->mnuToolbar->setEnabled(!detailsShown);
    if (detailsShown)
        ui->Panel1->setVisible(true);
}

void TForm1::mnuShowClick() {
    btnHideClick();
}

void TForm1::mnuToolbarClick() {
    ui->Panel1->setVisible(ui->Panel1->isHidden());
}

void TForm1::mnuViewClick() {
    ui->Debug1->setEnabled(linkSettings().serial());
}

void TForm1::mnuSetupClick() {
    ui->mnuHints->setChecked(hints());
    ui->mnuResume->setChecked(m_station->settings().resume);
    ui->mnuDecay->setChecked(m_station->settings().decay);
}

void TForm1::mnuHintsClick() {
    m_station->setHints(!hints());
    ui->mnuHints->setChecked(hints());
    applyHintsToToolbar();
}

void TForm1::mnuResumeClick() {
    m_station->setResume(!m_station->settings().resume);
    ui->mnuResume->setChecked(m_station->settings().resume);
}

void TForm1::mnuDecayClick() {
    m_station->setDecay(!m_station->settings().decay);
    ui->mnuDecay->setChecked(m_station->settings().decay);
}

void TForm1::applyHintsToToolbar() {
    for (QToolButton* b : {ui->btnConnect1, ui->btnDisconnect, ui->btnLoad, ui->btnHide,
                           ui->btnStopAll, ui->btnTime})
        b->setToolTip(hints() ? b->property("hint").toString() : QString());
}

void TForm1::HelpFile1Click() {
    createOtherWindows();
    m_windows.Form4->move(x() + 30, y() + 30);
    m_windows.Form4->show();
    m_windows.Form4->raise();
}

void TForm1::mnuAboutClick() {
    createOtherWindows();
    m_windows.frmAbout->move(x() + 150, y() + 80);
    m_windows.frmAbout->exec();
}

void TForm1::StationSetup1Click() {
    createOtherWindows();
    btnDisconnectClick();
    m_windows.frmStation->resize(247, 288);
    m_windows.frmStation->move(x() + 50, y() + 50);
    m_windows.frmStation->setValues(station(), linkSettings().type());
    const bool accepted = m_windows.frmStation->exec() == QDialog::Accepted;
    // The values before the dialog opened unless an OK accepted new ones.
    m_linkControl->setStation(m_windows.frmStation->station());
    // The title follows the callsign in use, also after a refused OK that showed another.
    updateTitle();
    if (accepted)
        ui->mnuConnect->setEnabled(true);
    if (station().callsignSet()) {
        ui->btnConnect1->setEnabled(true);
        ui->btnDisconnect->setEnabled(false);
    } else {
        ui->btnConnect1->setEnabled(false);
    }
    showCallsignHint();
}

void TForm1::CloseTimed() {
    m_closing = false;
}

bool TForm1::CloseQuery() {
    if (!m_dialogs.okCancel(QStringLiteral("Close Skyvane?")))
        return false;
    return shutDown();
}

void TForm1::endSession() {
    if (m_closing)
        return;
    qCInfo(lcApp) << "asked to end by the system: saving without asking";
    if (!shutDown())
        return;
    // Quitting closes the window; that close must not ask again.
    m_ended = true;
    emit closed();
}

bool TForm1::shutDown() {
    m_closeTimer->start();
    m_closing = true;
    m_waitCursor.hold();
    while (m_closing)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    storeWindowState();
    const QStringList lost = m_station->shutDown();
    m_waitCursor.release();
    // What cannot be written (a map on a read-only disc, a settings folder gone) must not keep
    // the program from closing for ever, nor be lost without asking.
    if (lost.isEmpty())
        return true;
    return m_dialogs.yesNo(QStringLiteral("Close Skyvane without saving %1? They will be lost.")
                               .arg(lost.join(QStringLiteral(" and "))));
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_ended) {
        event->accept();
        return;
    }
    // A second close while the first still waits for its timer would run the sequence twice.
    if (m_closing) {
        event->ignore();
        return;
    }
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}
