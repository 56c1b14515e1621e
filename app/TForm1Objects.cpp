// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "beacon/Report.h"
#include "beacon/SendPlan.h"
#include "beacon/SymbolTable.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "ui_TForm1.h"
#include "widgets/TSpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

Q_LOGGING_CATEGORY(lcObjects, "skyvane.objects")

namespace {

const QString kNeedLocation = QStringLiteral("Select a location on the map first.");

// A tab without a name keeps its number, so it can still be found and clicked.
QString tabCaption(const QString& identifier, int index) {
    return identifier.isEmpty() ? QStringLiteral("Object %1").arg(index + 1) : identifier;
}

// The controls of one object's tab.
struct Tab {
    QWidget* sheet;
    QLineEdit* identifier;
    QComboBox* symbol;
    QLineEdit* latitude;
    QLineEdit* longitude;
    QLineEdit* header;
    QLineEdit* comment;
    QCheckBox* chkFile;
    QPushButton* send;
    QPushButton* start;
    QPushButton* stop;
    QPushButton* del;
    TSpinEdit* interval;
};

Tab tabOf(Ui::TForm1* ui, int index) {
    switch (index) {
    case 0:
        return {ui->Tab,     ui->Identifier, ui->cmbSymbol,   ui->Latitude, ui->Longitude,
                ui->Header,  ui->Comment,    ui->chkFile,     ui->btnSend,  ui->btnStart,
                ui->btnStop, ui->btnDelete,  ui->spinInterval};
    case 1:
        return {ui->Tab1,     ui->Identifier1, ui->cmbSymbol1,   ui->Latitude1, ui->Longitude1,
                ui->Header1,  ui->Comment1,    ui->chkFile1,     ui->btnSend1,  ui->btnStart1,
                ui->btnStop1, ui->btnDelete1,  ui->spinInterval1};
    default:
        return {ui->Tab2,     ui->Identifier2, ui->cmbSymbol2,   ui->Latitude2, ui->Longitude2,
                ui->Header2,  ui->Comment2,    ui->chkFile2,     ui->btnSend2,  ui->btnStart2,
                ui->btnStop2, ui->btnDelete2,  ui->spinInterval2};
    }
}

// Leaving an identifier box and moving over an interval box have no signal of their own.
class ObjectEvents : public QObject {
public:
    ObjectEvents(TForm1* form, QObject* parent) : QObject(parent), m_form(form) {}
    void watchIdentifier(QObject* box, int index) { watch(box, index, m_identifiers); }
    void watchInterval(QObject* box, int index) { watch(box, index, m_intervals); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const int id = m_identifiers.value(watched, -1);
        if (id >= 0 && event->type() == QEvent::FocusOut)
            m_form->CheckID(id);
        const int iv = m_intervals.value(watched, -1);
        if (iv >= 0 && (event->type() == QEvent::MouseMove || event->type() == QEvent::ToolTip ||
                        event->type() == QEvent::Enter)) {
            if (iv == 0)
                m_form->SpinRemaining();
            else if (iv == 1)
                m_form->spinRemaining1();
            else
                m_form->spinRemaining2();
        }
        return false;
    }

private:
    void watch(QObject* box, int index, QHash<QObject*, int>& into) {
        into.insert(box, index);
        box->installEventFilter(this);
    }
    TForm1* m_form;
    QHash<QObject*, int> m_identifiers;
    QHash<QObject*, int> m_intervals;
};

} // namespace

void TForm1::setupObjects() {
    m_monotonic.start();
    auto* events = new ObjectEvents(this, this);
    for (int k = 0; k < 3; ++k) {
        const Tab t = tabOf(ui.get(), k);
        connect(t.identifier, &QLineEdit::textChanged, this, [this, k] { IDChanging(k); });
        events->watchIdentifier(t.identifier, k);
        // A choice by the user, not the restore of a map's objects, changes the symbol.
        connect(t.symbol, &QComboBox::activated, this, [this, k] { SymbolChange(k); });
        connect(t.del, &QPushButton::clicked, this, [this, t] { btnDeleteClick(t.del); });
        t.interval->setMouseTracking(true);
        events->watchInterval(t.interval, k);
        // Single shots, re-armed at every tick against the object's minute grid.
        objectTimer(k)->setSingleShot(true);
    }
    connect(ui->Page, &QTabWidget::currentChanged, this, &TForm1::EnterTab);
    connect(ui->btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    connect(ui->btnStart1, &QPushButton::clicked, this, &TForm1::btnStart1Click);
    connect(ui->btnStart2, &QPushButton::clicked, this, &TForm1::btnStart2Click);
    connect(ui->btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);
    connect(ui->btnStop1, &QPushButton::clicked, this, &TForm1::btnStop1Click);
    connect(ui->btnStop2, &QPushButton::clicked, this, &TForm1::btnStop2Click);
    connect(ui->btnStopAll, &QToolButton::clicked, this, &TForm1::btnStopAllClick);
    connect(Timer, &QTimer::timeout, this, &TForm1::TimerTimed);
    connect(Timer1, &QTimer::timeout, this, &TForm1::TimerTimed1);
    connect(Timer2, &QTimer::timeout, this, &TForm1::TimerTimed2);
}

QTimer* TForm1::objectTimer(int index) const {
    return index == 0 ? Timer : index == 1 ? Timer1 : Timer2;
}

int TForm1::objectOfSender(const QObject* sender) const {
    if (!sender)
        return -1;
    for (int k = 0; k < 3; ++k) {
        const Tab t = tabOf(ui.get(), k);
        if (sender == t.send || sender == t.start || sender == t.stop || sender == t.del ||
            sender == objectTimer(k))
            return k;
    }
    return -1;
}

bool TForm1::weatherMode() const {
    return m_objects[0].isWeatherStation();
}

SendRequest TForm1::sendRequest(int k, bool starting) const {
    const BeaconObject& o = m_objects[k];
    SendRequest r;
    r.starting = starting;
    r.connected = linkConnected();
    r.weatherStation = k == 0 && o.isWeatherStation();
    r.identifier = o.identifier;
    r.symbolNumber = o.symbolNumber;
    r.hasPosition = o.hasPosition;
    r.destination = m_station.Destination;
    r.weatherDestination = m_station.WxDest;
    r.tncLink = m_link.type() == LinkType::Tnc;
    return r;
}

QString TForm1::commentFileName(int index) const {
    return QFileInfo(m_objects[index].commentFile).fileName();
}

// ---- Headers and object 1's two modes ---------------------------------------------------

void TForm1::UpdateHeader(int object) {
    const int k = object - 1;
    if (k < 0 || k > 2)
        return;
    ui->wxpanel->setVisible(false);
    BeaconObject& o = m_objects[k];
    if (k == 0 && weatherMode())
        o.header =
            Report::weatherHeader(m_clock.nowLocal(), o.latitude, o.table, o.longitude, o.code);
    else
        o.header = Report::objectHeader(o);
    QLineEdit* box = tabOf(ui.get(), k).header;
    box->setText(o.header);
    // The box is narrower than a whole header: show its start, the name and status.
    box->setCursorPosition(0);
    if (k == 0)
        applyModeOfObject1();
}

void TForm1::applyModeOfObject1() {
    const BeaconObject& o = m_objects[0];
    const int tab = ui->Page->indexOf(ui->Tab);
    if (weatherMode()) {
        ui->wxpanel->setVisible(true);
        ui->wxpanel->raise();
        setObjectLabels(0, m_station.MyCall);
        ui->btnWx->setVisible(true);
        ui->btnTime->setEnabled(false);
        ui->Comment->setReadOnly(ui->chkFile->isChecked());
        ui->chkFile->setText(QStringLiteral("Use wx data file"));
        ui->Panel7->setText(QStringLiteral("Weather Data"));
        ui->Page->setTabText(tab, QString());
        ui->Label7->setText(QStringLiteral("Weather Data:"));
        barPanel(0)->setText(QStringLiteral("  Wx data file: ") + commentFileName(0));
    } else {
        ui->Comment->setReadOnly(false);
        ui->btnWx->setVisible(false);
        ui->btnTime->setEnabled(true);
        ui->chkFile->setText(QStringLiteral("Use comment file"));
        ui->Label7->setText(QStringLiteral("Beacon Comment:"));
        ui->Panel7->setText(QStringLiteral("Object 1"));
        setObjectLabels(0, o.identifier);
        ui->Page->setTabText(tab, tabCaption(o.identifier, 0));
        barPanel(0)->setText(QStringLiteral("  Comment file: ") + commentFileName(0));
    }
}

// ---- Editing ----------------------------------------------------------------------------

void TForm1::IDChanging(int index) {
    const Tab t = tabOf(ui.get(), index);
    BeaconObject& o = m_objects[index];
    if (t.latitude->text().size() < 4 && !t.identifier->text().isEmpty()) {
        // Emptying the box comes back here with nothing to refuse.
        t.identifier->clear();
        m_dialogs.information(kNeedLocation);
        return;
    }
    o.identifier = t.identifier->text();
    ui->Page->setTabText(ui->Page->indexOf(t.sheet), tabCaption(o.identifier, index));
    o.nameField = Report::nameField(o.identifier);
    const bool weather = index == 0 && weatherMode();
    setObjectLabels(index, weather ? m_station.MyCall : o.identifier);
    if (t.latitude->text().size() >= 4)
        showObjectLabels(index);
    if (weather) {
        // A weather station has no identifier of its own.
        hideObjectLabels(index);
        t.identifier->clear();
    }
    UpdateHeader(index + 1);
}

void TForm1::CheckID(int index) {
    const QLineEdit* own = tabOf(ui.get(), index).identifier;
    const QString text = own->text();
    if (text.isEmpty())
        return;
    // Two objects of one name would be one object to every station that hears them, each
    // report moving it; all three are compared, not only the first two.
    for (int other = 0; other < 3; ++other) {
        if (other == index || tabOf(ui.get(), other).identifier->text() != text)
            continue;
        tabOf(ui.get(), index).identifier->clear();
        m_dialogs.information(QStringLiteral("Identifiers must be different."));
        return;
    }
}

void TForm1::SymbolChange(int index) {
    const Tab t = tabOf(ui.get(), index);
    BeaconObject& o = m_objects[index];
    if (t.latitude->text().size() <= 3) {
        t.symbol->setCurrentIndex(-1);
        t.identifier->setFocus();
        m_dialogs.information(kNeedLocation);
        return;
    }
    if (const SymbolInfo* s = Symbols::byItemText(t.symbol->currentText());
        s && t.symbol->currentIndex() >= 0) {
        o.symbolNumber = s->number;
        o.table = QString(QLatin1Char(s->table));
        o.code = QString(QLatin1Char(s->code));
    } else if (index != 0) {
        o.symbolNumber = 0;
    }
    showObjectOnMap(index);
    UpdateHeader(index + 1);
}

void TForm1::EnterTab() {
    ui->wxpanel->setVisible(false);
    ui->btnWx->setVisible(weatherMode());
    const QWidget* shown = ui->Page->currentWidget();
    if (shown == ui->Tab) {
        ui->wxpanel->setVisible(weatherMode());
        barPanel(0)->setText((weatherMode() ? QStringLiteral("  Wx data file: ")
                                            : QStringLiteral("  Comment file: ")) +
                             commentFileName(0));
    } else {
        m_objects[0].picking = false;
    }
    for (int k = 1; k < 3; ++k) {
        if (shown == tabOf(ui.get(), k).sheet)
            barPanel(0)->setText(QStringLiteral("  Comment file: ") + commentFileName(k));
        else
            m_objects[k].picking = false;
    }
}

// ---- Delete -----------------------------------------------------------------------------

void TForm1::btnDeleteClick(QObject* sender) {
    const bool weather = weatherMode();
    const QString question = sender == ui->btnDelete && weather
                                 ? QStringLiteral("Delete Weather Symbol?")
                                 : QStringLiteral("Delete Object?");
    const bool deleteButton =
        sender == ui->btnDelete || sender == ui->btnDelete1 || sender == ui->btnDelete2;
    const bool connected = linkConnected();
    if (deleteButton && !connected && !m_dialogs.okCancel(question))
        return;

    const int k = ui->Page->currentIndex();
    if (k < 0 || k > 2)
        return;
    const Tab t = tabOf(ui.get(), k);
    if (!t.header->text().isEmpty() && connected && sender == t.del && !(k == 0 && weather)) {
        switch (m_dialogs.yesNoCancel(QStringLiteral("Notify other stations?"))) {
        case Dialogs::Answer::Cancel:
            return;
        case Dialogs::Answer::Yes:
            // The killed-object report: status "_" and no comment; the send does not read the
            // comment file for a Delete button.
            t.comment->clear();
            m_objects[k].comment.clear();
            m_objects[k].nameField = Report::nameField(m_objects[k].identifier, true);
            sendFrom(t.del);
            break;
        case Dialogs::Answer::No:
            break;
        }
    }
    emptyObject(k);
}

void TForm1::emptyObject(int k) {
    const Tab t = tabOf(ui.get(), k);
    BeaconObject& o = m_objects[k];
    t.identifier->clear();
    o.identifier.clear();
    t.latitude->clear();
    t.longitude->clear();
    t.header->clear();
    o.header.clear();
    o.latitude.clear();
    o.longitude.clear();
    o.nameField = BeaconObject().nameField;
    t.symbol->setCurrentIndex(-1);
    o.symbolNumber = 0;
    o.code.clear(); // the table character stays, as it was chosen last
    o.hasPosition = false;
    o.picking = false;
    t.comment->clear();
    o.comment.clear();
    o.commentFile.clear();
    o.useCommentFile = false;
    {
        const QSignalBlocker quiet(t.chkFile);
        t.chkFile->setChecked(false);
    }
    t.chkFile->setEnabled(false);
    // Object 1 may have been the weather station: its tab goes back to object mode.
    UpdateHeader(k + 1);
    hideObjectOnMap(k);
    qCInfo(lcObjects) << "object" << k + 1 << "emptied";
}

// ---- Scheduling -------------------------------------------------------------------------

bool TForm1::startObject(int k, QObject* sender) {
    const Tab t = tabOf(ui.get(), k);
    BeaconObject& o = m_objects[k];
    if (const QString refusal = prepareSend(sendRequest(k, true)).refusal; !refusal.isEmpty()) {
        qCInfo(lcObjects) << "object" << k + 1 << "not started:" << refusal;
        // The check repeats every minute while it fails, and the ticks go on while a box is
        // open: an operator away for a weekend must come back to one box, not thousands of
        // nested ones.
        if (sender == objectTimer(k) && m_refusalShowing[k])
            return false;
        m_refusalShowing[k] = true;
        m_dialogs.information(refusal);
        m_refusalShowing[k] = false;
        return false;
    }
    o.running = true;
    showObjectOnMap(k);
    t.start->setVisible(false);
    t.stop->setVisible(true);
    t.stop->setEnabled(true);
    t.del->setEnabled(false);
    // Text still being typed in the box is not limited yet; an interval below the least would
    // put the object on the air every minute.
    o.interval = qBound(Schedule::MinInterval, t.interval->Value(), Schedule::MaxInterval);
    o.minutesLeft = o.interval;
    // A Start by the timer keeps the minute grid of the first Start.
    QTimer* timer = objectTimer(k);
    if (sender != timer || !timer->isActive())
        rearmTimer(k, m_tickers[k].start(m_monotonic.elapsed()));
    sendFrom(sender);
    return true;
}

void TForm1::rearmTimer(int k, qint64 waitMs) {
    objectTimer(k)->start(int(qBound<qint64>(1, waitMs, 2 * MinuteTicker::TickMs)));
}

void TForm1::btnStartClick() {
    startObject(0, ui->btnStart);
}
void TForm1::btnStart1Click() {
    startObject(1, ui->btnStart1);
}
void TForm1::btnStart2Click() {
    startObject(2, ui->btnStart2);
}

void TForm1::stopObject(int k) {
    const Tab t = tabOf(ui.get(), k);
    BeaconObject& o = m_objects[k];
    const bool wasRunning = o.running;
    o.running = false;
    if (wasRunning && o.hasPosition)
        showObjectOnMap(k);
    t.stop->setVisible(false);
    t.start->setVisible(true);
    t.del->setEnabled(true);
    objectTimer(k)->stop();
}

void TForm1::btnStopClick() {
    stopObject(0);
}
void TForm1::btnStop1Click() {
    stopObject(1);
}
void TForm1::btnStop2Click() {
    stopObject(2);
}

void TForm1::btnStopAllClick() {
    btnStopClick();
    btnStop1Click();
    btnStop2Click();
    ui->Page->unsetCursor();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    releaseLink();
    for (int k = 0; k < 3; ++k)
        objectTimer(k)->stop();
}

void TForm1::tickObject(int k) {
    BeaconObject& o = m_objects[k];
    if (!o.running)
        return;
    // Re-armed before the send, which may wait for the link while events run on.
    const MinuteTicker::Tick tick = m_tickers[k].tick(m_monotonic.elapsed());
    rearmTimer(k, tick.waitMs);
    o.minutesLeft -= tick.minutes;
    if (o.minutesLeft <= 0)
        startObject(k, objectTimer(k));
}

void TForm1::TimerTimed() {
    tickObject(0);
}
void TForm1::TimerTimed1() {
    tickObject(1);
}
void TForm1::TimerTimed2() {
    tickObject(2);
}

void TForm1::showIntervalHint(int k) {
    tabOf(ui.get(), k)
        .interval->setToolTip(
            Schedule::remainingHint(m_objects[k].running, m_objects[k].minutesLeft));
}

void TForm1::SpinRemaining() {
    showIntervalHint(0);
}
void TForm1::spinRemaining1() {
    showIntervalHint(1);
}
void TForm1::spinRemaining2() {
    showIntervalHint(2);
}

// ---- Where objects meet the link and the map ----------------------------------------------

// linkConnected(), sendFrom() and releaseLink() are in TForm1Link.cpp.
