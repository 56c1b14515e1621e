// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void drawPlug(QPainter& p, QColor colour, bool apart) {
    p.setPen(QPen(colour.darker(150), 2));
    p.setBrush(colour);
    const int gap = apart ? 4 : 0;
    p.drawRect(QRectF(3, 8, 6 - gap / 2.0, 8));
    p.drawRect(QRectF(15 + gap / 2.0, 8, 6 - gap / 2.0, 8));
    p.drawLine(QPointF(1, 12), QPointF(3, 12));
    p.drawLine(QPointF(21, 12), QPointF(23, 12));
    p.setPen(QPen(colour.darker(150), 1.5));
    p.drawLine(QPointF(9 - gap / 2.0, 10), QPointF(15 + gap / 2.0, 10));
    if (!apart)
        p.drawLine(QPointF(9, 14), QPointF(15, 14));
}

} // namespace

QIcon toolbarIcon(ToolbarIcon which) {
    QPixmap pix(24, 24);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case ToolbarIcon::Connect:
        drawPlug(p, QColor(40, 160, 60), false);
        break;
    case ToolbarIcon::Disconnect:
        drawPlug(p, QColor(200, 50, 40), true);
        break;
    case ToolbarIcon::LoadMap: {
        p.setPen(QPen(QColor(120, 90, 20), 1.5));
        p.setBrush(QColor(240, 200, 90));
        QPainterPath folder;
        folder.moveTo(2, 6);
        folder.lineTo(9, 6);
        folder.lineTo(11, 8);
        folder.lineTo(22, 8);
        folder.lineTo(22, 20);
        folder.lineTo(2, 20);
        folder.closeSubpath();
        p.drawPath(folder);
        p.setPen(QPen(QColor(40, 110, 180), 1.5));
        p.drawLine(QPointF(6, 16), QPointF(11, 12));
        p.drawLine(QPointF(11, 12), QPointF(14, 15));
        p.drawLine(QPointF(14, 15), QPointF(18, 11));
        break;
    }
    case ToolbarIcon::Details:
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(2, 4, 20, 16));
        p.setBrush(QColor(90, 130, 200));
        p.drawRect(QRectF(2, 4, 7, 16));
        break;
    case ToolbarIcon::StopAll:
        p.setPen(QPen(QColor(130, 20, 20), 1.5));
        p.setBrush(QColor(210, 40, 40));
        p.drawRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
        break;
    case ToolbarIcon::Time:
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.drawLine(QPointF(12, 12), QPointF(12, 6));
        p.drawLine(QPointF(12, 12), QPointF(16, 14));
        break;
    }
    p.end();
    return QIcon(pix);
}
