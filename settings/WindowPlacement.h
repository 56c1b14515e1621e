// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "settings/AppSettings.h"

#include <QMargins>
#include <QRect>

// The window's place moved and, if it must be, made smaller so that the window with its frame
// (`frame`: title bar and borders around the inside that `bounds` gives) lies wholly within
// `available`, the part of a screen not taken by panels. Left and top are those of the frame.
FormBounds wholeOnScreen(const FormBounds& bounds, QMargins frame, QRect available);
