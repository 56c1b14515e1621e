// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/TfrmWx.h"

#include "common/ConvertError.h"
#include "common/Dialogs.h"
#include "ui_TfrmWx.h"
#include "weather/UnitConversion.h"
#include "widgets/TForm14.h"

#include <QKeyEvent>
#include <QValidator>

namespace {

// Limits what the operator types to the field's length. QLineEdit's own limit would also cut
// the texts a change of units writes, and those may be a character longer (25.45 mm in a
// four-character rain field, 98.5 F in a three-character temperature field).
class TypedLength : public QValidator {
public:
    TypedLength(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}
    State validate(QString& text, int&) const override {
        return text.size() <= m_limit ? Acceptable : Invalid;
    }

private:
    int m_limit;
};

bool isDigit(const QString& key) {
    return key.size() == 1 && key.at(0) >= QLatin1Char('0') && key.at(0) <= QLatin1Char('9');
}

bool isPoint(const QString& key) {
    return key == QLatin1String(".");
}

// What stays of the field when the key replaces its selection.
QString textLeftByKey(const QLineEdit* field) {
    QString text = field->text();
    if (field->hasSelectedText())
        text.remove(field->selectionStart(), field->selectedText().size());
    return text;
}

void setIfChanged(QLineEdit* field, const QString& text) {
    if (field->text() != text)
        field->setText(text);
}

} // namespace

TfrmWx::TfrmWx(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmWx>()), m_dialogs(dialogs) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    for (QLineEdit* field : {ui->Direction, ui->Speed, ui->Gust, ui->Rain24, ui->RainM, ui->Rain,
                             ui->Temperature, ui->Pressure, ui->Humidity}) {
        // The form keeps each field's length where a maintainer sees it; typing is held to it.
        const int limit = field->maxLength();
        field->setMaxLength(32767);
        field->setValidator(new TypedLength(limit, field));
        field->installEventFilter(this);
    }
    connect(ui->chkMetric, &QCheckBox::toggled, this, &TfrmWx::chkMetricClick);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmWx::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmWx::btnCancelClick);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmWx::Button1Click);
}

TfrmWx::~TfrmWx() = default;

template <class Work> void TfrmWx::guarded(Work work) {
    try {
        work();
    } catch (const ConvertError& e) {
        m_dialogs.error(e.message());
    } catch (const std::exception& e) {
        m_dialogs.error(QString::fromLocal8Bit(e.what()));
    }
}

WeatherReadings TfrmWx::readings() const {
    return {ui->Direction->text(),   ui->Speed->text(),    ui->Gust->text(),
            ui->Rain->text(),        ui->Rain24->text(),   ui->RainM->text(),
            ui->Temperature->text(), ui->Pressure->text(), ui->Humidity->text()};
}

void TfrmWx::showReadings(const WeatherReadings& r) {
    setIfChanged(ui->Direction, r.Direction);
    setIfChanged(ui->Speed, r.Speed);
    setIfChanged(ui->Gust, r.Gust);
    setIfChanged(ui->Rain, r.Rain);
    setIfChanged(ui->Rain24, r.Rain24);
    setIfChanged(ui->RainM, r.RainM);
    setIfChanged(ui->Temperature, r.Temperature);
    setIfChanged(ui->Pressure, r.Pressure);
    setIfChanged(ui->Humidity, r.Humidity);
}

void TfrmWx::setUnitLabels(bool metric) {
    const WeatherUnitLabels labels = weatherUnitLabels(metric);
    ui->Label4->setText(labels.speed);
    ui->Label10->setText(labels.gust);
    ui->Label8->setText(labels.rain);
    ui->Label14->setText(labels.temperature);
}

void TfrmWx::showEvent(QShowEvent* event) {
    frmShow();
    QDialog::showEvent(event);
}

void TfrmWx::frmShow() {
    if (const QWidget* owner = parentWidget())
        move(owner->x() + 10, owner->y() + 50);
    // A changed box converts what the fields hold into the units of the stored setting.
    ui->chkMetric->setChecked(m_entry.metric);
    if (!ui->chkMetric->isChecked())
        ui->Label14->setText(weatherUnitLabels(false).temperature);
}

void TfrmWx::chkMetricClick() {
    const bool metric = ui->chkMetric->isChecked();
    WeatherReadings r = readings();
    guarded([&] {
        try {
            convertReadings(r, metric);
        } catch (const ConvertError&) {
            // The fields before the one that is not a number are converted already.
            showReadings(r);
            throw;
        }
        showReadings(r);
        setUnitLabels(metric);
    });
}

void TfrmWx::btnOKClick() {
    guarded([this] {
        WeatherReadings r = readings();
        // The corrected direction stays in its field even when a later field is refused.
        r.Direction = correctDirection(r.Direction);
        setIfChanged(ui->Direction, r.Direction);
        const WeatherData data = buildWeatherData(r, ui->chkMetric->isChecked());
        m_entry.data = data.text;
        m_entry.metric = ui->chkMetric->isChecked();
        accept();
    });
}

void TfrmWx::btnCancelClick() {
    reject();
}

void TfrmWx::Button1Click() {
    if (!m_help)
        return;
    m_help->setOpener(this);
    m_help->exec();
}

bool TfrmWx::frmKeyPress1(QLineEdit*, const QString& key) {
    // In metric units decimals and a minus sign are needed.
    return !ui->chkMetric->isChecked() && !isDigit(key);
}

bool TfrmWx::frmKeyPress(QLineEdit* field, const QString& key) {
    if (!isDigit(key) && !isPoint(key))
        return true;
    const QString left = textLeftByKey(field);
    if (isPoint(key) && left.isEmpty()) {
        field->setText(QStringLiteral("0."));
        field->setCursorPosition(2);
        return true;
    }
    // English rain is typed as digit, point, two digits (0.00 to 9.99).
    return !ui->chkMetric->isChecked() && left.size() == 1 && !isPoint(key);
}

bool TfrmWx::frmKeyPress2(QLineEdit*, const QString& key) {
    return !isDigit(key) && !isPoint(key);
}

bool TfrmWx::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Only keys that put a character in the field are filtered: editing, moving, shortcuts
    // (copy and paste) and Enter for OK work as in any other field.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
        text.size() != 1 || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F)
        return QDialog::eventFilter(watched, event);
    if (field == ui->Rain || field == ui->Rain24 || field == ui->RainM)
        return frmKeyPress(field, text);
    if (field == ui->Pressure)
        return frmKeyPress2(field, text);
    return frmKeyPress1(field, text);
}
