// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>
#include <optional>

// How the map picture is scaled on screen. A zoom of 1 shows each pixel of the picture file as
// one pixel of the screen; positions, symbol places and scroll positions are always counted in
// those full-size picture pixels, whatever the zoom and whatever size the picture was decoded at.
namespace MapZoom {

inline constexpr double Smallest = 0.125;
inline constexpr double Largest = 2.0;

// Zoom In and Zoom Out step along 1/8, 1/6, 1/4, 1/3, 1/2, 2/3, 1, 3/2 and 2; from a zoom in
// between (after Fit Window) they go to the next step in their direction.
double stepIn(double zoom);
double stepOut(double zoom);
// Within Smallest..Largest; anything that is not a finite number gives 1.
double clamp(double zoom);
// The largest zoom that shows the whole picture in `view` pixels, within Smallest..Largest.
double fit(QSize picture, QSize view);

// The full-size picture pixel that the screen point `at` (relative to the picture's top-left
// on screen) lies on, kept within the picture.
QPoint pictureAt(QPointF at, double zoom, QSize picture);
// The screen pixel that shows the middle of full-size pixel `pixel`.
QPoint screenAt(QPoint pixel, double zoom);
// The size the picture takes on screen.
QSize screenSize(QSize picture, double zoom);

// The zoom as the objects file keeps it: shortest decimal text, "." as decimal point in every
// language ("0.25", "1", "0.666666666666667").
QString toText(double zoom);
// A zoom read back; nothing for a text that is no number or lies outside Smallest..Largest.
std::optional<double> fromText(const QString& text);

} // namespace MapZoom
