// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "app/TForm1.h"
#include "links/LinkControl.h"
#include "support/ManualClock.h"
#include "support/TestDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// The station and link settings change where they live, in the window's link control.
inline void editStation(TForm1& form, const std::function<void(StationSettings&)>& change) {
    StationSettings station = form.station();
    change(station);
    form.link()->setStation(station);
}
inline void editLink(TForm1& form, const std::function<void(LinkSettings&)>& change) {
    LinkSettings link = form.linkSettings();
    change(link);
    form.link()->setLinkSettings(link);
}

// Starts the real main window on settings and help files in a temporary folder.
class MainWindowFixture : public ::testing::Test {
protected:
    QString iniPath() const { return m_dir.filePath(QStringLiteral("skyvane.ini")); }
    QString docPath() const { return m_dir.filePath(QStringLiteral("skyvane.doc")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString sentFolder() const { return path(QStringLiteral("state/sent")); }

    void writeIni(const QByteArray& text) {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readIni() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TForm1& start(const QString& ini = {}) {
        const bool newStation = !QFile::exists(ini.isEmpty() ? iniPath() : ini);
        m_form = std::make_unique<TForm1>(m_dialogs, m_clock, ini.isEmpty() ? iniPath() : ini,
                                          docPath(), nullptr, sentFolder());
        m_form->findChild<QTimer*>("CloseTimer")->setInterval(10);
        m_form->show();
        m_form->createOtherWindows();
        // The frames these tests compare go out without a path; a new station's own path is
        // tested where it is the point.
        if (newStation && !m_newStationPath)
            editStation(*m_form, [](StationSettings& s) {
                s.Unproto = 0;
                s.UnprotoPath.clear();
                s.LinkPath.clear();
            });
        return *m_form;
    }
    // Closes the window as the user would; true when it really closed.
    bool closeWindow() { return m_form->close(); }
    void restart() {
        m_form.reset();
        start();
    }

    template <class T> T* find(const char* name) const {
        return m_form->findChild<T*>(QLatin1String(name));
    }

    QTemporaryDir m_dir;
    TestDialogs m_dialogs;
    ManualClock m_clock;
    std::unique_ptr<TForm1> m_form;
    bool m_newStationPath = false; // a start without a settings file keeps its own path
};
