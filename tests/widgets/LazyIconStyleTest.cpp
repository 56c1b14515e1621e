// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/LazyIconStyle.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyleFactory>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains("/imageformats/");
}

TEST(LazyIconStyle, AMenuBarReadsNoPictureUntilItsOverflowButtonIsDrawn) {
    ASSERT_FALSE(imagePluginLoaded())
        << "something before this test read a picture, so it cannot tell what a menu bar reads";
    const QString before = QApplication::style()->name();
    QApplication::setStyle(new LazyIconStyle);
    {
        QMainWindow window;
        for (const char* title : {"File", "Map", "Objects", "Comms", "Weather", "Help"})
            window.menuBar()->addMenu(QString::fromLatin1(title));
        window.resize(620, 438);
        window.show();
        QApplication::processEvents();
        EXPECT_FALSE(imagePluginLoaded());

        // Too narrow for its menus: the overflow button shows the style's own icon.
        window.resize(90, 438);
        QApplication::processEvents();
        auto* overflow = window.menuBar()->findChild<QToolButton*>();
        ASSERT_TRUE(overflow);
        EXPECT_TRUE(overflow->isVisible());
        ASSERT_FALSE(overflow->icon().isNull());
        std::unique_ptr<QStyle> plain(QStyleFactory::create(before));
        const QImage expected =
            plain->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(overflow->icon().pixmap(16).toImage(), expected);
        window.grab();
    }
    QApplication::setStyle(QStyleFactory::create(before));
}

} // namespace
