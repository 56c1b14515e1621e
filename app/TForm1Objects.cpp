// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "beacon/ObjectPanel.h"
#include "common/Dialogs.h"
#include "links/LinkControl.h"
#include "map/MapSymbols.h"
#include "map/MapView.h"
#include "station/Station.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

// The one place that knows which control of the form belongs to which object.
ObjectControls controlsOf(Ui::TForm1* ui, int index) {
    switch (index) {
    case 0:
        return {ui->Page,         ui->Tab,       ui->Panel7,   ui->Identifier, ui->cmbSymbol,
                ui->Latitude,     ui->Longitude, ui->Header,   ui->Comment,    ui->Label7,
                ui->chkFile,      ui->btnSend,   ui->btnStart, ui->btnStop,    ui->btnDelete,
                ui->spinInterval, ui->btnWx};
    case 1:
        return {ui->Page,          ui->Tab1,       ui->Panel8,    ui->Identifier1, ui->cmbSymbol1,
                ui->Latitude1,     ui->Longitude1, ui->Header1,   ui->Comment1,    nullptr,
                ui->chkFile1,      ui->btnSend1,   ui->btnStart1, ui->btnStop1,    ui->btnDelete1,
                ui->spinInterval1, nullptr};
    default:
        return {ui->Page,          ui->Tab2,       ui->Panel9,    ui->Identifier2, ui->cmbSymbol2,
                ui->Latitude2,     ui->Longitude2, ui->Header2,   ui->Comment2,    nullptr,
                ui->chkFile2,      ui->btnSend2,   ui->btnStart2, ui->btnStop2,    ui->btnDelete2,
                ui->spinInterval2, nullptr};
    }
}

} // namespace

void TForm1::setupObjects() {
    for (int k = 0; k < 3; ++k) {
        auto* p = new ObjectPanel(
            controlsOf(ui.get(), k), m_station->slot(k), m_dialogs,
            [this] { return station().MyCall; }, this);
        m_panels[k] = p;
        const ObjectControls& c = p->controls();
        connect(c.send, &QPushButton::clicked, this, [this, c] { btnSendClick(c.send); });
        connect(c.del, &QPushButton::clicked, this, [this, c] { btnDeleteClick(c.del); });
        connect(p, &ObjectPanel::identifierLeft, this, &TForm1::CheckID);
        connect(p, &ObjectPanel::weatherPanelHidden, ui->wxpanel, &QWidget::hide);
        connect(p, &ObjectPanel::modeApplied, this, &TForm1::applyObjectMode);
        connectToMap(p);
    }
    connect(m_station, &Station::objectRestored, this, &TForm1::showRestoredEntry);
    connect(ui->Page, &QTabWidget::currentChanged, this, &TForm1::EnterTab);
    connect(ui->btnStopAll, &QToolButton::clicked, this, &TForm1::btnStopAllClick);
}

ObjectPanel* TForm1::panel(int index) const {
    return index >= 0 && index < 3 ? m_panels[index] : nullptr;
}

ObjectPanel* TForm1::shownPanel() const {
    return panel(ui->Page->currentIndex());
}

int TForm1::objectOfSender(const QObject* sender) const {
    for (int k = 0; k < 3; ++k)
        if (m_panels[k]->owns(sender))
            return k;
    return -1;
}

bool TForm1::weatherMode() const {
    return m_panels[0]->weatherMode();
}

void TForm1::applyObjectMode(bool weather) {
    if (weather) {
        ui->wxpanel->setVisible(true);
        ui->wxpanel->raise();
    }
    ui->btnTime->setEnabled(!weather);
    barPanel(0)->setText(m_panels[0]->commentFileStatus());
}

void TForm1::CheckID(int index) {
    QLineEdit* own = m_panels[index]->controls().identifier;
    const QString text = own->text();
    if (text.isEmpty())
        return;
    // Two objects of one name would be one object to every station that hears them, each
    // report moving it; all three are compared, not only the first two.
    for (int other = 0; other < 3; ++other) {
        if (other == index || m_panels[other]->controls().identifier->text() != text)
            continue;
        own->clear();
        m_dialogs.information(QStringLiteral("Identifiers must be different."));
        return;
    }
}

void TForm1::EnterTab() {
    ui->wxpanel->setVisible(false);
    const bool weather = weatherMode();
    ui->btnWx->setVisible(weather);
    ObjectPanel* shown = shownPanel();
    if (shown == m_panels[0])
        ui->wxpanel->setVisible(weather);
    for (ObjectPanel* p : m_panels) {
        if (p == shown)
            barPanel(0)->setText(p->commentFileStatus());
        else
            p->setPicking(false);
    }
}

void TForm1::btnDeleteClick(QObject* sender) {
    const int own = objectOfSender(sender);
    if (own >= 0 && sender == m_panels[own]->controls().del)
        m_panels[own]->deleteClicked(linkConnected() || m_linkControl->reconnecting());
    else if (ObjectPanel* shown = shownPanel())
        shown->empty(); // a new map empties the object showing, without asking
}

void TForm1::btnStopAllClick() {
    for (ObjectPanel* p : m_panels)
        p->stop();
    ui->Page->unsetCursor();
    m_waitCursor.releaseAll();
    // Ends a busy period still running, so the pages are enabled again.
    m_linkControl->BusyTimed();
}

// ---- Where objects meet the map ----------------------------------------------------------

void TForm1::showObjectOnMap(int slot, const BeaconObject& o) {
    MapSymbols* symbols = m_map->symbols();
    symbols->showLabel(slot, o.running);
    symbols->showOnly(slot, o.symbolNumber == 0 ? -1 : o.symbolNumber);
    if (slot == 0 && o.isWeatherStation())
        symbols->setLabelText(0, station().MyCall);
}

void TForm1::connectToMap(ObjectPanel* p) {
    MapSymbols* symbols = m_map->symbols();
    connect(p, &ObjectPanel::mapSymbolPlaced, symbols, &MapSymbols::place);
    connect(p, &ObjectPanel::mapSymbolShown, this, &TForm1::showObjectOnMap);
    connect(p, &ObjectPanel::mapPlaceholderShown, symbols,
            [symbols](int slot) { symbols->showOnly(slot, MapSymbols::Placeholder); });
    connect(p, &ObjectPanel::mapSymbolHidden, symbols, [symbols](int slot) {
        symbols->showOnly(slot, -1);
        symbols->hideLabels(slot);
    });
    connect(p, &ObjectPanel::mapLabelText, symbols, &MapSymbols::setLabelText);
    connect(p, &ObjectPanel::mapLabelsShown, symbols, &MapSymbols::showLabel);
    connect(p, &ObjectPanel::mapLabelsHidden, symbols, &MapSymbols::hideLabels);
}
