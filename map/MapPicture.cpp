// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapPicture.h"

#include <QPaintEvent>
#include <QPainter>

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {}

void MapPicture::setImage(QImage image) {
    m_image = std::move(image);
    // An opaque picture covers every pixel it is asked for, so the background need not be
    // filled first; a picture with transparent parts shows the background through them.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_image.isNull() && !m_image.hasAlphaChannel());
    resize(m_image.size());
    updateGeometry();
    update();
}

QSize MapPicture::sizeHint() const {
    return m_image.size();
}

void MapPicture::paintEvent(QPaintEvent* event) {
    if (m_image.isNull())
        return;
    QPainter painter(this);
    for (const QRect& exposed : event->region()) {
        const QRect part = exposed.intersected(m_image.rect());
        if (!part.isEmpty())
            painter.drawImage(part.topLeft(), m_image, part);
    }
}
