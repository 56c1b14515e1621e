// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TAGWPE.h"

#include "links/AprsIs.h"
#include "links/SerialDevices.h"
#include "links/TfrmSetTNC.h"
#include "ui_TAGWPE.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

void colour(QWidget* w, bool active) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::Base, active ? QPalette().color(QPalette::Base)
                                            : QPalette().color(QPalette::Button));
    w->setPalette(palette);
}

// The callsign's own passcode is not stored, so that it follows a new callsign; any other
// is the user's and stays.
QString passcodeToStore(const QString& typed, const QString& callsign) {
    const std::optional<int> value = AprsIs::passcodeSetting(typed);
    if (!value || *value == AprsIs::passcode(callsign))
        return {};
    return QString::number(*value);
}

int validIndex(const QComboBox* list, int index) {
    return index >= 0 && index < list->count() ? index : -1;
}

} // namespace

TAGWPE::TAGWPE(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAGWPE>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    connect(ui->chkAGWPE, &QRadioButton::clicked, this, &TAGWPE::chkAGWPEClick);
    connect(ui->chkKISS, &QRadioButton::clicked, this, &TAGWPE::chkKISSClick);
    connect(ui->chkTNC, &QRadioButton::clicked, this, &TAGWPE::chkTNCClick);
    connect(ui->chkKISSTCP, &QRadioButton::clicked, this, &TAGWPE::chkKISSTCPClick);
    connect(ui->chkAPRSIS, &QRadioButton::clicked, this, &TAGWPE::chkAPRSISClick);
    // Digits only, whatever the desktop language; OK waits for a passcode the servers know.
    ui->AprsPasscode->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,5}")), ui->AprsPasscode));
    connect(ui->AprsPasscode, &QLineEdit::textChanged, this, [this](const QString& text) {
        ui->btnOK->setEnabled(text.trimmed().isEmpty() ||
                              AprsIs::passcodeSetting(text).has_value());
    });
    connect(ui->chkAuto, &QCheckBox::clicked, this, &TAGWPE::chkAutoClick);
    connect(ui->btnTNC, &QPushButton::clicked, this, &TAGWPE::btnTNCClick);
    connect(ui->btnOK, &QPushButton::clicked, this, &TAGWPE::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TAGWPE::btnCancelClick);
    connect(ui->cmbTNCPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        keepDevice();
        showDevice(index);
    });
    connect(ui->cmbDevice, &QComboBox::editTextChanged, this, &TAGWPE::markDevice);
}

TAGWPE::~TAGWPE() = default;

void TAGWPE::setValues(const LinkSettings& link) {
    m_link = link;
    ui->Addr->setText(link.IPAddr);
    ui->Edit2->setText(link.TCPPort);
    ui->KissHost->setText(link.KissHost);
    ui->KissPort->setText(link.KissPort);
    ui->AprsServer->setText(link.AprsServer);
    ui->AprsPort->setText(link.AprsPort);
    ui->AprsFilter->setText(link.AprsFilter);
    setCallsign(m_callsign);
}

void TAGWPE::setCallsign(const QString& callsign) {
    m_callsign = callsign;
    // The box always shows the passcode a login would use.
    ui->AprsPasscode->setText(m_link.AprsPasscode.trimmed().isEmpty()
                                  ? QString::number(AprsIs::passcode(callsign))
                                  : m_link.AprsPasscode.trimmed());
}

void TAGWPE::showEvent(QShowEvent* event) {
    AGWFormShow();
    QDialog::showEvent(event);
}

void TAGWPE::AGWFormShow() {
    applyLinkType();
    ui->chkAuto->setChecked(m_link.AutoConnect);

    // Devices come and go (USB, Bluetooth), so the list is made afresh at every showing.
    m_devices = m_link.ComDevices;
    m_deviceCom = -1;
    ui->cmbDevice->clear();
    ui->cmbDevice->addItems(SerialDevices::present(m_deviceRoot));

    ui->cmbTNCPort->setCurrentIndex(validIndex(ui->cmbTNCPort, m_link.ComPort - 1));
    showDevice(ui->cmbTNCPort->currentIndex());
    ui->cmbTNCBaud->setCurrentIndex(validIndex(ui->cmbTNCBaud, m_link.BaudRate));
    ui->cmbTNCHandshaking->setCurrentIndex(validIndex(ui->cmbTNCHandshaking, m_link.Flow));
    ui->cmbTNCParity->setCurrentIndex(validIndex(ui->cmbTNCParity, m_link.Parity));
    ui->cmbDataBits->setCurrentIndex(validIndex(ui->cmbDataBits, m_link.DataBits));
    ui->cmbStopBits->setCurrentIndex(validIndex(ui->cmbStopBits, m_link.StopBits));
}

void TAGWPE::applyLinkType() {
    const LinkType type = m_link.type();
    ui->btnTNC->setEnabled(type == LinkType::Tnc);
    ui->TNCGroup->setEnabled(m_link.serial());
    ui->AGWGroup->setEnabled(type == LinkType::Agwpe);
    ui->KissTcpGroup->setEnabled(type == LinkType::KissTcp);
    ui->AprsIsGroup->setEnabled(type == LinkType::AprsIs);
    ui->chkAGWPE->setChecked(type == LinkType::Agwpe);
    ui->chkTNC->setChecked(type == LinkType::Tnc);
    ui->chkKISS->setChecked(type == LinkType::Kiss);
    ui->chkKISSTCP->setChecked(type == LinkType::KissTcp);
    ui->chkAPRSIS->setChecked(type == LinkType::AprsIs);

    const bool serial = ui->chkTNC->isChecked() || ui->chkKISS->isChecked();
    for (QComboBox* list : {ui->cmbTNCPort, ui->cmbDevice, ui->cmbTNCBaud, ui->cmbTNCHandshaking,
                            ui->cmbDataBits, ui->cmbStopBits, ui->cmbTNCParity})
        colour(list, serial);
    colour(ui->Addr, ui->chkAGWPE->isChecked());
    colour(ui->Edit2, ui->chkAGWPE->isChecked());
    colour(ui->KissHost, ui->chkKISSTCP->isChecked());
    colour(ui->KissPort, ui->chkKISSTCP->isChecked());
    for (QLineEdit* box : {ui->AprsServer, ui->AprsPort, ui->AprsPasscode, ui->AprsFilter})
        colour(box, ui->chkAPRSIS->isChecked());
}

void TAGWPE::showDevice(int comIndex) {
    m_deviceCom = comIndex;
    ui->cmbDevice->setEditText(comIndex >= 0 ? m_devices[size_t(comIndex)] : QString());
    markDevice();
}

void TAGWPE::keepDevice() {
    if (m_deviceCom < 0)
        return;
    // A box left empty would leave the COM number pointing nowhere: it keeps its usual device.
    const QString text = ui->cmbDevice->currentText().trimmed();
    m_devices[size_t(m_deviceCom)] =
        text.isEmpty() ? LinkSettings().ComDevices[size_t(m_deviceCom)] : text;
}

void TAGWPE::markDevice() {
    ui->lblNoDevice->setVisible(!SerialDevices::exists(ui->cmbDevice->currentText().trimmed()));
}

// A click changes the link type at once, even if the dialog is then cancelled. The list
// choices are left as the user set them: they are read at OK.
void TAGWPE::chooseType(LinkType type) {
    m_link.setType(type);
    applyLinkType();
    emit linkChanged(m_link);
}

void TAGWPE::chkAGWPEClick() {
    chooseType(LinkType::Agwpe);
}

void TAGWPE::chkKISSClick() {
    chooseType(LinkType::Kiss);
}

void TAGWPE::chkTNCClick() {
    chooseType(LinkType::Tnc);
}

void TAGWPE::chkKISSTCPClick() {
    chooseType(LinkType::KissTcp);
}

void TAGWPE::chkAPRSISClick() {
    chooseType(LinkType::AprsIs);
}

void TAGWPE::chkAutoClick() {
    m_link.AutoConnect = ui->chkAuto->isChecked();
    emit linkChanged(m_link);
}

void TAGWPE::btnTNCClick() {
    if (!m_setTnc)
        return;
    m_setTnc->setValues(m_link);
    m_setTnc->move(x() + 20, y() + 20);
    if (m_setTnc->exec() != QDialog::Accepted)
        return;
    const LinkSettings& tnc = m_setTnc->settings();
    m_link.Command = tnc.Command;
    m_link.CommandCode = tnc.CommandCode;
    m_link.CmdPrompt = tnc.CmdPrompt;
    m_link.SendPac = tnc.SendPac;
    m_link.SendPacCode = tnc.SendPacCode;
    m_link.Beacon = tnc.Beacon;
    m_link.Conv = tnc.Conv;
    m_link.ConOk = tnc.ConOk;
    emit linkChanged(m_link);
}

void TAGWPE::btnOKClick() {
    m_link.IPAddr = ui->Addr->text();
    m_link.TCPPort = ui->Edit2->text();
    keepDevice();
    m_link.ComDevices = m_devices;
    // A list with nothing chosen keeps its setting.
    const auto take = [](const QComboBox* list, int& setting, int offset = 0) {
        if (list->currentIndex() >= 0)
            setting = list->currentIndex() + offset;
    };
    take(ui->cmbTNCPort, m_link.ComPort, 1);
    take(ui->cmbTNCBaud, m_link.BaudRate);
    take(ui->cmbTNCHandshaking, m_link.Flow);
    take(ui->cmbTNCParity, m_link.Parity);
    take(ui->cmbDataBits, m_link.DataBits);
    take(ui->cmbStopBits, m_link.StopBits);
    m_link.KissHost = ui->KissHost->text().trimmed();
    m_link.KissPort = ui->KissPort->text().trimmed();
    m_link.AprsServer = ui->AprsServer->text().trimmed();
    m_link.AprsPort = ui->AprsPort->text().trimmed();
    m_link.AprsFilter = ui->AprsFilter->text().trimmed();
    m_link.AprsPasscode = passcodeToStore(ui->AprsPasscode->text(), m_callsign);
    m_link.setType(ui->chkTNC->isChecked()       ? LinkType::Tnc
                   : ui->chkKISS->isChecked()    ? LinkType::Kiss
                   : ui->chkKISSTCP->isChecked() ? LinkType::KissTcp
                   : ui->chkAPRSIS->isChecked()  ? LinkType::AprsIs
                                                 : LinkType::Agwpe);
    m_link.AutoConnect = ui->chkAuto->isChecked();
    emit linkChanged(m_link);
    accept();
}

void TAGWPE::btnCancelClick() {
    reject();
}
