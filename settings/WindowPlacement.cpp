// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/WindowPlacement.h"

#include <algorithm>

FormBounds wholeOnScreen(const FormBounds& bounds, QMargins frame, QRect available) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const int width = std::min(bounds.Width + frameWidth, available.width());
    const int height = std::min(bounds.Height + frameHeight, available.height());
    const int left =
        std::clamp(bounds.Left, available.left(), available.left() + available.width() - width);
    const int top =
        std::clamp(bounds.Top, available.top(), available.top() + available.height() - height);
    return {left, top, width - frameWidth, height - frameHeight};
}
