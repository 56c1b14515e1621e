// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "core/CoreFiles.h"
#include "links/LinkControl.h"
#include "station/HeadlessDialogs.h"
#include "station/HeadlessStation.h"
#include "station/Station.h"
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
    // Started, its link back within a second of a loss, every frame it hands over kept in
    // `records`, once its first report is on the air.
    void startRecording() {
        LinkControl& link = station->station().link();
        link.setRetryIntervals(200, 800, 200);
        QObject::connect(&link, &LinkControl::frameRecorded,
                         [this](const SentRecord& r) { records << r; });
        ASSERT_EQ(station->start(), std::nullopt);
        ASSERT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] G4ABC-1>APRS:;PARK     *061523z")))
            << direwolf.log().toStdString();
    }

    Direwolf direwolf;
    QTemporaryDir dir;
    std::unique_ptr<StationFiles> files;
    ManualClock clock;
    std::FILE* log = std::tmpfile();
    HeadlessDialogs dialogs{clock, log};
    std::unique_ptr<HeadlessStation> station;
    QList<SentRecord> records;
};
