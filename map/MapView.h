// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/Calibration.h"
#include "map/PictureView.h"
#include "map/PositionText.h"

#include <QImage>

class MapSymbols;
class QLabel;
class SymbolPicture;

// The map area of the main window: the map picture ("Image1") on a scrolling area ("MapArea")
// at the zoom chosen, the objects' symbols and labels above it, the calibration of the map
// showing and the position under the pointer. It reports what the pointer does over the
// picture in full-size picture pixels; what a click means is the window's business.
class MapView : public PictureView {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    MapSymbols* symbols() const { return m_symbols; }

    // A decoded picture and its calibration become the map showing.
    void showMap(QImage image, const MapCalibration& calibration);
    // The same for a picture of `fullSize` pixels held at 1 / reduction of that; the
    // calibration counts full-size pixels.
    void showMap(QImage image, QSize fullSize, int reduction, const MapCalibration& calibration);
    bool loaded() const { return m_loaded; }
    const MapCalibration& calibration() const { return m_calibration; }
    // The position under the pointer at its last movement.
    const MapPosition& pointer() const { return m_pointer; }

    // The pointer at picture pixel (x, y): its position read, the cursor showing whether a
    // click would place an object. Nothing is read without a map.
    void track(int x, int y, bool picking);
    // The picture's cursor when no object is being placed.
    void showIdleCursor();
    // An object's picture was chosen: the next click on the map places it.
    void showPickingCursor();
    // A key or a right click: no object is being placed any more.
    void endPicking();
    // A click at picture pixel (x, y) puts the symbol of object `slot` there (its top-left
    // 8 pixels up and left of the point).
    void placeSymbolAt(int slot, int x, int y);

    // The width a status panel needs to show any pointer readout whole in its font.
    static int readoutWidth(const QLabel& panel);

signals:
    void readoutChanged(const QString& text);
    // A symbol picture of object `slot` was clicked.
    void symbolClicked(int slot, SymbolPicture* picture);

protected:
    void zoomApplied() override;

private:
    MapSymbols* m_symbols = nullptr;
    MapCalibration m_calibration;
    MapPosition m_pointer;
    bool m_loaded = false;
};
