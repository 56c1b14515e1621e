// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapPicture.h"

#include "map/MapZoom.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {}

void MapPicture::setImage(QImage image) {
    const QSize size = image.size();
    setImage(std::move(image), size, 1);
}

void MapPicture::setImage(QImage image, QSize fullSize, int reduction) {
    m_image = std::move(image);
    m_fullSize = m_image.isNull() ? QSize() : fullSize;
    m_reduction = std::max(reduction, 1);
    // An opaque picture covers every pixel it is asked for, so the background need not be
    // filled first; a picture with transparent parts shows the background through them.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_image.isNull() && !m_image.hasAlphaChannel());
    resize(sizeHint());
    updateGeometry();
    update();
}

void MapPicture::setZoom(double zoom) {
    m_zoom = MapZoom::clamp(zoom);
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize MapPicture::sizeHint() const {
    if (m_image.isNull())
        return {0, 0};
    return MapZoom::screenSize(m_fullSize, m_zoom);
}

void MapPicture::paintEvent(QPaintEvent* event) {
    if (m_image.isNull())
        return;
    QPainter painter(this);
    // Screen pixels per held pixel.
    const double scale = m_zoom * m_reduction;
    if (scale == 1) {
        for (const QRect& exposed : event->region()) {
            const QRect part = exposed.intersected(m_image.rect());
            if (!part.isEmpty())
                painter.drawImage(part.topLeft(), m_image, part);
        }
        return;
    }
    // Shrinking blends neighbouring pixels so thin lines stay; enlarging keeps them sharp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);
    for (const QRect& exposed : event->region()) {
        // The held pixels under the strip, one more each way for the blending, drawn where the
        // whole picture would put them: a strip repainted alone matches its neighbours.
        const int left = int(std::floor(exposed.left() / scale)) - 1;
        const int top = int(std::floor(exposed.top() / scale)) - 1;
        const int right = int(std::ceil((exposed.right() + 1) / scale)) + 1;
        const int bottom = int(std::ceil((exposed.bottom() + 1) / scale)) + 1;
        const QRect source =
            QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(m_image.rect());
        if (source.isEmpty())
            continue;
        painter.setClipRect(exposed);
        painter.drawImage(QRectF(source.x() * scale, source.y() * scale, source.width() * scale,
                                 source.height() * scale),
                          m_image, QRectF(source));
    }
}
