// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QImage>
#include <QScrollArea>
#include <optional>

class MapPicture;

// A picture on a scrolling area, shown at a zoom from 1/8 to 2. Everything it reports or takes
// is in the picture's full-size pixels, whatever the zoom and whatever size the picture was
// decoded at: the pointer, clicks, scroll positions. Ctrl with the mouse wheel zooms about the
// pointer; the plain wheel scrolls.
class PictureView : public QScrollArea {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    MapPicture* picture() const { return m_picture; }
    // The widget the picture stands on, at its top-left; other widgets may stand on it too.
    QWidget* area() const { return m_area; }

    // A picture of `fullSize` pixels held at 1 / reduction of that, shown at the zoom in effect.
    void setPicture(QImage image, QSize fullSize, int reduction = 1);
    QSize pictureSize() const;

    double zoom() const { return m_zoom; }
    // Fit Window is in effect: the picture keeps fitting the view as the view is resized.
    bool fitting() const { return m_fitting; }
    // The zoom that shows each pixel held as one screen pixel: 1, or 1/2 to 1/8 for a picture
    // decoded smaller.
    double heldSize() const;
    // Zooms keeping the picture point under `anchor` (a point of the viewport; its middle when
    // none) where it is on screen. Ends Fit Window.
    void setZoom(double zoom, std::optional<QPoint> anchor = std::nullopt);
    void zoomIn(std::optional<QPoint> anchor = std::nullopt);
    void zoomOut(std::optional<QPoint> anchor = std::nullopt);
    void fitWindow();

    // The full-size pixel under a point of the area, and the area point showing a pixel's middle.
    QPoint pictureAt(QPointF areaPoint) const;
    QPoint areaPointOf(QPoint pixel) const;

    // The full-size pixel at the view's top-left, and scrolling to put one there.
    QPoint scrollPosition() const;
    void scrollTo(QPoint pixel);
    // Scrolls to put a full-size pixel in the middle of the view.
    void centreOn(QPoint pixel);

signals:
    void zoomChanged(double zoom);
    // The pointer over the picture, at full-size pixel (x, y).
    void pointerMoved(int x, int y);
    void released(Qt::MouseButton button, int x, int y);

protected:
    // After the picture changed its size on screen; things standing on the area move with it.
    virtual void zoomApplied() {}
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom(double zoom, QPoint anchor, bool fitting);

    QWidget* m_area = nullptr;
    MapPicture* m_picture = nullptr;
    double m_zoom = 1;
    bool m_fitting = false;
    int m_wheel = 0; // wheel turn not yet used, in eighths of a degree
};
