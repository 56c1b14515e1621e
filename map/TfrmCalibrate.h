// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/ReferencePoints.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <memory>

class Dialogs;
class QLabel;

namespace Ui {
class TfrmCalibrate;
}

// Calibrate Map: the picture of a map with no calibration, on which the user clicks two points
// far apart and types the position of each. OK writes the calibration file beside the picture
// and closes; points that cannot calibrate it, or a file that cannot be written, are said in a
// message and the dialog stays open with everything typed.
class TfrmCalibrate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCalibrate(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmCalibrate() override;

    // The picture to calibrate, of `fullSize` pixels held at 1 / reduction of that; its
    // calibration file goes to `calibrationPath`. The points start empty for another picture
    // and stay for the same one; the title box starts with `title`.
    void setPicture(const QString& calibrationPath, QImage image, QSize fullSize, int reduction,
                    const QString& title);
    // The points as clicked and typed.
    std::array<ReferencePoints::Point, 2> points() const;
    // The point 0 or 1 that the next click on the picture places.
    int pointShown() const;

    // A button released over the picture at full-size pixel (x, y).
    void PictureMouseUp(Qt::MouseButton button, int x, int y);
    void PictureMouseMove(int x, int y);
    void btnOKClick();

private:
    void showPoint(int index);

    std::unique_ptr<Ui::TfrmCalibrate> ui;
    Dialogs& m_dialogs;
    QString m_calibrationPath;
    std::array<std::optional<QPoint>, 2> m_pixels;
    std::array<QLabel*, 2> m_markers{};
};
