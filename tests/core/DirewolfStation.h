// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "core/CoreFiles.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "support/Direwolf.h"
#include "support/ManualClock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

// A headless station in this process on a real Dire Wolf, its minutes given by the test: the
// station files of CoreFiles.h on Dire Wolf's AGW port, with `extraSettings` after them.
// Skipped where Dire Wolf is not installed.
class DirewolfStation : public ::testing::Test {
protected:
    void make(const QByteArray& extraSettings = {}, const QString& sentFolder = {}) {
        if (!direwolf.installed())
            GTEST_SKIP() << direwolf.error().toStdString();
        ASSERT_TRUE(direwolf.ready()) << direwolf.error().toStdString();
        files =
            std::make_unique<StationFiles>(QDir(dir.path()), QString::number(direwolf.agwPort()));
        StationFiles::write(files->settings, StationFiles::read(files->settings) + extraSettings);
        station = std::make_unique<HeadlessStation>(dialogs, clock, files->settings, sentFolder);
    }
    ~DirewolfStation() override { std::fclose(log); }

    Direwolf direwolf;
    QTemporaryDir dir;
    std::unique_ptr<StationFiles> files;
    ManualClock clock;
    std::FILE* log = std::tmpfile();
    HeadlessDialogs dialogs{clock, log};
    std::unique_ptr<HeadlessStation> station;
};
