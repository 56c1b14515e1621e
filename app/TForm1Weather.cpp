// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "station/Station.h"
#include "ui_TForm1.h"
#include "weather/TfrmWx.h"

#include <QMouseEvent>
#include <functional>

namespace {

// A left click on a picture that has no click signal of its own.
class PictureClick : public QObject {
public:
    PictureClick(std::function<void()> clicked, QObject* parent)
        : QObject(parent), m_clicked(std::move(clicked)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_clicked();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_clicked;
};

} // namespace

void TForm1::setupWeather() {
    connect(ui->btnWx, &QPushButton::clicked, this, &TForm1::btnWxClick);
    ui->Image2->installEventFilter(new PictureClick([this] { btnWxClick(); }, ui->Image2));
}

void TForm1::btnWxClick() {
    createOtherWindows();
    WeatherEntry entry = m_windows.frmWx->values();
    entry.metric = metric();
    m_windows.frmWx->setValues(entry);
    if (m_windows.frmWx->exec() != QDialog::Accepted)
        return;
    m_station->setMetric(m_windows.frmWx->values().metric);
    ui->Comment->setText(m_windows.frmWx->values().data);
}
