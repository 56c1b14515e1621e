// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapZoom.h"

#include "common/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace MapZoom {
namespace {

constexpr std::array<double, 9> Steps = {1.0 / 8, 1.0 / 6, 1.0 / 4, 1.0 / 3, 1.0 / 2,
                                         2.0 / 3, 1.0,     1.5,     2.0};
// A zoom read back from its 15-digit text is a hair off its step; it still counts as the step.
constexpr double Tolerance = 1e-9;

} // namespace

double clamp(double zoom) {
    if (!std::isfinite(zoom))
        return 1;
    return std::clamp(zoom, Smallest, Largest);
}

double stepIn(double zoom) {
    for (double step : Steps)
        if (step > zoom * (1 + Tolerance))
            return step;
    return Largest;
}

double stepOut(double zoom) {
    for (auto it = Steps.rbegin(); it != Steps.rend(); ++it)
        if (*it < zoom * (1 - Tolerance))
            return *it;
    return Smallest;
}

double fit(QSize picture, QSize view) {
    if (picture.isEmpty() || view.isEmpty())
        return 1;
    const double across = double(view.width()) / picture.width();
    const double down = double(view.height()) / picture.height();
    return clamp(std::min({across, down, Largest}));
}

QPoint pictureAt(QPointF at, double zoom, QSize picture) {
    const auto axis = [zoom](double screen, int size) {
        const double full = std::floor(screen / zoom);
        return int(std::clamp(full, 0.0, double(std::max(size - 1, 0))));
    };
    return {axis(at.x(), picture.width()), axis(at.y(), picture.height())};
}

QPoint screenAt(QPoint pixel, double zoom) {
    return {int(std::floor((pixel.x() + 0.5) * zoom)), int(std::floor((pixel.y() + 0.5) * zoom))};
}

QSize screenSize(QSize picture, double zoom) {
    // A part of a pixel at the edge still shows, and can still be clicked.
    return {int(std::ceil(picture.width() * zoom - Tolerance)),
            int(std::ceil(picture.height() * zoom - Tolerance))};
}

QString toText(double zoom) {
    return floatToStr(zoom);
}

std::optional<double> fromText(const QString& text) {
    const std::optional<double> zoom = tryStrToFloat(text);
    if (!zoom || *zoom < Smallest * (1 - Tolerance) || *zoom > Largest * (1 + Tolerance))
        return std::nullopt;
    return clamp(*zoom);
}

} // namespace MapZoom
