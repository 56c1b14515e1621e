// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

// The value rounded to the nearest number with a 40-bit significand, the precision of the
// 6-byte reals that the weather arithmetic was defined with.
double real48(double value);
