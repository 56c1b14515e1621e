// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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

// An installed copy (bin/ beside share/skyvane/) keeps settings in the user's folder even when
// its own folder can be written, and finds its help document in share/skyvane/ unless one sits
// beside the program.
TEST(SettingsLocation, InstalledCopyUsesTheUsersFolderAndTheSharedHelp) {
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/usr");
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/share/skyvane")));
    const QString program = prefix + QStringLiteral("/bin/skyvane");
    EXPECT_EQ(installedDataFolder(program), prefix + QStringLiteral("/share/skyvane"));
    EXPECT_EQ(defaultSettingsPathFor(program, true, "/home/op/.cfg", "/home/op"),
              "/home/op/.cfg/skyvane/skyvane.ini");
    // A build folder or a copied program is not an installed copy.
    const QString loose = dir.path() + QStringLiteral("/build/skyvane");
    EXPECT_EQ(installedDataFolder(loose), QString());
    EXPECT_EQ(defaultSettingsPathFor(loose, true, "/home/op/.cfg", "/home/op"),
              dir.path() + QStringLiteral("/build/skyvane.ini"));

    const QString shared = prefix + QStringLiteral("/share/skyvane/skyvane.doc");
    EXPECT_EQ(helpDocumentPathFor(program), prefix + QStringLiteral("/bin/skyvane.doc"));
    QFile(shared).open(QIODevice::WriteOnly);
    EXPECT_EQ(helpDocumentPathFor(program), shared);
    QFile(prefix + QStringLiteral("/bin/skyvane.doc")).open(QIODevice::WriteOnly);
    EXPECT_EQ(helpDocumentPathFor(program), prefix + QStringLiteral("/bin/skyvane.doc"));
}

// The headless station is found where a build or an install puts it, and shares the settings of
// the window program it stands for.
TEST(SettingsLocation, TheHeadlessProgramAndItsWindowProgramFindEachOther) {
    QTemporaryDir dir;
    const auto program = [&](const QString& name) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    const QString installed = dir.filePath("usr/bin/skyvane");
    EXPECT_EQ(headlessProgramFor(installed), QString());
    const QString station = program("usr/libexec/skyvane/skyvane-station");
    EXPECT_EQ(headlessProgramFor(installed), station);
    EXPECT_EQ(windowProgramFor(station), installed);
    const QString build = program("build/skyvane-station");
    EXPECT_EQ(headlessProgramFor(dir.filePath("build/skyvane")), build);
    EXPECT_EQ(windowProgramFor(build), dir.filePath("build/skyvane"));
    // A file that cannot be run is not the station.
    QFile(build).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(headlessProgramFor(dir.filePath("build/skyvane")), QString());
}

} // namespace
