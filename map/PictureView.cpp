// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PictureView.h"

#include "map/MapPicture.h"
#include "map/MapZoom.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {
// One notch of a mouse wheel; touchpads send it in smaller parts.
constexpr int WheelNotch = 120;
} // namespace

PictureView::PictureView(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_area = new QWidget;
    m_area->resize(16, 16);
    // The picture paints only the exposed part of the decoded rows, so a huge map is held once
    // and scrolls without repainting what is out of view.
    m_picture = new MapPicture(m_area);
    m_picture->setGeometry(0, 0, 16, 16);
    m_picture->setMouseTracking(true);
    m_picture->installEventFilter(this);
    setWidget(m_area);
}

void PictureView::setPicture(QImage image, QSize fullSize, int reduction) {
    m_picture->setImage(std::move(image), fullSize, reduction);
    m_picture->setZoom(m_zoom);
    m_picture->move(0, 0);
    m_area->resize(m_picture->size());
    zoomApplied();
}

QSize PictureView::pictureSize() const {
    return m_picture->fullSize();
}

double PictureView::heldSize() const {
    return MapZoom::clamp(1.0 / m_picture->reduction());
}

void PictureView::applyZoom(double zoom, QPoint anchor, bool fitting) {
    zoom = MapZoom::clamp(zoom);
    // The picture point under the anchor, in full-size pixels with their fractions.
    const QPointF under =
        (QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value()) + anchor) / m_zoom;
    const bool changed = zoom != m_zoom;
    m_zoom = zoom;
    m_fitting = fitting;
    m_picture->setZoom(zoom);
    m_area->resize(m_picture->size());
    zoomApplied();
    horizontalScrollBar()->setValue(int(std::lround(under.x() * zoom - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(under.y() * zoom - anchor.y())));
    if (changed)
        emit zoomChanged(zoom);
}

void PictureView::setZoom(double zoom, std::optional<QPoint> anchor) {
    applyZoom(zoom, anchor.value_or(viewport()->rect().center()), false);
}

void PictureView::zoomIn(std::optional<QPoint> anchor) {
    setZoom(MapZoom::stepIn(m_zoom), anchor);
}

void PictureView::zoomOut(std::optional<QPoint> anchor) {
    setZoom(MapZoom::stepOut(m_zoom), anchor);
}

void PictureView::fitWindow() {
    // Measured without scroll bars: a picture that fits needs none.
    applyZoom(MapZoom::fit(pictureSize(), maximumViewportSize()), {0, 0}, true);
}

QPoint PictureView::pictureAt(QPointF areaPoint) const {
    return MapZoom::pictureAt(areaPoint - m_picture->pos(), m_zoom, pictureSize());
}

QPoint PictureView::areaPointOf(QPoint pixel) const {
    return m_picture->pos() + MapZoom::screenAt(pixel, m_zoom);
}

QPoint PictureView::scrollPosition() const {
    return {int(std::lround(horizontalScrollBar()->value() / m_zoom)),
            int(std::lround(verticalScrollBar()->value() / m_zoom))};
}

void PictureView::scrollTo(QPoint pixel) {
    horizontalScrollBar()->setValue(int(std::lround(pixel.x() * m_zoom)));
    verticalScrollBar()->setValue(int(std::lround(pixel.y() * m_zoom)));
}

void PictureView::centreOn(QPoint pixel) {
    const QPoint middle = viewport()->rect().center();
    horizontalScrollBar()->setValue(int(std::lround(pixel.x() * m_zoom)) - middle.x());
    verticalScrollBar()->setValue(int(std::lround(pixel.y() * m_zoom)) - middle.y());
}

void PictureView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        m_wheel = 0;
        QScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    if (m_picture->image().isNull())
        return;
    m_wheel += event->angleDelta().y();
    const QPoint anchor = event->position().toPoint();
    while (m_wheel >= WheelNotch) {
        m_wheel -= WheelNotch;
        zoomIn(anchor);
    }
    while (m_wheel <= -WheelNotch) {
        m_wheel += WheelNotch;
        zoomOut(anchor);
    }
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_fitting)
        fitWindow();
}

bool PictureView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_picture)
        return QScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        const QPoint p =
            pictureAt(m_picture->mapTo(m_area, static_cast<QMouseEvent*>(event)->position()));
        emit pointerMoved(p.x(), p.y());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = pictureAt(m_picture->mapTo(m_area, mouse->position()));
        // The place is taken where the button comes up, even when no movement was reported
        // on the way there (a tap, or a click right after a key).
        emit pointerMoved(p.x(), p.y());
        emit released(mouse->button(), p.x(), p.y());
        return true;
    }
    return false;
}
