// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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
                                      share + QStringLiteral("/man/man1/skyvane.1.gz")});
    ASSERT_TRUE(man.waitForFinished(30000));
    EXPECT_EQ(man.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(man.readAllStandardError()), QString());

    // Both services are units systemd takes, and the system one is fenced in tightly.
    if (QFile::exists(QStringLiteral("/usr/bin/systemd-analyze"))) {
        // Checked as they would stand installed at this prefix: their program there.
        QStringList units;
        for (const char* kind : {"system", "user"}) {
            QFile in(prefix + QStringLiteral("/lib/systemd/%1/skyvane.service").arg(kind));
            ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << kind;
            QString text = QString::fromUtf8(in.readAll());
            text.replace(QRegularExpression(QStringLiteral("ExecStart=\\S+/skyvane ")),
                         QStringLiteral("ExecStart=%1/bin/skyvane ").arg(prefix));
            QDir().mkpath(dir.filePath(QLatin1String(kind)));
            units << dir.filePath(QStringLiteral("%1/skyvane.service").arg(kind));
            QFile out(units.last());
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(text.toUtf8());
        }
        const QString system = units[0];
        QProcess verify;
        QProcessEnvironment manPath = QProcessEnvironment::systemEnvironment();
        manPath.insert(QStringLiteral("MANPATH"), share + QStringLiteral("/man"));
        verify.setProcessEnvironment(manPath);
        verify.setProcessChannelMode(QProcess::MergedChannels);
        verify.start(QStringLiteral("systemd-analyze"),
                     QStringList{QStringLiteral("verify")} + units);
        ASSERT_TRUE(verify.waitForFinished(60000));
        EXPECT_EQ(verify.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(verify.readAll()), QString());
        const Outcome security =
            run(QStringLiteral("systemd-analyze"),
                {QStringLiteral("security"), QStringLiteral("--offline=true"), system});
        const QRegularExpression level(QStringLiteral("Overall exposure level for "
                                                      "skyvane.service: ([0-9.]+)"));
        const auto match = level.match(security.out);
        ASSERT_TRUE(match.hasMatch()) << security.out.toStdString();
        EXPECT_LE(match.captured(1).toDouble(), 2.0) << security.out.toStdString();
    }

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

// The Debian package of this build: named by version and architecture, everything an
// installed copy has under /usr, its libraries named by dpkg-shlibdeps, its maintainer
// scripts, and (where lintian is installed) no error.
TEST(InstalledCopy, TheDebianPackageHoldsTheProgramItsFilesAndItsDependencies) {
    QTemporaryDir dir;
    const Outcome cpack = run(
        QStringLiteral("cpack"),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
         QStringLiteral(SKYVANE_BINARY_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), dir.path()},
        300000);
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out.toStdString();
    const QStringList debs = QDir(dir.path()).entryList({QStringLiteral("skyvane_*.deb")});
    ASSERT_EQ(debs.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^skyvane_[0-9.]+_[a-z0-9]+\\.deb$"))
                    .match(debs[0])
                    .hasMatch())
        << debs[0].toStdString();
    const QString deb = dir.filePath(debs[0]);
    const Outcome contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    for (const char* file :
         {"./usr/bin/skyvane", "./usr/libexec/skyvane/skyvane-station",
          "./usr/share/skyvane/skyvane.doc", "./usr/share/skyvane/maps/strait-of-dover.jpg",
          "./usr/share/applications/io.github.skyvane.Skyvane.desktop",
          "./usr/share/man/man1/skyvane.1.gz", "./usr/share/doc/skyvane/copyright",
          "./usr/lib/systemd/system/skyvane.service", "./usr/lib/systemd/user/skyvane.service"})
        EXPECT_TRUE(contents.out.contains(QLatin1String(file))) << file;
    const Outcome depends =
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    EXPECT_TRUE(depends.out.contains(QLatin1String("libqt6core6"))) << depends.out.toStdString();
    EXPECT_TRUE(depends.out.contains(QLatin1String("adduser"))) << depends.out.toStdString();
    const Outcome control = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), deb});
    EXPECT_TRUE(control.out.contains(QLatin1String("postinst"))) << control.out.toStdString();
    if (QFile::exists(QStringLiteral("/usr/bin/lintian"))) {
        const Outcome lintian = run(QStringLiteral("lintian"), {deb}, 300000);
        EXPECT_FALSE(QRegularExpression(QStringLiteral("^E: "), QRegularExpression::MultilineOption)
                         .match(lintian.out)
                         .hasMatch())
            << lintian.out.toStdString();
    }
}

} // namespace
