// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "app/ToolbarIcons.h"
#include "beacon/TfrmComment.h"
#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "links/Serial/TSerialPort.h"
#include "links/TAGWPE.h"
#include "links/TfrmKiss.h"
#include "links/TfrmSent.h"
#include "links/TfrmSetTNC.h"
#include "links/TfrmTNC.h"
#include "map/MapView.h"
#include "map/ObjectsFile.h"
#include "settings/AppSettings.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "settings/TfrmStation.h"
#include "ui_TForm1.h"
#include "weather/TfrmWx.h"
#include "widgets/TForm14.h"
#include "widgets/TForm4.h"
#include "widgets/TSpinEdit.h"
#include "widgets/TfrmAbout.h"
#include "widgets/TfrmCHelp.h"
#include "widgets/TfrmKissHelp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLoggingCategory>
#include <QScreen>
#include <QStandardPaths>
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

// Stored bounds from another screen layout (a monitor since unplugged) would put the window
// where nobody can reach it: some of its top edge must lie on a screen, and it must be usable.
bool reachable(const QRect& bounds) {
    if (bounds.width() < 200 || bounds.height() < 150)
        return false;
    const QRect titleBand(bounds.left(), bounds.top(), bounds.width(), 40);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(titleBand);
        if (overlap.width() >= 50 && overlap.height() >= 20)
            return true;
    }
    return false;
}

} // namespace

TForm1::TForm1(Dialogs& dialogs, Clock& clock, const QString& settingsPath, const QString& helpPath,
               QWidget* parent, const QString& sentLogFolder)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), m_dialogs(dialogs), m_clock(clock),
      m_settingsPath(settingsPath.isEmpty() ? defaultSettingsPath() : settingsPath),
      m_helpPath(helpPath.isEmpty() ? defaultHelpPath() : helpPath) {
    ui->setupUi(this);
    setupShell();
    setupLink();
    m_linkControl->setSentLogFolder(sentLogFolder.isEmpty() ? defaultSentLogFolder()
                                                            : sentLogFolder);
    m_startedUtc = m_clock.nowUtc();
    connect(m_linkControl, &LinkControl::frameRecorded, this, &TForm1::recordSent);
    setupMap();
    setupObjects();
    setupWeather();
    setupComments();
}

TForm1::~TForm1() {
    // A wait cursor left by an interrupted start-up must not outlive the window.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

QString TForm1::defaultSettingsPath() {
    const QString program = QCoreApplication::applicationFilePath();
    return defaultSettingsPathFor(program,
                                  QFileInfo(QFileInfo(program).absolutePath()).isWritable(),
                                  qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

QString TForm1::defaultSentLogFolder() {
    return SentLog::defaultFolder(qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath());
}

QString TForm1::defaultHelpPath() {
    return helpDocumentPathFor(QCoreApplication::applicationFilePath());
}

void TForm1::setupShell() {
    // Timers of the shell and the objects; the link-control class owns the link's own timers.
    Timer = makeTimer(this, "Timer", 60000, Qt::PreciseTimer);
    Timer1 = makeTimer(this, "Timer1", 60000, Qt::PreciseTimer);
    Timer2 = makeTimer(this, "Timer2", 60000, Qt::PreciseTimer);
    CloseTimer = makeTimer(this, "CloseTimer", 1000);
    Timer3 = makeTimer(this, "Timer3", 3000);
    connect(CloseTimer, &QTimer::timeout, this, &TForm1::CloseTimed);

    // Status bar panels: comment file, pointer position, map title.
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

    for (TSpinEdit* spin : {ui->spinInterval, ui->spinInterval1, ui->spinInterval2}) {
        spin->setRange(10, 120);
        spin->setIncrement(5);
        spin->setMaxLength(3);
        spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        spin->setDialogs(&m_dialogs);
        spin->setValue(10);
    }

    connect(ui->btnHide, &QToolButton::clicked, this, &TForm1::btnHideClick);
    connect(ui->mnuShow, &QAction::triggered, this, &TForm1::mnuShowClick);
    connect(ui->mnuToolbar, &QAction::triggered, this, &TForm1::mnuToolbarClick);
    connect(ui->mnuView, &QMenu::aboutToShow, this, &TForm1::mnuViewClick);
    connect(ui->mnuSetup, &QMenu::aboutToShow, this, &TForm1::mnuSetupClick);
    connect(ui->mnuHints, &QAction::triggered, this, &TForm1::mnuHintsClick);
    connect(ui->HelpFile1, &QAction::triggered, this, &TForm1::HelpFile1Click);
    connect(ui->mnuAbout, &QAction::triggered, this, &TForm1::mnuAboutClick);
    connect(ui->StationSetup1, &QAction::triggered, this, &TForm1::StationSetup1Click);
    connect(ui->mnuSent, &QAction::triggered, this, &TForm1::mnuSentClick);
}

void TForm1::recordSent(const SentRecord& record) {
    m_sentThisRun.append(record);
    if (m_sentWindow)
        m_sentWindow->addRecord(record);
}

void TForm1::mnuSentClick() {
    if (!m_sentWindow) {
        // Read at the first showing, not at start-up: most runs never open it.
        QList<SentRecord> records;
        if (const SentLog* log = m_linkControl->sentLog())
            for (const SentRecord& r : log->readDay(m_clock.nowUtc().date()))
                if (r.utc < m_startedUtc)
                    records.append(r);
        records += m_sentThisRun;
        m_sentWindow = new TfrmSent(this);
        m_sentWindow->setRecords(records);
    }
    m_sentWindow->show();
    m_sentWindow->raise();
    m_sentWindow->activateWindow();
}

QLabel* TForm1::barPanel(int index) const {
    return index >= 0 && index < 3 ? m_barPanels[index] : nullptr;
}

void TForm1::createOtherWindows() {
    if (AGWPE)
        return;
    AGWPE = new TAGWPE(this);
    frmStation = new TfrmStation(m_dialogs, this);
    Form4 = new TForm4(m_dialogs, m_helpPath, this);
    frmAbout = new TfrmAbout(this);
    frmComment = new TfrmComment(m_dialogs, m_clock, this);
    frmCHelp = new TfrmCHelp(this);
    frmTNC = new TfrmTNC(*m_linkControl, m_clock, this);
    frmSetTNC = new TfrmSetTNC(m_dialogs, this);
    frmKiss = new TfrmKiss(m_dialogs, this);
    frmKissHelp = new TfrmKissHelp(this);
    AGWPE->setTncSettingsDialog(frmSetTNC);
    frmKiss->setHelpWindow(frmKissHelp);
    frmTNC->setKissDialog(frmKiss);
    // The link type and the TNC settings change while these windows are still open.
    connect(AGWPE, &TAGWPE::linkChanged, this, [this](const LinkSettings& link) { m_link = link; });
    connect(frmTNC, &TfrmTNC::linkChanged, this,
            [this](const LinkSettings& link) { m_link = link; });
    frmWx = new TfrmWx(m_dialogs, this);
    Form14 = new TForm14(this);
    frmWx->setHelpWindow(Form14);
    connect(frmStation, &TfrmStation::titleChanged, this, &QWidget::setWindowTitle);
    connect(frmStation, &TfrmStation::stationChanged, this,
            [this](const StationSettings& station) { m_station = station; });
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
    m_hints = !m_hints;
    mnuHintsClick();
    if (m_link.AutoConnect) {
        Timer3->start();
        if (m_link.serial()) {
            ui->Edit1->setText(QStringLiteral("Connecting to TNC"));
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    qCInfo(lcApp).noquote() << "main window shown with settings" << m_settingsPath << "map"
                            << (m_mapPath.isEmpty() ? QStringLiteral("(none)") : m_mapPath)
                            << "help" << m_helpPath;
}

void TForm1::loadSettings() {
    QString error;
    const AppSettings s = AppSettings::load(m_settingsPath, &error);
    m_settingsUnreadable = !error.isEmpty();
    if (!error.isEmpty()) {
        qCWarning(lcApp) << "settings not read:" << error;
        m_dialogs.error(error + QStringLiteral("\n\nSkyvane starts with its default settings."));
    }
    m_station = s.station;
    m_link = s.link;
    m_mapPath = s.map;
    m_dateFormat = s.date;
    m_dateIndex = s.dateIndex;
    m_metric = s.metric;
    m_hints = s.hints;
    FormBounds bounds = s.form;
    if (!reachable(QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height)))
        bounds = FormBounds();
    move(bounds.Left, bounds.Top);
    resize(bounds.Width, bounds.Height);
    for (int k = 0; k < 3; ++k)
        m_panels[k]->setInterval(s.timers[size_t(k)]);
}

AppSettings TForm1::currentSettings() const {
    AppSettings s;
    s.station = m_station;
    s.link = m_link;
    s.map = m_mapPath;
    s.date = m_dateFormat;
    s.dateIndex = m_dateIndex;
    s.metric = m_metric;
    s.hints = m_hints;
    if (isMaximized() || isMinimized() || isFullScreen()) {
        // Come back at the size the user gave the window, not as a full screen or an icon.
        const QRect normal = normalGeometry();
        s.form = {normal.x(), normal.y(), normal.width(), normal.height()};
    } else {
        s.form = {x(), y(), width(), height()};
    }
    s.timers = {m_panels[0]->interval(), m_panels[1]->interval(), m_panels[2]->interval()};
    return s;
}

bool TForm1::saveSettings() {
    QString error;
    QString keptAs;
    if (currentSettings().save(m_settingsPath, &error, m_settingsUnreadable, &keptAs)) {
        m_settingsUnreadable = false;
        if (!keptAs.isEmpty())
            m_dialogs.information(IniFile::keptAsideMessage(m_settingsPath, keptAs));
        return true;
    }
    qCWarning(lcApp) << "settings not written:" << error;
    m_dialogs.error(QStringLiteral("Unable to write to %1").arg(m_settingsPath));
    return false;
}

void TForm1::ReadTime() {
    const QString stamp =
        formatDateTime(QStringLiteral("ddhhnn"), m_clock.nowUtc()) + QLatin1Char('z');
    for (ObjectPanel* p : m_panels)
        p->setTimeStamp(stamp);
}

void TForm1::updateTitle() {
    setWindowTitle(kTitlePrefix + m_station.MyCall + QLatin1Char(']'));
}

void TForm1::updateConnectEnabled() {
    const bool set = m_station.callsignSet();
    ui->btnConnect1->setEnabled(set);
    ui->mnuConnect->setEnabled(set);
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
    ui->Debug1->setEnabled(m_link.type() != LinkType::Agwpe);
}

void TForm1::mnuSetupClick() {
    ui->mnuHints->setChecked(m_hints);
}

void TForm1::mnuHintsClick() {
    m_hints = !m_hints;
    ui->mnuHints->setChecked(m_hints);
    applyHintsToToolbar();
}

void TForm1::applyHintsToToolbar() {
    for (QToolButton* b : {ui->btnConnect1, ui->btnDisconnect, ui->btnLoad, ui->btnHide,
                           ui->btnStopAll, ui->btnTime})
        b->setToolTip(m_hints ? b->property("hint").toString() : QString());
}

void TForm1::HelpFile1Click() {
    if (!Form4)
        return;
    Form4->move(x() + 30, y() + 30);
    Form4->show();
    Form4->raise();
}

void TForm1::mnuAboutClick() {
    if (!frmAbout)
        return;
    frmAbout->move(x() + 150, y() + 80);
    frmAbout->exec();
}

void TForm1::StationSetup1Click() {
    if (!frmStation)
        return;
    btnDisconnectClick();
    frmStation->resize(247, 288);
    frmStation->move(x() + 50, y() + 50);
    frmStation->setValues(m_station, m_link.type());
    const bool accepted = frmStation->exec() == QDialog::Accepted;
    // The values before the dialog opened unless an OK accepted new ones.
    m_station = frmStation->station();
    // The title follows the callsign in use, also after a refused OK that showed another.
    updateTitle();
    if (accepted)
        ui->mnuConnect->setEnabled(true);
    if (m_station.callsignSet()) {
        ui->btnConnect1->setEnabled(true);
        ui->btnDisconnect->setEnabled(false);
    } else {
        ui->btnConnect1->setEnabled(false);
    }
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
    CloseTimer->start();
    m_closing = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    while (m_closing)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    btnDisconnectClick();
    // A serial link lets go of its port, so the TNC is free for other programs at once.
    if (link() && m_link.serial() && link()->serialPort().isOpen())
        link()->serialPort().Close();
    QApplication::restoreOverrideCursor();
    // Whatever can be written is; what cannot (a map on a read-only disc, a settings folder
    // gone) must not keep the program from closing for ever, nor be lost without asking.
    QStringList lost;
    if (!SaveMapIni())
        lost << QStringLiteral("the objects of this map (%1)").arg(ObjectsFile::pathFor(m_mapPath));
    if (!saveSettings())
        lost << QStringLiteral("the settings (%1)").arg(m_settingsPath);
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
