// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapView.h"

#include "map/MapPicture.h"
#include "map/MapSymbols.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

MapView::MapView(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_area = new QWidget;
    m_area->setObjectName(QStringLiteral("MapArea"));
    m_area->resize(16, 16);
    // The picture paints only the exposed part of the decoded rows, so a huge map is held once
    // and scrolls without repainting what is out of view.
    m_picture = new MapPicture(m_area);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setGeometry(0, 0, 16, 16);
    m_picture->setMouseTracking(true);
    m_picture->setCursor(Qt::ArrowCursor);
    m_picture->installEventFilter(this);
    setWidget(m_area);
    m_symbols = new MapSymbols(m_area);
    connect(m_symbols, &MapSymbols::pictureClicked, this, &MapView::symbolClicked);
}

void MapView::showMap(QImage image, const MapCalibration& calibration) {
    const QSize size = image.size();
    m_picture->setImage(std::move(image));
    m_picture->setGeometry(QRect(QPoint(0, 0), size));
    m_area->resize(size);
    m_calibration = calibration;
    m_loaded = true;
    m_picture->setCursor(Qt::PointingHandCursor);
}

void MapView::track(int x, int y, bool picking) {
    if (!m_loaded) {
        m_picture->setCursor(Qt::ArrowCursor);
        return;
    }
    m_picture->setCursor(picking ? Qt::CrossCursor : Qt::PointingHandCursor);
    m_pointer = positionAt(m_calibration, x, y);
    emit readoutChanged(m_pointer.readout);
}

void MapView::showIdleCursor() {
    m_picture->setCursor(m_loaded ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MapView::showPickingCursor() {
    m_picture->setCursor(Qt::CrossCursor);
}

void MapView::endPicking() {
    for (int slot = 0; slot < 3; ++slot)
        m_symbols->setCursor(slot, Qt::ArrowCursor);
    showIdleCursor();
}

void MapView::placeSymbolAt(int slot, int x, int y) {
    m_symbols->place(slot, m_picture->pos() + QPoint(x - 8, y - 8));
}

QPoint MapView::scrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void MapView::scrollTo(QPoint position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

bool MapView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_picture)
        return QScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        emit pointerMoved(p.x(), p.y());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        // The place is taken where the button comes up, even when no movement was reported
        // on the way there (a tap, or a click right after a key).
        emit pointerMoved(p.x(), p.y());
        emit released(mouse->button(), p.x(), p.y());
        return true;
    }
    return false;
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
