// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/TfrmCalibrate.h"

#include "common/Dialogs.h"
#include "map/MapPicture.h"
#include "ui_TfrmCalibrate.h"

#include <QLoggingCategory>
#include <QPainter>

Q_LOGGING_CATEGORY(lcCalibrate, "skyvane.map.calibrate")

namespace {

// The marked point stands this far right of and below a marker's top-left.
constexpr int MarkerHotspot = 10;

// A red ring with a cross at its middle and the point's number beside it.
QPixmap markerPixmap(int number) {
    QPixmap pixmap(2 * MarkerHotspot + 16, 2 * MarkerHotspot + 1);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF middle(MarkerHotspot + 0.5, MarkerHotspot + 0.5);
    for (const auto& [colour, width] :
         {std::pair{QColor(Qt::white), 4.0}, std::pair{QColor(200, 0, 0), 2.0}}) {
        painter.setPen(QPen(colour, width));
        painter.drawEllipse(middle, 6, 6);
        painter.drawLine(middle - QPointF(MarkerHotspot, 0), middle - QPointF(3, 0));
        painter.drawLine(middle + QPointF(3, 0), middle + QPointF(MarkerHotspot, 0));
        painter.drawLine(middle - QPointF(0, MarkerHotspot), middle - QPointF(0, 3));
        painter.drawLine(middle + QPointF(0, 3), middle + QPointF(0, MarkerHotspot));
    }
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(200, 0, 0));
    painter.drawText(QRect(2 * MarkerHotspot + 2, 0, 14, 2 * MarkerHotspot + 1), Qt::AlignCenter,
                     QString::number(number));
    return pixmap;
}

} // namespace

TfrmCalibrate::TfrmCalibrate(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmCalibrate>()), m_dialogs(dialogs) {
    ui->setupUi(this);
    PictureView* view = ui->CalibrateView;
    view->area()->setObjectName(QStringLiteral("CalibrateArea"));
    view->picture()->setObjectName(QStringLiteral("CalibratePicture"));
    view->picture()->setCursor(Qt::CrossCursor);
    for (int k = 0; k < 2; ++k) {
        auto* marker = new QLabel(view->area());
        marker->setObjectName(QStringLiteral("Marker%1").arg(k + 1));
        marker->setPixmap(markerPixmap(k + 1));
        marker->resize(marker->pixmap().size());
        // Clicks go through to the picture under it.
        marker->setAttribute(Qt::WA_TransparentForMouseEvents);
        marker->hide();
        m_markers[size_t(k)] = marker;
    }
    connect(view, &PictureView::released, this, &TfrmCalibrate::PictureMouseUp);
    connect(view, &PictureView::pointerMoved, this, &TfrmCalibrate::PictureMouseMove);
    connect(view, &PictureView::zoomChanged, this, [this] {
        showPoint(0);
        showPoint(1);
    });
    connect(ui->btnZoomIn, &QPushButton::clicked, view, [view] { view->zoomIn(); });
    connect(ui->btnZoomOut, &QPushButton::clicked, view, [view] { view->zoomOut(); });
    connect(ui->btnFit, &QPushButton::clicked, view, &PictureView::fitWindow);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmCalibrate::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmCalibrate::~TfrmCalibrate() = default;

void TfrmCalibrate::setPicture(const QString& calibrationPath, QImage image, QSize fullSize,
                               int reduction, const QString& title) {
    if (calibrationPath != m_calibrationPath) {
        m_pixels = {};
        for (QLineEdit* box :
             {ui->edtLatitude1, ui->edtLongitude1, ui->edtLatitude2, ui->edtLongitude2})
            box->clear();
        ui->rbPoint1->setChecked(true);
    }
    m_calibrationPath = calibrationPath;
    ui->edtTitle->setText(title);
    ui->CalibrateView->setPicture(std::move(image), fullSize, reduction);
    // The whole picture first, so that two points far apart can be chosen at once.
    ui->CalibrateView->fitWindow();
    showPoint(0);
    showPoint(1);
}

std::array<ReferencePoints::Point, 2> TfrmCalibrate::points() const {
    return {
        ReferencePoints::Point{m_pixels[0], ui->edtLatitude1->text(), ui->edtLongitude1->text()},
        ReferencePoints::Point{m_pixels[1], ui->edtLatitude2->text(), ui->edtLongitude2->text()}};
}

int TfrmCalibrate::pointShown() const {
    return ui->rbPoint2->isChecked() ? 1 : 0;
}

void TfrmCalibrate::showPoint(int index) {
    QLabel* pixel = index == 0 ? ui->lblPixel1 : ui->lblPixel2;
    QLabel* marker = m_markers[size_t(index)];
    const std::optional<QPoint>& at = m_pixels[size_t(index)];
    if (!at) {
        pixel->setText(QStringLiteral("not placed"));
        marker->hide();
        return;
    }
    pixel->setText(QStringLiteral("x %1, y %2").arg(at->x()).arg(at->y()));
    marker->move(ui->CalibrateView->areaPointOf(*at) - QPoint(MarkerHotspot, MarkerHotspot));
    marker->show();
    marker->raise();
}

void TfrmCalibrate::PictureMouseMove(int x, int y) {
    ui->lblPointer->setText(QStringLiteral("Pointer at x %1, y %2").arg(x).arg(y));
}

void TfrmCalibrate::PictureMouseUp(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton)
        return;
    const int index = pointShown();
    m_pixels[size_t(index)] = QPoint(x, y);
    showPoint(index);
    // The position of the point just placed is typed next; then the other point is placed.
    (index == 0 ? ui->edtLatitude1 : ui->edtLatitude2)->setFocus();
    if (index == 0 && !m_pixels[1])
        ui->rbPoint2->setChecked(true);
}

void TfrmCalibrate::btnOKClick() {
    const ReferencePoints::Outcome outcome =
        ReferencePoints::solve(points(), ui->CalibrateView->pictureSize());
    if (!outcome.ok()) {
        m_dialogs.error(outcome.error);
        return;
    }
    QString message;
    if (!ReferencePoints::writeCalibrationFile(
            m_calibrationPath,
            ReferencePoints::calibrationFileBytes(outcome.corners, ui->edtTitle->text()),
            &message)) {
        m_dialogs.error(message);
        return;
    }
    qCInfo(lcCalibrate) << "calibration written to" << m_calibrationPath;
    accept();
}
