// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QLabel>
#include <QObject>
#include <QPoint>

#include <array>

// A picture on the map that can be clicked: a symbol of one object, or its placeholder.
class SymbolPicture : public QLabel {
    Q_OBJECT
public:
    SymbolPicture(int slot, int index, QWidget* parent);
    int slot() const { return m_slot; }

signals:
    void clicked(SymbolPicture* picture);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Drawn when first shown: most of the 37 pictures never are, and drawing one from its
    // vector file while the window is being built delays the window.
    void showEvent(QShowEvent* event) override;

private:
    int m_slot;
    int m_index;
};

// The pictures and identifier labels of the three objects, standing on the map area above the
// map image. Each object has a placeholder (index 0, shown while the object has a place but no
// symbol), one picture per symbol it may carry (1..11, object 1 also 12, the weather station),
// a label shown while its beacon runs and one shown while it is stopped. All pictures of an
// object stand at the same place; at most one of them shows.
class MapSymbols : public QObject {
    Q_OBJECT
public:
    static constexpr int Placeholder = 0;
    static constexpr int LabelOffset = 24; // labels stand this far right of the pictures
    static constexpr int LabelHeight = 16;
    static constexpr int LabelCharWidth = 8;
    static constexpr int Hotspot = 8; // the marked point, this far right of and below the top-left

    // Creates every picture and label hidden on mapArea, named as the window's controls.
    explicit MapSymbols(QWidget* mapArea);

    // Index 0..12; null where the object has no such picture (objects 2 and 3 and index 12).
    SymbolPicture* picture(int slot, int index) const;
    QLabel* runningLabel(int slot) const { return m_running[size_t(slot)]; }
    QLabel* stoppedLabel(int slot) const { return m_stopped[size_t(slot)]; }
    // Top-left of the object's pictures, in full-size picture pixels.
    QPoint position(int slot) const { return m_positions[size_t(slot)]; }
    int pictureCount(int slot) const { return slot == 0 ? 13 : 12; }

    // Moves every picture of the object to topLeft (full-size picture pixels) and both labels
    // beside them.
    void place(int slot, QPoint topLeft);
    // The map is shown at another zoom: the pictures keep their size and stay on the map point
    // they mark, the one Hotspot pixels in from their top-left.
    void setZoom(double zoom);
    // Shows the picture of one index and hides the others; -1 hides them all.
    void showOnly(int slot, int index);
    // Sets both labels' text and width (8 pixels per character).
    void setLabelText(int slot, const QString& text);
    // Shows the running or the stopped label and hides the other.
    void showLabel(int slot, bool running);
    void hideLabels(int slot);
    // The index of the picture showing, -1 when none is.
    int shownIndex(int slot) const;
    void setCursor(int slot, Qt::CursorShape shape);

    // The pixmap of a symbol index (0 = placeholder, 21 x 21; others 20 x 20).
    static QPixmap symbolPixmap(int index);

signals:
    void pictureClicked(int slot, SymbolPicture* picture);

private:
    std::array<std::array<SymbolPicture*, 13>, 3> m_pictures{};
    std::array<QLabel*, 3> m_running{};
    std::array<QLabel*, 3> m_stopped{};
    std::array<QPoint, 3> m_positions{};
    double m_zoom = 1;
};
