// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// Writes a greyscale baseline JPEG of width x height pixels (multiples of 8), mid grey with a
// black band down it from column bandLeft to bandRight (multiples of 8, right not included).
// The compressed blocks are written straight, without an encoder, so that a picture of
// hundreds of millions of pixels takes a moment and a few megabytes. False when the file
// could not be written.
bool writeBandedJpeg(const QString& path, int width, int height, int bandLeft, int bandRight);
