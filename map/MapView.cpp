// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapView.h"

#include "map/MapPicture.h"
#include "map/MapSymbols.h"

#include <QFontMetrics>
#include <QLabel>

MapView::MapView(QWidget* parent) : PictureView(parent) {
    area()->setObjectName(QStringLiteral("MapArea"));
    picture()->setObjectName(QStringLiteral("Image1"));
    picture()->setCursor(Qt::ArrowCursor);
    m_symbols = new MapSymbols(area());
    connect(m_symbols, &MapSymbols::pictureClicked, this, &MapView::symbolClicked);
}

void MapView::showMap(QImage image, const MapCalibration& calibration) {
    const QSize size = image.size();
    showMap(std::move(image), size, 1, calibration);
}

void MapView::showMap(QImage image, QSize fullSize, int reduction,
                      const MapCalibration& calibration) {
    setPicture(std::move(image), fullSize, reduction);
    m_calibration = calibration;
    m_loaded = true;
    picture()->setCursor(Qt::PointingHandCursor);
}

void MapView::zoomApplied() {
    m_symbols->setZoom(zoom());
}

void MapView::track(int x, int y, bool picking) {
    if (!m_loaded) {
        picture()->setCursor(Qt::ArrowCursor);
        return;
    }
    picture()->setCursor(picking ? Qt::CrossCursor : Qt::PointingHandCursor);
    m_pointer = positionAt(m_calibration, x, y);
    emit readoutChanged(m_pointer.readout);
}

void MapView::showIdleCursor() {
    picture()->setCursor(m_loaded ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MapView::showPickingCursor() {
    picture()->setCursor(Qt::CrossCursor);
}

void MapView::endPicking() {
    for (int slot = 0; slot < 3; ++slot)
        m_symbols->setCursor(slot, Qt::ArrowCursor);
    showIdleCursor();
}

void MapView::placeSymbolAt(int slot, int x, int y) {
    m_symbols->place(slot, QPoint(x - 8, y - 8));
}

// The pointer readout must show whole in the panel's font: at 150 pixels the default font of
// many desktops cuts off the longitude's hemisphere letter. Built from the widest digit and
// letters so that no position reads wider than this.
int MapView::readoutWidth(const QLabel& panel) {
    const QFontMetrics metrics(panel.font());
    auto widest = [&](QLatin1String choices) {
        QChar best = QLatin1Char(choices[0]);
        for (char c : choices)
            if (metrics.horizontalAdvance(QLatin1Char(c)) > metrics.horizontalAdvance(best))
                best = QLatin1Char(c);
        return best;
    };
    const QString d(widest(QLatin1String("0123456789")));
    const QString ns(widest(QLatin1String("NS")));
    const QString ew(widest(QLatin1String("EW")));
    const QString sample = QStringLiteral("  ") + d + d + u'.' + d + d + u'.' + d + d + ns +
                           QStringLiteral("   ") + d + d + d + u'.' + d + d + u'.' + d + d + ew;
    // Frame, margins and the indent QLabel keeps beside a frame, plus a character to spare.
    return metrics.horizontalAdvance(sample) + 2 * panel.frameWidth() + 2 * panel.margin() +
           metrics.horizontalAdvance(QLatin1Char('x')) + metrics.averageCharWidth();
}
