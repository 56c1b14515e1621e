// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/TfrmStation.h"

#include "common/Callsign.h"
#include "common/Cp1252.h"
#include "common/Dialogs.h"
#include "settings/StationCheck.h"
#include "ui_TfrmStation.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace {

const QStringList kPresets = {QStringLiteral("RELAY"),           QStringLiteral("WIDE"),
                              QStringLiteral("RELAY, WIDE"),     QStringLiteral("TRACE2-2"),
                              QStringLiteral("WIDE1-1,WIDE2-1"), QStringLiteral("WIDE2-1")};

// The list shows the presets in the order they came, the user's own path last; Unproto numbers
// them as stored files always have (5 the user's path, 6 and 7 the later presets).
constexpr int kPresetEntries = 7;
constexpr int kUserUnproto = 5;

int unprotoOfEntry(int entry) {
    if (entry == kPresetEntries)
        return kUserUnproto;
    return entry >= kUserUnproto ? entry + 1 : entry;
}

int entryOfUnproto(int unproto) {
    if (unproto == kUserUnproto)
        return kPresetEntries;
    return unproto > kUserUnproto ? unproto - 1 : unproto;
}

} // namespace

TfrmStation::TfrmStation(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmStation>()), m_dialogs(dialogs) {
    ui->setupUi(this);
    // A fixed dialog: no title-bar buttons beyond what the window manager insists on.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    for (QWidget* w :
         {static_cast<QWidget*>(ui->Edit1), static_cast<QWidget*>(ui->Edit2),
          static_cast<QWidget*>(ui->WxDest), static_cast<QWidget*>(ui->cmbUnproto->lineEdit())})
        w->installEventFilter(this);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmStation::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmStation::btnCancelClick);
    // Pasted text, and keys an input method delivers, bypass the key filter: what the code
    // page cannot carry is mended or dropped before the path list or OK sees it.
    for (QLineEdit* box : {ui->Edit1, ui->WxDest, ui->cmbUnproto->lineEdit()})
        connect(box, &QLineEdit::textEdited, this,
                [box](const QString& text) { keepEncodable(box, text); });
    connect(ui->cmbUnproto, &QComboBox::activated, this, [this](int index) {
        m_listIndex = index;
        cmbChanged();
    });
    connect(ui->cmbUnproto->lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_listIndex = -1;
        cmbChanged();
    });
    // The destination box holds capitals only, pasted text included.
    connect(ui->Edit2, &QLineEdit::textEdited, this, [this](const QString& text) {
        keepEncodable(ui->Edit2, text);
        const QString now = ui->Edit2->text();
        if (now != now.toUpper()) {
            const int cursor = ui->Edit2->cursorPosition();
            ui->Edit2->setText(now.toUpper());
            ui->Edit2->setCursorPosition(cursor);
        }
    });
}

TfrmStation::~TfrmStation() = default;

void TfrmStation::keepEncodable(QLineEdit* box, const QString& text) {
    const QString kept = Cp1252::encodable(text);
    if (kept == text)
        return;
    const int cursor = box->cursorPosition() - int(text.size() - kept.size());
    box->setText(kept);
    box->setCursorPosition(std::max(0, cursor));
}

void TfrmStation::setValues(const StationSettings& station, LinkType link) {
    m_station = station;
    m_edited = station;
    m_linkType = link;
}

void TfrmStation::showEvent(QShowEvent* event) {
    FrmShow();
    QDialog::showEvent(event);
}

void TfrmStation::FrmShow() {
    m_edited = m_station;
    m_filling = true;
    ui->Edit1->setText(m_station.MyCall);
    ui->Edit2->setText(m_station.Destination);

    QComboBox* list = ui->cmbUnproto;
    if (!m_station.UserUnproto.isEmpty()) {
        if (list->count() == kPresetEntries)
            list->addItem(m_station.UserUnproto);
        else
            list->setItemText(kPresetEntries, m_station.UserUnproto);
    }
    const int entry = entryOfUnproto(m_station.Unproto);
    const int index = m_station.Unproto >= 0 && entry < list->count() ? entry : -1;
    list->setCurrentIndex(index);
    list->setEditText(m_station.UnprotoPath);
    m_listIndex = index;

    ui->chkUtf8->setChecked(m_station.Utf8Text);
    ui->chkUtcWeather->setChecked(m_station.UtcWeather);
    showPorts();
    showWeatherDestination();
    ui->Edit1->setFocus();
    m_filling = false;
}

void TfrmStation::showPorts() {
    QCheckBox* boxes[4] = {ui->chkPort1, ui->chkPort2, ui->chkPort3, ui->chkPort4};
    switch (m_linkType) {
    case LinkType::Agwpe:
        for (int i = 0; i < 4; ++i) {
            boxes[i]->setEnabled(true);
            boxes[i]->setChecked(m_station.PortFlags[size_t(i)]);
        }
        break;
    case LinkType::Tnc:
        boxes[0]->setEnabled(true);
        boxes[0]->setChecked(true);
        for (int i = 1; i < 4; ++i)
            boxes[i]->setEnabled(false);
        break;
    case LinkType::Kiss:
    case LinkType::KissTcp:
        // Box 2 keeps whatever it last showed here: a KISS TNC has two ports.
        boxes[0]->setEnabled(true);
        boxes[0]->setChecked(true);
        boxes[1]->setEnabled(true);
        boxes[2]->setEnabled(false);
        boxes[3]->setEnabled(false);
        break;
    case LinkType::AprsIs:
        // No radio: the boxes keep what they showed for the radio links.
        for (QCheckBox* box : boxes)
            box->setEnabled(false);
        break;
    }
}

void TfrmStation::showWeatherDestination() {
    QPalette palette = ui->WxDest->palette();
    if (m_linkType == LinkType::Tnc) {
        ui->WxDest->setEnabled(false);
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        ui->WxDest->setText(m_station.Destination);
    } else {
        ui->WxDest->setEnabled(true);
        palette.setColor(QPalette::Base, QWidget::palette().color(QPalette::Base));
        ui->WxDest->setText(m_station.WxDest);
    }
    ui->WxDest->setPalette(palette);
}

void TfrmStation::cmbChanged() {
    if (m_filling)
        return;
    // Only this showing's copy: a path is put to use by an OK that accepts it, never by a
    // keystroke, so "WIDE2.2" half typed or refused never reaches the air.
    m_edited.Unproto = m_listIndex < 0 ? -1 : unprotoOfEntry(m_listIndex);
    m_edited.UnprotoPath = ui->cmbUnproto->currentText();
    m_edited.LinkPath = m_edited.UnprotoPath;
}

void TfrmStation::SetPorts() {
    const bool on[4] = {ui->chkPort1->isChecked(),
                        ui->chkPort2->isChecked() && ui->chkPort2->isEnabled(),
                        ui->chkPort3->isChecked() && ui->chkPort3->isEnabled(),
                        ui->chkPort4->isChecked() && ui->chkPort4->isEnabled()};
    QString ports;
    for (int i = 0; i < 4; ++i) {
        m_edited.PortFlags[size_t(i)] = on[i];
        ports += on[i] ? QLatin1Char('1') : QLatin1Char('0');
    }
    m_edited.Ports = ports;
}

bool TfrmStation::refuse(const QString& message) {
    m_dialogs.information(message);
    return false;
}

void TfrmStation::btnOKClick() {
    SetPorts();
    // One form of each address, so that our own copies heard back compare equal to it.
    for (QLineEdit* box : {ui->Edit1, ui->Edit2, ui->WxDest})
        if (box->isEnabled())
            box->setText(canonicalCall(box->text()));
    emit titleChanged(QStringLiteral("Skyvane [") + ui->Edit1->text() + QLatin1Char(']'));
    const int unproto = m_listIndex < 0 ? -1 : unprotoOfEntry(m_listIndex);
    m_edited.Unproto = unproto;

    const QString path = ui->cmbUnproto->currentText();
    const QString call = ui->Edit1->text();
    const QString destination = ui->Edit2->text();
    const bool tnc = m_linkType == LinkType::Tnc;
    if (const QString refusal = stationRefusal({call, destination, ui->WxDest->text(), path, tnc});
        !refusal.isEmpty()) {
        refuse(refusal);
        return;
    }

    m_edited.MyCall = call;
    m_edited.Destination = destination;
    m_edited.Unproto = unproto;
    m_edited.UnprotoPath = path;
    m_edited.LinkPath = path;
    if (!tnc)
        m_edited.WxDest = ui->WxDest->text();
    if (!path.isEmpty() && !kPresets.contains(path)) {
        m_edited.UserUnproto = path;
        m_edited.Unproto = kUserUnproto;
    }
    m_edited.Utf8Text = ui->chkUtf8->isChecked();
    m_edited.UtcWeather = ui->chkUtcWeather->isChecked();
    m_station = m_edited;
    emit stationChanged(m_station);
    accept();
}

void TfrmStation::btnCancelClick() {
    reject();
}

bool TfrmStation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    const QString text = key->text();
    if (edit && text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (const std::optional<QChar> capital = Cp1252::typedCapital(text.at(0));
            capital && !m_shifting) {
            QKeyEvent shifted(QEvent::KeyPress, key->key(), key->modifiers(), QString(*capital),
                              key->isAutoRepeat());
            m_shifting = true;
            QCoreApplication::sendEvent(edit, &shifted);
            m_shifting = false;
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
