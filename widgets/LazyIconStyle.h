// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QProxyStyle>

// Every menu bar asks the style for its overflow button's icon when it is built, and the style
// reads that icon from a picture file, which makes Qt load each image-format plug-in in turn to
// find one that knows the file: some 3 ms of every start-up, for a button that only appears
// when the window is too narrow for its menus. This style hands out the toolbar and menu bar
// overflow icons as icons that ask the application's own style for the real one when first
// drawn or measured; everything else is the application's style unchanged.
class LazyIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
