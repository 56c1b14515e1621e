// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ObjectPanel.h"

#include "beacon/Report.h"
#include "common/AirText.h"
#include "common/Cp1252.h"
#include "common/Dialogs.h"
#include "widgets/TSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <algorithm>

namespace {

const QString kNeedLocation = QStringLiteral("Select a location on the map first.");

} // namespace

ObjectPanel::ObjectPanel(const ObjectControls& controls, ObjectSlot& slot, Dialogs& dialogs,
                         std::function<QString()> stationCall, QObject* parent)
    : QObject(parent), m_c(controls), m_slot(slot), m_dialogs(dialogs),
      m_stationCall(std::move(stationCall)) {
    connect(m_c.identifier, &QLineEdit::textChanged, this, &ObjectPanel::identifierChanged);
    // A choice by the user, not the restore of a map's objects, changes the symbol.
    connect(m_c.symbol, &QComboBox::activated, this, &ObjectPanel::symbolChosen);
    connect(m_c.start, &QPushButton::clicked, this, [this] { start(false); });
    connect(m_c.stop, &QPushButton::clicked, this, &ObjectPanel::stop);
    connect(m_c.useFile, &QCheckBox::clicked, this, &ObjectPanel::useFileClicked);
    connect(m_c.useFile, &QCheckBox::toggled, &m_slot, &ObjectSlot::setUseCommentFile);
    connect(m_c.comment, &QLineEdit::textChanged, this, &ObjectPanel::commentEdited);
    connect(m_c.interval, &TSpinEdit::valueChanged, &m_slot, &ObjectSlot::setInterval);
    if (m_c.weather) {
        // While the data file supplies the readings, the dialog's would only be overwritten.
        connect(m_c.useFile, &QCheckBox::toggled, m_c.weather,
                [this](bool useFile) { m_c.weather->setEnabled(!useFile); });
    }

    connect(&m_slot, &ObjectSlot::runningChanged, this,
            [this](int, bool running) { showRunning(running); });
    connect(&m_slot, &ObjectSlot::headerChanged, this,
            [this](int, const QString& header) { showHeader(header); });
    connect(&m_slot, &ObjectSlot::commentChanged, this,
            [this](int, const QString& comment) { showText(m_c.comment, comment); });
    connect(&m_slot, &ObjectSlot::sending, this, [this](int, const QString& comment, bool typed) {
        if (typed)
            m_c.page->setCurrentIndex(index());
        // The operator sees what goes on the air; the marker comes back afterwards.
        m_commentBeforeSend = m_c.comment->text();
        showText(m_c.comment, comment);
    });
    connect(&m_slot, &ObjectSlot::sendDone, this,
            [this] { showText(m_c.comment, m_commentBeforeSend); });
    connect(&m_slot, &ObjectSlot::nextReportChanged, this, &ObjectPanel::nextReportChanged);

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
        emit identifierLeft(index());
    if (watched == m_c.interval &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::ToolTip ||
         event->type() == QEvent::Enter))
        showIntervalHint();
    return false;
}

bool ObjectPanel::owns(const QObject* sender) const {
    return sender && (sender == m_c.send || sender == m_c.start || sender == m_c.stop ||
                      sender == m_c.del || sender == m_slot.timer());
}

void ObjectPanel::commentEdited(const QString& text) {
    if (m_showing)
        return;
    const QString before = m_slot.object().comment;
    const QString refusal = Report::commentRefusal(text, m_slot.utf8Text());
    // What cannot go on the air is refused as it is typed or pasted, rather than sent as "?"
    // or read as telemetry; taking characters out is always possible.
    if (!refusal.isEmpty() && text.size() >= before.size()) {
        const int cursor = m_c.comment->cursorPosition() - int(text.size() - before.size());
        showText(m_c.comment, before);
        m_c.comment->setCursorPosition(std::max(0, cursor));
        m_dialogs.information(refusal);
        return;
    }
    m_slot.setComment(text);
}

void ObjectPanel::showText(QLineEdit* box, const QString& text) {
    m_showing = true;
    box->setText(text);
    m_showing = false;
}

void ObjectPanel::showHeader(const QString& header) {
    m_c.header->setText(header);
    // The box is narrower than a whole header: show its start, the name and status.
    m_c.header->setCursorPosition(0);
}

void ObjectPanel::showRunning(bool running) {
    const bool wasRunning = m_shownRunning;
    m_shownRunning = running;
    m_c.start->setVisible(!running);
    m_c.stop->setVisible(running);
    if (running)
        m_c.stop->setEnabled(true);
    m_c.del->setEnabled(!running);
    if (running || (wasRunning && hasPosition()))
        showOnMap();
}

void ObjectPanel::setTabCaption(const QString& identifier) {
    // A tab without a name keeps its number, so it can still be found and clicked.
    m_c.page->setTabText(m_c.page->indexOf(m_c.sheet),
                         identifier.isEmpty() ? QStringLiteral("Object %1").arg(index() + 1)
                                              : identifier);
}

void ObjectPanel::setInterval(int minutes) {
    m_c.interval->setValue(minutes);
    m_slot.setInterval(m_c.interval->Value());
}

int ObjectPanel::interval() const {
    return m_c.interval->Value();
}

void ObjectPanel::offerCommentFile() {
    // A ticked box that becomes disabled stays ticked.
    m_c.useFile->setEnabled(QFileInfo::exists(object().commentFile));
}

// ---- Header and object 1's two modes ----------------------------------------------------

void ObjectPanel::updateHeader() {
    emit weatherPanelHidden();
    m_slot.updateHeader();
    if (index() == 0)
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
        setTabCaption(object().identifier);
    emit mapLabelText(index(), weather ? m_stationCall() : object().identifier);
    emit modeApplied(weather);
}

// ---- Editing ----------------------------------------------------------------------------

void ObjectPanel::identifierChanged() {
    // The name goes on the air in Windows-1252: a pasted or restored character it lacks would
    // leave as "?"; with text as UTF-8 it is ASCII, so that it keeps its width. Setting the
    // mended text comes back here.
    const QString text = m_c.identifier->text();
    const QString kept =
        m_slot.utf8Text() ? asciiName(Cp1252::encodable(text)) : Cp1252::encodable(text);
    if (kept != text) {
        const int cursor = m_c.identifier->cursorPosition() - int(text.size() - kept.size());
        m_c.identifier->setText(kept);
        m_c.identifier->setCursorPosition(std::max(0, cursor));
        return;
    }
    if (!hasPosition() && !m_c.identifier->text().isEmpty()) {
        // Emptying the box comes back here with nothing to refuse.
        m_c.identifier->clear();
        m_dialogs.information(kNeedLocation);
        return;
    }
    m_slot.setIdentifier(m_c.identifier->text());
    setTabCaption(object().identifier);
    const bool weather = weatherMode();
    emit mapLabelText(index(), weather ? m_stationCall() : object().identifier);
    if (hasPosition())
        emit mapLabelsShown(index(), running());
    if (weather) {
        // A weather station has no identifier of its own.
        emit mapLabelsHidden(index());
        m_c.identifier->clear();
    }
    updateHeader();
}

void ObjectPanel::symbolChosen() {
    if (!hasPosition()) {
        m_c.symbol->setCurrentIndex(-1);
        m_c.identifier->setFocus();
        m_dialogs.information(kNeedLocation);
        return;
    }
    if (const SymbolInfo* s = Symbols::byItemText(m_c.symbol->currentText());
        s && m_c.symbol->currentIndex() >= 0) {
        m_slot.setSymbol(s->number, QString(QLatin1Char(s->table)), QString(QLatin1Char(s->code)));
    } else if (index() != 0) {
        m_slot.clearSymbolNumber();
    }
    showOnMap();
    updateHeader();
}

void ObjectPanel::useFileClicked() {
    const bool on = m_c.useFile->isChecked();
    if (on) {
        m_slot.readCommentFile();
    } else {
        m_c.comment->clear();
        m_slot.requestTimeStamps();
        updateHeader();
    }
    // The weather data comes from the file while the box is ticked, so it is not typed.
    if (index() == 0)
        m_c.comment->setReadOnly(on && weatherMode());
}

void ObjectPanel::insertTimeMarker() {
    m_c.comment->setText(Report::withTimeMarker(m_c.comment->text()));
}

void ObjectPanel::placeAt(const QString& latitude, const QString& longitude,
                          const QString& latitudeShown, const QString& longitudeShown) {
    m_c.latitude->setText(latitudeShown);
    m_c.longitude->setText(longitudeShown);
    m_slot.setPosition(latitude, longitude);
    updateHeader();
}

void ObjectPanel::showRestored(const QString& latitudeShown, const QString& longitudeShown) {
    const BeaconObject& o = object();
    m_c.latitude->setText(latitudeShown);
    m_c.longitude->setText(longitudeShown);
    if (index() > 0)
        m_c.page->setCurrentIndex(index());
    m_c.symbol->setCurrentIndex(o.symbolNumber - 1);
    updateHeader();
    // The identifier goes in as if typed: the box's change handling names the tab, sets the
    // labels' text and rebuilds the header.
    m_c.identifier->setText(o.identifier);
    m_slot.setIdentifier(m_c.identifier->text());
    offerCommentFile();
    emit mapSymbolPlaced(index(), o.symbolAt);
    showText(m_c.comment, o.comment);
    emit mapLabelText(index(), o.identifier);
    showOnMap();
    // An object placed before a symbol was chosen keeps its marker.
    if (o.symbolNumber == 0)
        emit mapPlaceholderShown(index());
    updateHeader();
}

void ObjectPanel::showAdopted() {
    showText(m_c.comment, object().comment);
}

// ---- Delete -----------------------------------------------------------------------------

void ObjectPanel::deleteClicked(bool connected) {
    const bool weather = weatherMode();
    const QString question =
        weather ? QStringLiteral("Delete Weather Symbol?") : QStringLiteral("Delete Object?");
    if (!connected && !m_dialogs.okCancel(question))
        return;
    if (!object().header.isEmpty() && connected && !weather) {
        switch (m_dialogs.yesNoCancel(QStringLiteral("Notify other stations?"))) {
        case Dialogs::Answer::Cancel:
            return;
        case Dialogs::Answer::Yes:
            m_slot.sendKilled();
            break;
        case Dialogs::Answer::No:
            break;
        }
    }
    empty();
}

void ObjectPanel::empty() {
    // As if erased by hand: the tab gets its number back.
    m_c.identifier->clear();
    m_slot.empty();
    m_c.latitude->clear();
    m_c.longitude->clear();
    m_c.symbol->setCurrentIndex(-1);
    showText(m_c.comment, QString());
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
    emit mapSymbolHidden(index());
}

void ObjectPanel::showIntervalHint() {
    m_c.interval->setToolTip(m_slot.intervalHint());
}
