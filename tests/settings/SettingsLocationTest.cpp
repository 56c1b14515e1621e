// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/SettingsLocation.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsLocation, BesideTheProgramOrInTheUsersConfigFolder) {
    struct Row {
        const char* program;
        bool writable;
        const char* xdg;
        const char* expected;
    };
    const Row rows[] = {
        {"/home/op/skyvane/skyvane", true, "/home/op/.cfg", "/home/op/skyvane/skyvane.ini"},
        {"/home/op/sky/Skyvane.bin", true, "", "/home/op/sky/Skyvane.ini"},
        {"/usr/bin/skyvane", false, "/home/op/.cfg", "/home/op/.cfg/skyvane/skyvane.ini"},
        {"/usr/bin/skyvane", false, "", "/home/op/.config/skyvane/skyvane.ini"},
        // A relative XDG_CONFIG_HOME is to be ignored.
        {"/usr/bin/skyvane", false, "cfg", "/home/op/.config/skyvane/skyvane.ini"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(settingsPathFor(r.program, r.writable, r.xdg, "/home/op"), r.expected)
            << r.program << " " << r.xdg;
    EXPECT_EQ(besideProgram("/opt/sky/skyvane", ".doc"), "/opt/sky/skyvane.doc");
}

} // namespace
