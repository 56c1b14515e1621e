// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ObjectPanel.h"

#include "beacon/CommentFile.h"
#include "beacon/Report.h"
#include "common/Clock.h"
#include "common/ConvertError.h"
#include "common/Cp1252.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "widgets/TSpinEdit.h"

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
#include <algorithm>

Q_LOGGING_CATEGORY(lcObjects, "skyvane.objects")

namespace {

const QString kNeedLocation = QStringLiteral("Select a location on the map first.");

} // namespace

ObjectPanel::ObjectPanel(int index, const ObjectControls& controls, QTimer* timer, Dialogs& dialogs,
                         Clock& clock, ObjectPanelServices services, QObject* parent)
    : QObject(parent), m_index(index), m_c(controls), m_timer(timer), m_dialogs(dialogs),
      m_clock(clock), m_services(std::move(services)) {
    m_monotonic.start();
    // Single shots, re-armed at every tick against the object's minute grid.
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ObjectPanel::tick);
    connect(m_c.identifier, &QLineEdit::textChanged, this, &ObjectPanel::identifierChanged);
    // A choice by the user, not the restore of a map's objects, changes the symbol.
    connect(m_c.symbol, &QComboBox::activated, this, &ObjectPanel::symbolChosen);
    connect(m_c.start, &QPushButton::clicked, this, [this] { start(false); });
    connect(m_c.stop, &QPushButton::clicked, this, &ObjectPanel::stop);
    connect(m_c.useFile, &QCheckBox::clicked, this, &ObjectPanel::useFileClicked);
    connect(m_c.useFile, &QCheckBox::toggled, this,
            [this](bool on) { m_object.useCommentFile = on; });
    // What the objects file keeps is what the box shows.
    connect(m_c.comment, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_object.comment = text;
        changed();
    });
    connect(m_c.useFile, &QCheckBox::toggled, this, &ObjectPanel::changed);
    connect(m_c.header, &QLineEdit::textChanged, this, &ObjectPanel::changed);
    if (m_c.weather) {
        // While the data file supplies the readings, the dialog's would only be overwritten.
        connect(m_c.useFile, &QCheckBox::toggled, m_c.weather,
                [this](bool useFile) { m_c.weather->setEnabled(!useFile); });
    }
    m_c.identifier->installEventFilter(this);
    // The interval box takes what a schedule runs: whole minutes in steps of five.
    m_c.interval->setRange(Schedule::MinInterval, Schedule::MaxInterval);
    m_c.interval->setIncrement(5);
    m_c.interval->setMaxLength(3);
    m_c.interval->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_c.interval->setDialogs(&m_dialogs);
    m_c.interval->setValue(Schedule::MinInterval);
    m_c.interval->setMouseTracking(true);
    m_c.interval->installEventFilter(this);
}

bool ObjectPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_c.identifier && event->type() == QEvent::FocusOut)
        emit identifierLeft(m_index);
    if (watched == m_c.interval &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::ToolTip ||
         event->type() == QEvent::Enter))
        showIntervalHint();
    return false;
}

bool ObjectPanel::weatherMode() const {
    return m_index == 0 && m_object.isWeatherStation();
}

bool ObjectPanel::owns(const QObject* sender) const {
    return sender && (sender == m_c.send || sender == m_c.start || sender == m_c.stop ||
                      sender == m_c.del || sender == m_timer);
}

QString ObjectPanel::commentFileStatus() const {
    return (weatherMode() ? QStringLiteral("  Wx data file: ")
                          : QStringLiteral("  Comment file: ")) +
           QFileInfo(m_object.commentFile).fileName();
}

void ObjectPanel::setTabCaption(const QString& identifier) {
    // A tab without a name keeps its number, so it can still be found and clicked.
    m_c.page->setTabText(m_c.page->indexOf(m_c.sheet),
                         identifier.isEmpty() ? QStringLiteral("Object %1").arg(m_index + 1)
                                              : identifier);
}

void ObjectPanel::setInterval(int minutes) {
    m_c.interval->setValue(minutes);
    m_object.interval = m_c.interval->Value();
}

int ObjectPanel::interval() const {
    return m_c.interval->Value();
}

void ObjectPanel::setCommentFile(const QString& path) {
    m_object.commentFile = path;
}

void ObjectPanel::offerCommentFile() {
    // A ticked box that becomes disabled stays ticked.
    m_c.useFile->setEnabled(QFileInfo::exists(m_object.commentFile));
}

// ---- Header and object 1's two modes ----------------------------------------------------

void ObjectPanel::updateHeader() {
    emit weatherPanelHidden();
    BeaconObject& o = m_object;
    if (weatherMode())
        o.header =
            Report::weatherHeader(m_clock.nowLocal(), o.latitude, o.table, o.longitude, o.code);
    else
        o.header = Report::objectHeader(o);
    m_c.header->setText(o.header);
    // The box is narrower than a whole header: show its start, the name and status.
    m_c.header->setCursorPosition(0);
    if (m_index == 0)
        applyModeOfObject1();
}

void ObjectPanel::applyModeOfObject1() {
    const bool weather = weatherMode();
    m_c.weather->setVisible(weather);
    m_c.comment->setReadOnly(weather && m_c.useFile->isChecked());
    m_c.useFile->setText(weather ? QStringLiteral("Use wx data file")
                                 : QStringLiteral("Use comment file"));
    m_c.caption->setText(weather ? QStringLiteral("Weather Data") : QStringLiteral("Object 1"));
    m_c.commentCaption->setText(weather ? QStringLiteral("Weather Data:")
                                        : QStringLiteral("Beacon Comment:"));
    if (weather)
        m_c.page->setTabText(m_c.page->indexOf(m_c.sheet), QString());
    else
        setTabCaption(m_object.identifier);
    emit mapLabelText(m_index, weather ? m_services.stationCall() : m_object.identifier);
    emit modeApplied(weather);
}

// ---- Editing ----------------------------------------------------------------------------

void ObjectPanel::identifierChanged() {
    BeaconObject& o = m_object;
    // The name goes on the air in Windows-1252: a pasted or restored character it lacks would
    // leave as "?". Setting the mended text comes back here.
    if (const QString text = m_c.identifier->text(), kept = Cp1252::encodable(text); kept != text) {
        const int cursor = m_c.identifier->cursorPosition() - int(text.size() - kept.size());
        m_c.identifier->setText(kept);
        m_c.identifier->setCursorPosition(std::max(0, cursor));
        return;
    }
    if (!o.hasPosition && !m_c.identifier->text().isEmpty()) {
        // Emptying the box comes back here with nothing to refuse.
        m_c.identifier->clear();
        m_dialogs.information(kNeedLocation);
        return;
    }
    o.identifier = m_c.identifier->text();
    setTabCaption(o.identifier);
    o.nameField = Report::nameField(o.identifier);
    const bool weather = weatherMode();
    emit mapLabelText(m_index, weather ? m_services.stationCall() : o.identifier);
    if (o.hasPosition)
        emit mapLabelsShown(m_index, o.running);
    if (weather) {
        // A weather station has no identifier of its own.
        emit mapLabelsHidden(m_index);
        m_c.identifier->clear();
    }
    updateHeader();
}

void ObjectPanel::symbolChosen() {
    BeaconObject& o = m_object;
    if (!o.hasPosition) {
        m_c.symbol->setCurrentIndex(-1);
        m_c.identifier->setFocus();
        m_dialogs.information(kNeedLocation);
        return;
    }
    if (const SymbolInfo* s = Symbols::byItemText(m_c.symbol->currentText());
        s && m_c.symbol->currentIndex() >= 0) {
        o.symbolNumber = s->number;
        o.table = QString(QLatin1Char(s->table));
        o.code = QString(QLatin1Char(s->code));
    } else if (m_index != 0) {
        o.symbolNumber = 0;
    }
    showOnMap();
    updateHeader();
}

void ObjectPanel::useFileClicked() {
    const bool on = m_c.useFile->isChecked();
    if (on) {
        readCommentFile();
    } else {
        m_c.comment->clear();
        emit timeStampsDue();
        updateHeader();
    }
    // The weather data comes from the file while the box is ticked, so it is not typed.
    if (m_index == 0)
        m_c.comment->setReadOnly(on && weatherMode());
}

void ObjectPanel::insertTimeMarker() {
    m_c.comment->setText(Report::withTimeMarker(m_c.comment->text()));
}

void ObjectPanel::placeAt(const QString& latitude, const QString& longitude,
                          const QString& latitudeShown, const QString& longitudeShown) {
    m_c.latitude->setText(latitudeShown);
    m_c.longitude->setText(longitudeShown);
    m_object.latitude = latitude;
    m_object.longitude = longitude;
    m_object.hasPosition = true;
    m_object.picking = false;
    updateHeader();
}

void ObjectPanel::restore(const BeaconObject& restored, const QString& latitudeShown,
                          const QString& longitudeShown) {
    BeaconObject& o = m_object;
    o = restored;
    m_c.latitude->setText(latitudeShown);
    m_c.longitude->setText(longitudeShown);
    if (m_index > 0)
        m_c.page->setCurrentIndex(m_index);
    m_c.symbol->setCurrentIndex(o.symbolNumber - 1);
    updateHeader();
    // The identifier goes in as if typed: the box's change handling names the tab, sets the
    // labels' text and rebuilds the header.
    m_c.identifier->setText(restored.identifier);
    o.identifier = m_c.identifier->text();
    o.nameField = Report::nameField(o.identifier);
    offerCommentFile();
    emit mapSymbolPlaced(m_index, o.symbolAt);
    m_c.comment->setText(restored.comment);
    emit mapLabelText(m_index, o.identifier);
    showOnMap();
    // An object placed before a symbol was chosen keeps its marker.
    if (o.symbolNumber == 0)
        emit mapPlaceholderShown(m_index);
    updateHeader();
}

void ObjectPanel::adopt(const BeaconObject& restored) {
    if (m_object.hasPosition)
        return;
    m_object = restored;
    m_c.comment->setText(restored.comment);
}

// ---- Delete -----------------------------------------------------------------------------

void ObjectPanel::deleteClicked(bool connected) {
    const bool weather = weatherMode();
    const QString question =
        weather ? QStringLiteral("Delete Weather Symbol?") : QStringLiteral("Delete Object?");
    if (!connected && !m_dialogs.okCancel(question))
        return;
    if (!m_c.header->text().isEmpty() && connected && !weather) {
        switch (m_dialogs.yesNoCancel(QStringLiteral("Notify other stations?"))) {
        case Dialogs::Answer::Cancel:
            return;
        case Dialogs::Answer::Yes:
            // The killed-object report: status "_" and no comment.
            m_c.comment->clear();
            m_object.nameField = Report::nameField(m_object.identifier, true);
            send(true);
            break;
        case Dialogs::Answer::No:
            break;
        }
    }
    empty();
}

void ObjectPanel::empty() {
    BeaconObject& o = m_object;
    m_c.identifier->clear();
    o.identifier.clear();
    m_c.latitude->clear();
    m_c.longitude->clear();
    m_c.header->clear();
    o.header.clear();
    o.latitude.clear();
    o.longitude.clear();
    o.nameField = BeaconObject().nameField;
    m_c.symbol->setCurrentIndex(-1);
    o.symbolNumber = 0;
    o.code.clear(); // the table character stays, as it was chosen last
    o.hasPosition = false;
    o.picking = false;
    m_c.comment->clear();
    o.commentFile.clear();
    o.useCommentFile = false;
    {
        const QSignalBlocker quiet(m_c.useFile);
        m_c.useFile->setChecked(false);
    }
    m_c.useFile->setEnabled(false);
    // With the box unticked the readings are typed in the dialog again.
    if (m_c.weather)
        m_c.weather->setEnabled(true);
    // Object 1 may have been the weather station: its tab goes back to object mode.
    updateHeader();
    emit mapSymbolHidden(m_index);
    qCInfo(lcObjects) << "object" << m_index + 1 << "emptied";
}

// ---- Scheduling -------------------------------------------------------------------------

SendRequest ObjectPanel::request(bool starting) const {
    SendRequest r = m_services.sendContext();
    r.starting = starting;
    r.weatherStation = weatherMode();
    r.identifier = m_object.identifier;
    r.symbolNumber = m_object.symbolNumber;
    r.hasPosition = m_object.hasPosition;
    return r;
}

bool ObjectPanel::start(bool byTimer) {
    BeaconObject& o = m_object;
    if (const QString refusal = prepareSend(request(true)).refusal; !refusal.isEmpty()) {
        qCInfo(lcObjects) << "object" << m_index + 1 << "not started:" << refusal;
        // The check repeats every minute while it fails, and the ticks go on while a box is
        // open: an operator away for a weekend must come back to one box, not thousands of
        // nested ones.
        if (byTimer && m_refusalShowing)
            return false;
        m_refusalShowing = true;
        m_dialogs.information(refusal);
        m_refusalShowing = false;
        return false;
    }
    o.running = true;
    showOnMap();
    m_c.start->setVisible(false);
    m_c.stop->setVisible(true);
    m_c.stop->setEnabled(true);
    m_c.del->setEnabled(false);
    // Text still being typed in the box is not limited yet; an interval below the least would
    // put the object on the air every minute.
    o.interval = qBound(Schedule::MinInterval, m_c.interval->Value(), Schedule::MaxInterval);
    o.minutesLeft = o.interval;
    // A Start by the timer keeps the minute grid of the first Start.
    if (!byTimer || !m_timer->isActive())
        rearmTimer(m_ticker.start(m_monotonic.elapsed()));
    send();
    changed();
    return true;
}

void ObjectPanel::rearmTimer(qint64 waitMs) {
    m_timer->start(int(qBound<qint64>(1, waitMs, 2 * MinuteTicker::TickMs)));
}

void ObjectPanel::stop() {
    const bool wasRunning = m_object.running;
    m_object.running = false;
    if (wasRunning && m_object.hasPosition)
        showOnMap();
    m_c.stop->setVisible(false);
    m_c.start->setVisible(true);
    m_c.del->setEnabled(true);
    m_timer->stop();
    changed();
}

void ObjectPanel::tick() {
    BeaconObject& o = m_object;
    if (!o.running)
        return;
    // Re-armed before the send, which may wait for the link while events run on.
    const MinuteTicker::Tick tick = m_ticker.tick(m_monotonic.elapsed());
    rearmTimer(tick.waitMs);
    o.minutesLeft -= tick.minutes;
    if (o.minutesLeft <= 0)
        start(true);
    changed();
}

void ObjectPanel::showIntervalHint() {
    m_c.interval->setToolTip(Schedule::remainingHint(m_object.running, m_object.minutesLeft));
}

// ---- Sending ----------------------------------------------------------------------------

void ObjectPanel::send(bool killed) {
    try {
        sendChecked(killed);
    } catch (const ConvertError& e) {
        m_dialogs.error(e.message());
    }
}

void ObjectPanel::sendChecked(bool killed) {
    const bool weather = weatherMode();
    const SendPlan plan = prepareSend(request(false));
    if (!plan.ok()) {
        m_dialogs.information(plan.refusal);
        return;
    }
    std::optional<ComposedReport> next;
    if (m_c.useFile->isChecked() && !killed) {
        next = takeCommentFile();
        if (!next)
            return;
    } else {
        next = compose({}, false);
        *m_services.markers = {next->fileDateText, next->currentTimeText};
        m_c.page->setCurrentIndex(m_index);
        emit timeStampsDue();
        if (!weather)
            updateHeader();
    }
    const QString before = m_c.comment->text();
    // The operator sees what goes on the air; the marker comes back afterwards.
    m_c.comment->setText(next->comment);
    if (const QString refusal = reportRefusal(m_object.header); !refusal.isEmpty()) {
        m_dialogs.information(refusal);
    } else {
        // The weather report carries no name of its own: the log names it by the station.
        emit reportReady(m_index, next->info(), plan.destination,
                         weather ? m_services.stationCall() : m_object.identifier);
    }
    m_c.comment->setText(before);
}

ComposedReport ObjectPanel::compose(const CommentFileText& file, bool fromFile) const {
    ReportMoment moment;
    moment.nowUtc = m_clock.nowUtc();
    moment.nowLocal = m_clock.nowLocal();
    moment.dateFormat = m_services.dateFormat();
    moment.fileDateText = m_services.markers->fileDateText;
    moment.weatherStation = weatherMode();
    moment.file = file;
    moment.fromFile = fromFile;
    moment.typedComment = m_c.comment->text();
    return composeReport(m_object, moment);
}

NextReportView ObjectPanel::nextReport() const {
    NextReportView view;
    view.running = m_object.running;
    view.minutesLeft = m_object.minutesLeft;
    if (!m_object.hasPosition)
        return view;
    const SendPlan plan = prepareSend(request(false));
    if (!plan.ok()) {
        view.refusal = plan.refusal;
        return view;
    }
    bool fromFile = m_c.useFile->isChecked();
    CommentFileText file;
    if (fromFile) {
        file = glanceAtCommentFile(m_object.commentFile);
        // A send would wait for the writer; meanwhile the text read last stands for it.
        view.fileBusy = file.state == CommentFileText::State::Busy;
        fromFile = !view.fileBusy;
    }
    const ComposedReport next = compose(file, fromFile);
    if (!next.error.isEmpty()) {
        view.refusal = next.error;
        return view;
    }
    if (const QString refusal = reportRefusal(next.object.header); !refusal.isEmpty()) {
        view.refusal = refusal;
        return view;
    }
    view.info = next.info();
    view.destination = plan.destination;
    return view;
}

bool ObjectPanel::readCommentFile() {
    return takeCommentFile().has_value();
}

std::optional<ComposedReport> ObjectPanel::takeCommentFile() {
    const ComposedReport next = compose(::readCommentFile(m_object.commentFile), true);
    if (!next.error.isEmpty()) {
        m_dialogs.error(next.error);
        return std::nullopt;
    }
    m_object = next.object;
    m_c.comment->setText(m_object.comment);
    m_c.header->setText(m_object.header);
    m_c.header->setCursorPosition(0);
    *m_services.markers = {next.fileDateText, next.currentTimeText};
    return next;
}
