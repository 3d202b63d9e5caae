// The Debian package built from the tree: its dependencies computed from the programs, no
// lintian errors, installable on this system, and the packaged programs run.

#include "TestHome.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString output;
};

ProgramRun run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(300000))
        return {-1, program + QStringLiteral(" did not run")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

} // namespace

TEST(Package, BuildsInstallsAndRuns)
{
    QTemporaryDir work;
    const ProgramRun cpack =
        run(QStringLiteral("cpack"),
            {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), work.path(),
             QStringLiteral("--config"),
             QDir(TestHome::binaryDir()).filePath(QStringLiteral("CPackConfig.cmake"))});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.output.toStdString();
    const QStringList debs = QDir(work.path()).entryList({QStringLiteral("orbisong_*.deb")});
    ASSERT_EQ(debs.size(), 1);
    const QString deb = work.filePath(debs.constFirst());

    const ProgramRun depends =
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    const char *libraries[] = {"libqt6core6",       "libqt6dbus6", "libcdio19",
                               "libgstreamer1.0-0", "libxtst6",    "libstdc++6"};
    for (const char *library : libraries)
        EXPECT_TRUE(depends.output.contains(QLatin1String(library))) << library;

    // lintian ends with an error status only on errors; warnings are reported, not failed.
    const ProgramRun lintian = run(QStringLiteral("lintian"), {deb});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output.toStdString();
    EXPECT_FALSE(lintian.output.contains(QStringLiteral("E: "))) << lintian.output.toStdString();

    const ProgramRun install =
        run(QStringLiteral("apt-get"), {QStringLiteral("install"), QStringLiteral("--simulate"),
                                        QStringLiteral("--no-install-recommends"), deb});
    EXPECT_EQ(install.exitCode, 0) << install.output.toStdString();
    EXPECT_TRUE(install.output.contains(QStringLiteral("Inst orbisong")))
        << install.output.toStdString();

    const QString root = work.filePath(QStringLiteral("root"));
    ASSERT_EQ(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root}).exitCode, 0);
    const ProgramRun version =
        run(root + QStringLiteral("/usr/bin/orbisong-cli"), {QStringLiteral("--version")});
    EXPECT_EQ(version.output.trimmed(), QStringLiteral("Orbisong 4.0.3"));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/usr/share/applications/orbisong.desktop")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/usr/share/orbisong/help/index.html")));
}
