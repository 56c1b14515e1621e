// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QImage>
#include <QWidget>

// The map picture, painted straight from the decoded image: a large map is held once (no
// pixmap beside it), and a scroll repaints only the strip that comes into view. At a zoom other
// than 1, or for a picture held smaller than its own size, each exposed strip is drawn scaled
// from the held pixels under it.
class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);

    // Shows `image` and takes its size at the zoom in effect; the pixels are shared, not copied.
    // A null image leaves an empty widget of no size.
    void setImage(QImage image);
    // The same for a picture of `fullSize` pixels held at 1 / reduction of that.
    void setImage(QImage image, QSize fullSize, int reduction);
    const QImage& image() const { return m_image; }
    QSize fullSize() const { return m_fullSize; }
    int reduction() const { return m_reduction; }

    // Screen pixels per full-size picture pixel; the widget takes the size that gives.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    QSize m_fullSize;
    int m_reduction = 1;
    double m_zoom = 1;
};
