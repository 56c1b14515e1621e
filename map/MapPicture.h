// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QImage>
#include <QWidget>

// The map picture at full size, painted straight from the decoded image: a large map is held
// once (no pixmap beside it), and a scroll repaints only the strip that comes into view.
class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);

    // Shows `image` and takes its size; the pixels are shared, not copied. A null image
    // leaves an empty widget of no size.
    void setImage(QImage image);
    const QImage& image() const { return m_image; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
