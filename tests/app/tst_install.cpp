// `cmake --install` into a temporary prefix: the programs, the library with its header and
// pkg-config file, the shipped data, and the desktop's files, each where the desktop and the
// build tools look; the installed programs run from there.

#include "TestHome.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString output;
};

ProgramRun run(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(300000))
        return {-1, program + QStringLiteral(" did not run")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

class Install : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_prefix = new QTemporaryDir;
        s_result = new ProgramRun(
            run(QStringLiteral("cmake"), {QStringLiteral("--install"), TestHome::binaryDir(),
                                          QStringLiteral("--prefix"), s_prefix->path()}));
    }
    static void TearDownTestSuite()
    {
        delete s_result;
        delete s_prefix;
    }
    void SetUp() override { ASSERT_EQ(s_result->exitCode, 0) << s_result->output.toStdString(); }

    static QString path(const QString &relative) { return s_prefix->filePath(relative); }
    // The library folder: "lib" or Debian's multiarch "lib/<triplet>".
    static QString libDir()
    {
        const QString multiarch =
            run(QStringLiteral("gcc"), {QStringLiteral("-dumpmachine")}).output.trimmed();
        const QString debian = QStringLiteral("lib/") + multiarch;
        return QFileInfo::exists(path(debian)) ? debian : QStringLiteral("lib");
    }

    static QTemporaryDir *s_prefix;
    static ProgramRun *s_result;
};

QTemporaryDir *Install::s_prefix = nullptr;
ProgramRun *Install::s_result = nullptr;

} // namespace

TEST_F(Install, PutsEveryFileInItsPlace)
{
    const QString lib = libDir();
    for (const QString &file :
         {QStringLiteral("bin/orbisong"), QStringLiteral("bin/orbisong-cli"),
          QStringLiteral("bin/grabvid"), QStringLiteral("bin/ks32send"),
          lib + QStringLiteral("/libks32.so"), lib + QStringLiteral("/libks32.so.1"),
          QStringLiteral("include/ks32.h"), lib + QStringLiteral("/pkgconfig/ks32.pc"),
          QStringLiteral("share/orbisong/strings/orbisong.strings"),
          QStringLiteral("share/orbisong/help/index.html"),
          QStringLiteral("share/orbisong/scripts/examples"),
          QStringLiteral("share/applications/orbisong.desktop"),
          QStringLiteral("share/icons/hicolor/scalable/apps/orbisong.svg"),
          QStringLiteral("share/metainfo/org.orbisong.Orbisong.metainfo.xml"),
          QStringLiteral("share/man/man1/orbisong-cli.1.gz"),
          QStringLiteral("share/doc/orbisong/copyright")})
        EXPECT_TRUE(QFileInfo::exists(path(file))) << file.toStdString();
    EXPECT_FALSE(
        QFileInfo::exists(path(QStringLiteral("share/orbisong/pictures/make_pictures.cpp"))));
}

TEST_F(Install, TheInstalledCommandRunsFromThePrefix)
{
    const ProgramRun version =
        run(path(QStringLiteral("bin/orbisong-cli")), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.trimmed(), QStringLiteral("Orbisong 4.0.3"));
}

TEST_F(Install, TheDesktopAcceptsItsFiles)
{
    const ProgramRun desktop = run(QStringLiteral("desktop-file-validate"),
                                   {path(QStringLiteral("share/applications/orbisong.desktop"))});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output.toStdString();
    QFile entry(path(QStringLiteral("share/applications/orbisong.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("x-content/audio-cdda;"));

    const ProgramRun appstream =
        run(QStringLiteral("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"),
             path(QStringLiteral("share/metainfo/org.orbisong.Orbisong.metainfo.xml"))});
    EXPECT_EQ(appstream.exitCode, 0) << appstream.output.toStdString();

    const ProgramRun man =
        run(QStringLiteral("man"),
            {QStringLiteral("-l"), path(QStringLiteral("share/man/man1/orbisong-cli.1.gz"))}, [] {
                auto environment = QProcessEnvironment::systemEnvironment();
                environment.insert(QStringLiteral("MANPAGER"), QStringLiteral("cat"));
                environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
                return environment;
            }());
    EXPECT_EQ(man.exitCode, 0) << man.output.toStdString();
    EXPECT_TRUE(man.output.contains(QStringLiteral("EXIT STATUS")));
}

TEST_F(Install, AProgramBuildsAgainstTheInstalledLibrary)
{
    QTemporaryDir work;
    QFile source(work.filePath(QStringLiteral("use.cpp")));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write("#include <ks32.h>\nint main() { return &SendKeys == nullptr; }\n");
    source.close();
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PKG_CONFIG_PATH"),
                       path(libDir() + QStringLiteral("/pkgconfig")));
    const ProgramRun flags =
        run(QStringLiteral("pkg-config"),
            {QStringLiteral("--cflags"), QStringLiteral("--libs"), QStringLiteral("ks32")},
            environment);
    ASSERT_EQ(flags.exitCode, 0) << flags.output.toStdString();
    EXPECT_TRUE(flags.output.contains(s_prefix->path()));
    QStringList arguments{source.fileName(), QStringLiteral("-o"),
                          work.filePath(QStringLiteral("use"))};
    arguments += flags.output.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const ProgramRun compile = run(QStringLiteral("g++"), arguments);
    EXPECT_EQ(compile.exitCode, 0) << compile.output.toStdString();
}
