// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <csignal>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
};

Outcome run(const QString& program, const QStringList& args, int ms = 60000) {
    QProcess p;
    p.start(program, args);
    Outcome r;
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished();
        r.out = QStringLiteral("did not finish");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return r;
}

// `cmake --install` into a temporary prefix gives a copy that finds its guide and sample map
// there, keeps its settings in the user's configuration folder, and whose desktop entry,
// metainfo and manual page pass the checkers desktops and distributions use.
TEST(InstalledCopy, StartsFindsItsFilesAndSavesInTheUsersFolder) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("usr"));
    const Outcome install = run(QStringLiteral("cmake"),
                                {QStringLiteral("--install"), QStringLiteral(SKYVANE_BINARY_DIR),
                                 QStringLiteral("--prefix"), prefix});
    ASSERT_EQ(install.exitCode, 0) << install.out.toStdString();
    const QString share = prefix + QStringLiteral("/share");
    for (const char* file :
         {"/bin/skyvane", "/bin/skyvane-tnc-sim", "/libexec/skyvane/skyvane-station",
          "/share/skyvane/skyvane.doc", "/share/skyvane/tnc-sim-README.md",
          "/share/skyvane/maps/strait-of-dover.jpg", "/share/skyvane/maps/strait-of-dover.inf",
          "/share/icons/hicolor/scalable/apps/io.github.skyvane.Skyvane.svg"})
        EXPECT_TRUE(QFile::exists(prefix + QLatin1String(file))) << file;

    const QString desktop =
        share + QStringLiteral("/applications/io.github.skyvane.Skyvane.desktop");
    const Outcome desktopCheck = run(QStringLiteral("desktop-file-validate"), {desktop});
    EXPECT_EQ(desktopCheck.exitCode, 0) << desktopCheck.out.toStdString();
    EXPECT_EQ(desktopCheck.out.trimmed(), QString()) << desktopCheck.out.toStdString();
    const QString metainfo =
        share + QStringLiteral("/metainfo/io.github.skyvane.Skyvane.metainfo.xml");
    const Outcome metainfoCheck =
        run(QStringLiteral("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    EXPECT_EQ(metainfoCheck.exitCode, 0) << metainfoCheck.out.toStdString();
    QProcess man;
    man.setStandardOutputFile(QProcess::nullDevice());
    man.start(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"),
                                      share + QStringLiteral("/man/man1/skyvane.1")});
    ASSERT_TRUE(man.waitForFinished(30000));
    EXPECT_EQ(man.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(man.readAllStandardError()), QString());

    // The installed program, on its own for a user whose configuration folder is empty.
    const QString config = dir.filePath(QStringLiteral("config"));
    QProcess skyvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("HOME"), dir.path());
    env.remove(QStringLiteral("SKYVANE_SETTINGS"));
    env.insert(QStringLiteral("SKYVANE_INSTANCE"), QUuid::createUuid().toString(QUuid::Id128));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("skyvane.app.info=true"));
    skyvane.setProcessEnvironment(env);
    skyvane.setProcessChannelMode(QProcess::MergedChannels);
    skyvane.start(prefix + QStringLiteral("/bin/skyvane"), {});
    ASSERT_TRUE(skyvane.waitForStarted(10000));
    QString log;
    QDeadlineTimer deadline(30000);
    while (!log.contains(QLatin1String("main window shown")) && !deadline.hasExpired() &&
           skyvane.state() == QProcess::Running) {
        skyvane.waitForReadyRead(200);
        log += QString::fromUtf8(skyvane.readAll());
    }
    ASSERT_TRUE(log.contains(QLatin1String("main window shown"))) << log.toStdString();
    const QString settings = config + QStringLiteral("/skyvane/skyvane.ini");
    const QString map = config + QStringLiteral("/skyvane/maps/strait-of-dover.jpg");
    EXPECT_TRUE(log.contains(QStringLiteral("settings %1 ").arg(settings))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("map %1 ").arg(map))) << log.toStdString();
    EXPECT_TRUE(
        log.contains(QStringLiteral("help %1").arg(share + QStringLiteral("/skyvane/skyvane.doc"))))
        << log.toStdString();

    // Ended by the system (a desktop logging out): it saves, as a confirmed close does.
    ::kill(pid_t(skyvane.processId()), SIGTERM);
    ASSERT_TRUE(skyvane.waitForFinished(15000)) << log.toStdString();
    EXPECT_EQ(skyvane.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(skyvane.exitCode(), 0);
    QFile saved(settings);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << settings.toStdString();
    EXPECT_TRUE(saved.readAll().contains("strait-of-dover.jpg"));
    EXPECT_FALSE(QFile::exists(prefix + QStringLiteral("/bin/skyvane.ini")));
}

} // namespace
