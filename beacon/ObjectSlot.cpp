// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ObjectSlot.h"

#include "beacon/CommentFile.h"
#include "beacon/Report.h"
#include "common/Clock.h"
#include "common/ConvertError.h"
#include "common/Dialogs.h"

#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcObjects, "skyvane.objects")

ObjectSlot::ObjectSlot(int index, Dialogs& dialogs, Clock& clock, ObjectSlotServices services,
                       QObject* parent)
    : QObject(parent), m_index(index), m_dialogs(dialogs), m_clock(clock),
      m_services(std::move(services)), m_timer(new QTimer(this)), m_settle(new QTimer(this)) {
    setObjectName(QStringLiteral("Object%1").arg(index + 1));
    m_object.interval = Schedule::MinInterval;
    m_monotonic.start();
    m_timer->setObjectName(index == 0 ? QStringLiteral("Timer")
                                      : QStringLiteral("Timer%1").arg(index));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(int(MinuteTicker::TickMs));
    // Single shots, re-armed at every tick against the object's minute grid.
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ObjectSlot::tick);
    // Long enough for a word typed, a symbol picked from the list or a position clicked to be
    // one change, not one report per key.
    m_settle->setObjectName(QStringLiteral("SettleTimer"));
    m_settle->setSingleShot(true);
    m_settle->setInterval(5000);
    connect(m_settle, &QTimer::timeout, this, &ObjectSlot::settled);
}

bool ObjectSlot::weatherMode() const {
    return m_index == 0 && m_object.isWeatherStation();
}

QString ObjectSlot::commentFileStatus() const {
    return (weatherMode() ? QStringLiteral("  Wx data file: ")
                          : QStringLiteral("  Comment file: ")) +
           QFileInfo(m_object.commentFile).fileName();
}

// ---- Edits ------------------------------------------------------------------------------

void ObjectSlot::setIdentifier(const QString& identifier) {
    m_object.identifier = identifier;
    m_object.nameField = Report::nameField(identifier);
    changed();
    edited();
}

void ObjectSlot::setSymbol(int number, const QString& table, const QString& code) {
    m_object.symbolNumber = number;
    m_object.table = table;
    m_object.code = code;
    changed();
    edited();
}

void ObjectSlot::setPosition(const QString& latitude, const QString& longitude) {
    m_object.latitude = latitude;
    m_object.longitude = longitude;
    m_object.hasPosition = true;
    m_object.picking = false;
    changed();
    edited();
}

void ObjectSlot::setComment(const QString& comment) {
    if (comment == m_object.comment)
        return;
    m_object.comment = comment;
    changed();
    edited();
}

void ObjectSlot::setUseCommentFile(bool on) {
    if (on == m_object.useCommentFile)
        return;
    m_object.useCommentFile = on;
    changed();
    edited();
}

void ObjectSlot::restore(const BeaconObject& restored) {
    m_object = restored;
    m_object.nameField = Report::nameField(m_object.identifier);
    updateHeader();
}

bool ObjectSlot::adopt(const BeaconObject& restored) {
    if (m_object.hasPosition)
        return false;
    m_object = restored;
    changed();
    return true;
}

void ObjectSlot::empty() {
    BeaconObject& o = m_object;
    o.identifier.clear();
    o.header.clear();
    o.latitude.clear();
    o.longitude.clear();
    o.nameField = BeaconObject().nameField;
    o.symbolNumber = 0;
    o.code.clear(); // the table character stays, as it was chosen last
    o.hasPosition = false;
    o.picking = false;
    o.comment.clear();
    o.commentFile.clear();
    o.useCommentFile = false;
    emit headerChanged(m_index, o.header);
    changed();
    qCInfo(lcObjects) << "object" << m_index + 1 << "emptied";
}

void ObjectSlot::updateHeader() {
    BeaconObject& o = m_object;
    if (weatherMode())
        o.header = Report::weatherHeader(m_clock.nowLocal(), o.latitude, o.table, o.longitude,
                                         o.code, m_services.utcWeather && m_services.utcWeather());
    else
        o.header = Report::objectHeader(o);
    emit headerChanged(m_index, o.header);
    changed();
}

// ---- Scheduling -------------------------------------------------------------------------

SendRequest ObjectSlot::request(bool starting) const {
    SendRequest r = m_services.sendContext();
    r.starting = starting;
    r.weatherStation = weatherMode();
    r.identifier = m_object.identifier;
    r.symbolNumber = m_object.symbolNumber;
    r.hasPosition = m_object.hasPosition;
    return r;
}

void ObjectSlot::refuse(const QString& message) {
    emit refused(m_index, message);
    m_dialogs.information(message);
}

bool ObjectSlot::start(bool byTimer) {
    BeaconObject& o = m_object;
    if (const QString refusal = prepareSend(request(true)).refusal; !refusal.isEmpty()) {
        qCInfo(lcObjects) << "object" << m_index + 1 << "not started:" << refusal;
        // The check repeats every minute while it fails, and the ticks go on while a box is
        // open: an operator away for a weekend must come back to one box, not thousands of
        // nested ones.
        if (byTimer && m_refusalShowing)
            return false;
        m_refusalShowing = true;
        refuse(refusal);
        m_refusalShowing = false;
        return false;
    }
    const bool wasRunning = o.running;
    o.running = true;
    // Text still being typed in the box is not limited yet; an interval below the least would
    // put the object on the air every minute.
    o.interval = qBound(Schedule::MinInterval, o.interval, Schedule::MaxInterval);
    // With the decay, the gaps after a Start double from a minute (never inside the 30 s in
    // which digipeaters drop a repeat) until they would reach the interval.
    if (!byTimer || !decayOn())
        m_decayGap = !byTimer && decayOn() ? 1 : 0;
    else if (m_decayGap > 0)
        m_decayGap = 2 * m_decayGap < o.interval ? 2 * m_decayGap : 0;
    o.minutesLeft = m_decayGap > 0 ? m_decayGap : o.interval;
    // A Start by the timer keeps the minute grid of the first Start.
    if (!byTimer || !m_timer->isActive())
        rearmTimer(m_ticker.start(m_monotonic.elapsed()));
    if (!wasRunning || !byTimer)
        emit runningChanged(m_index, true);
    send();
    changed();
    return true;
}

void ObjectSlot::rearmTimer(qint64 waitMs) {
    m_timer->start(int(qBound<qint64>(1, waitMs, 2 * MinuteTicker::TickMs)));
}

void ObjectSlot::stop() {
    m_object.running = false;
    m_missed = false;
    m_decayGap = 0;
    m_settle->stop();
    m_timer->stop();
    emit runningChanged(m_index, false);
    changed();
}

void ObjectSlot::tick() {
    BeaconObject& o = m_object;
    if (!o.running)
        return;
    // Re-armed before the send, which may wait for the link while events run on.
    const MinuteTicker::Tick tick = m_ticker.tick(m_monotonic.elapsed());
    rearmTimer(tick.waitMs);
    o.minutesLeft -= tick.minutes;
    if (o.minutesLeft <= 0) {
        m_timed = true;
        start(true);
        m_timed = false;
    }
    changed();
}

void ObjectSlot::catchUp() {
    if (!m_missed)
        return;
    m_missed = false;
    if (!m_object.running)
        return;
    qCInfo(lcObjects) << "object" << m_index + 1 << "sends the report that fell due";
    m_timed = true;
    send();
    m_timed = false;
}

void ObjectSlot::edited() {
    if (m_object.running && decayOn())
        m_settle->start();
}

QString ObjectSlot::reportKey() const {
    const BeaconObject& o = m_object;
    // A comment from a file changes at every send by design: only the operator's own edits
    // count.
    return QStringList{o.identifier,
                       QString::number(o.symbolNumber),
                       o.table,
                       o.code,
                       o.latitude,
                       o.longitude,
                       o.useCommentFile ? QString() : o.comment,
                       QString::number(o.useCommentFile)}
        .join(QChar(0));
}

void ObjectSlot::settled() {
    if (!m_object.running || !decayOn() || reportKey() == m_sentKey)
        return;
    // Half an edit (a name erased to type another) waits for the schedule, with no message.
    if (nextReport().info.isEmpty())
        return;
    qCInfo(lcObjects) << "object" << m_index + 1 << "changed while running: sent again now";
    m_decayGap = 1;
    m_object.minutesLeft = m_decayGap;
    // The gaps count from this report, never from a minute tick that may be a second away.
    rearmTimer(m_ticker.start(m_monotonic.elapsed()));
    send();
    changed();
}

QString ObjectSlot::intervalHint() const {
    return Schedule::remainingHint(m_object.running, m_object.minutesLeft);
}

// ---- Sending ----------------------------------------------------------------------------

void ObjectSlot::send() {
    try {
        sendChecked();
    } catch (const ConvertError& e) {
        m_dialogs.error(e.message());
    }
}

void ObjectSlot::sendKilled() {
    // The killed-object report: status "_" and no comment.
    m_object.comment.clear();
    emit commentChanged(m_index, m_object.comment);
    m_object.nameField = Report::nameField(m_object.identifier, true);
    emit killRequested(m_index, m_object);
}

void ObjectSlot::sendChecked() {
    const bool weather = weatherMode();
    const SendRequest asked = request(false);
    const SendPlan plan = prepareSend(asked);
    if (!plan.ok()) {
        refuse(plan.refusal);
        return;
    }
    std::optional<ComposedReport> next;
    const bool fromFile = m_object.useCommentFile;
    if (fromFile) {
        next = takeCommentFile();
        if (!next)
            return;
    } else {
        next = compose({}, false);
        *m_services.markers = {next->fileDateText, next->currentTimeText};
        emit timeStampsDue();
        if (!weather)
            updateHeader();
    }
    // The operator sees what goes on the air; the marker comes back afterwards.
    emit sending(m_index, next->comment, !fromFile);
    if (const QString refusal = reportRefusal(m_object.header); !refusal.isEmpty()) {
        refuse(refusal);
    } else {
        m_sentKey = reportKey();
        // The weather report carries no name of its own: the log names it by the station.
        emit reportReady(m_index, next->info(), plan.destination,
                         weather ? m_services.stationCall() : m_object.identifier);
        if (!asked.linkDown.isEmpty()) {
            // The log has its record; a running object sends once the link is back.
            m_missed = m_object.running;
            if (!m_timed)
                refuse(
                    m_missed
                        ? QStringLiteral("Not sent: the link is down (%1). It goes out "
                                         "once the link is back.")
                              .arg(asked.linkDown)
                        : QStringLiteral("Not sent: the link is down (%1).").arg(asked.linkDown));
        }
    }
    emit sendDone(m_index);
}

ComposedReport ObjectSlot::compose(const CommentFileText& file, bool fromFile) const {
    ReportMoment moment;
    moment.nowUtc = m_clock.nowUtc();
    moment.nowLocal = m_clock.nowLocal();
    moment.dateFormat = m_services.dateFormat();
    moment.fileDateText = m_services.markers->fileDateText;
    moment.weatherStation = weatherMode();
    moment.file = file;
    moment.fromFile = fromFile;
    moment.typedComment = m_object.comment;
    moment.utf8 = utf8Text();
    moment.utcWeather = m_services.utcWeather && m_services.utcWeather();
    return composeReport(m_object, moment);
}

NextReportView ObjectSlot::nextReport() const {
    NextReportView view;
    view.running = m_object.running;
    view.minutesLeft = m_object.minutesLeft;
    if (!m_object.hasPosition)
        return view;
    const SendRequest asked = request(false);
    const SendPlan plan = prepareSend(asked);
    if (!plan.ok()) {
        view.refusal = plan.refusal;
        return view;
    }
    view.linkDown = asked.linkDown;
    bool fromFile = m_object.useCommentFile;
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

bool ObjectSlot::readCommentFile() {
    return takeCommentFile().has_value();
}

std::optional<ComposedReport> ObjectSlot::takeCommentFile() {
    const ComposedReport next = compose(::readCommentFile(m_object.commentFile), true);
    if (!next.error.isEmpty()) {
        m_dialogs.error(next.error);
        return std::nullopt;
    }
    m_object = next.object;
    emit commentChanged(m_index, m_object.comment);
    emit headerChanged(m_index, m_object.header);
    *m_services.markers = {next.fileDateText, next.currentTimeText};
    changed();
    return next;
}
