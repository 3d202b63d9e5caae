#include "ArcwellPlatform.h"
#include "InstallDiskFixture.h"
#include "Installer.h"
#include "RegistryFile.h"
#include "SetupStrings.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Orbisong;

namespace {

// Answers the installer in-process and records what it was shown.
class RecordingUi : public InstallerUi
{
public:
    QStringList destinations;
    QStringList answers;
    QStringList messages;
    QStringList notes;
    int waits = 0;
    bool busy = false;
    std::function<void(int)> onWait;

    int showMessage(const QString &, const QString &text, Buttons buttons) override
    {
        messages << text;
        if (buttons == Buttons::Ok)
            return AnswerOk;
        return !answers.isEmpty() && answers.takeFirst() == QLatin1String("no") ? AnswerNo
                                                                                : AnswerYes;
    }
    DestinationResult askDestination(const QString &folder,
                                     const std::function<Verdict(const QString &)> &onOk) override
    {
        offered = folder;
        while (!destinations.isEmpty()) {
            if (onOk(destinations.takeFirst()) == Verdict::Close)
                return DestinationResult::Accepted;
        }
        return DestinationResult::Cancelled;
    }
    void setDestinationNote(const QString &text) override { notes << text; }
    void setBusy(bool value) override { busy = value; }
    // Counts the one-second retries only, not the short polls between them.
    void wait(int milliseconds) override
    {
        if (milliseconds < 1000)
            return;
        ++waits;
        if (onWait)
            onWait(waits);
    }
    void openProgress(const QString &, qint64) override {}
    void setSource(const QString &) override {}
    void setCurrentFile(const QString &) override {}
    bool advance(qint64) override { return true; }
    void closeProgress() override {}

    QString offered;
};

// Holds a file the way a running program holds its loaded module.
class HeldFile
{
public:
    explicit HeldFile(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("module");
        file.close();
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        ::flock(m_fd, LOCK_EX);
    }
    ~HeldFile() { release(); }
    void release()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

class setupInstaller : public ::testing::Test
{
protected:
    setupInstaller() : m_disk(path("disk"), {}, path("record.txt"))
    {
        QDir().mkpath(path("platform"));
        EXPECT_TRUE(m_disk.build());
        m_env.sourceFolder = m_disk.folder();
        m_env.setupProgram = m_disk.setupPath();
        m_env.lockFile = path("setup.lock");
        m_env.platformFolder = path("platform");
        m_env.windowExists = [this](const QString &name) { return m_windows.contains(name); };
        m_env.startProgram = [this](const QString &program, const QStringList &args,
                                    const QString &folder) {
            m_started << program << args << folder;
            return true;
        };
    }

    QString path(const char *name) const { return m_root.filePath(QString::fromLatin1(name)); }
    QString destination() const { return path("dest"); }

    bool run()
    {
        Installer installer(m_env, m_ui);
        return installer.run();
    }

    QTemporaryDir m_root;
    InstallDiskFixture m_disk;
    InstallerEnvironment m_env;
    RecordingUi m_ui;
    QStringList m_windows;
    QStringList m_started;
};

TEST_F(setupInstaller, RunningProductRefusesTheInstallation)
{
    for (const QString &window :
         {QStringLiteral("ArcwellWClass"), QStringLiteral("Arcwell2WClass")}) {
        m_windows = {window};
        m_ui.messages.clear();
        m_ui.destinations = {destination()};
        EXPECT_FALSE(run());
        EXPECT_EQ(m_ui.messages, QStringList{SetupStrings::text(1022)});
        EXPECT_EQ(m_ui.destinations.size(), 1);
    }
    m_windows.clear();
    m_ui.messages.clear();
    EXPECT_TRUE(run());
    EXPECT_TRUE(m_ui.messages.isEmpty());
    EXPECT_EQ(m_started, QStringList({destination() + QStringLiteral("/ARCWELL32.EXE"),
                                      QStringLiteral("/installS"), destination()}));
}

TEST_F(setupInstaller, InstallationRecordedOnThePlatformIsOffered)
{
    const QString profile = path("platform") + QStringLiteral("/win.ini");
    auto offeredFor = [&](const QByteArray &content) {
        writeFile(profile, content);
        m_ui.destinations = {destination()};
        EXPECT_TRUE(run());
        return m_ui.offered;
    };
    const QString fallback = QDir::homePath() + QStringLiteral("/Arcwell");

    m_ui.destinations = {destination()};
    EXPECT_TRUE(run());
    EXPECT_EQ(m_ui.offered, fallback);
    EXPECT_FALSE(QFileInfo::exists(profile));

    EXPECT_EQ(offeredFor("[Extensions]\r\nZIP=/opt/Arcwell 2/Arcwell32.exe ^.zip\r\n"),
              QStringLiteral("/opt/Arcwell 2"));
    EXPECT_EQ(offeredFor("[extensions]\nzip=C:\\ARCWELL\\ARCWELL32.EXE ^.ZIP\n"),
              QStringLiteral("C:/ARCWELL"));
    EXPECT_EQ(offeredFor("[windows]\nload=\n[extensions]\ntxt=notepad.exe ^.txt\n"
                         "zip=/usr/bin/unzip ^.zip\n"),
              fallback);
    EXPECT_EQ(offeredFor("[extensions]\nzip=ARCWELL32.EXE ^.zip\n"), fallback);
    // The entry must be in its own section.
    EXPECT_EQ(offeredFor("[extensions]\ntxt=notepad.exe ^.txt\n"
                         "[programs]\nzip=/opt/arcwell/ARCWELL32.EXE ^.zip\n"),
              fallback);
    EXPECT_EQ(offeredFor("[windows]\nzip=/opt/arcwell/ARCWELL32.EXE ^.zip\n"), fallback);
}

TEST_F(setupInstaller, FileManagerAddOnIsRemovedAndWaitedFor)
{
    const QString addOn = path("platform") + QStringLiteral("/awfm.dll");
    auto writeEntry = [&] {
        QSettings profile(path("platform") + QStringLiteral("/winfile.ini"), QSettings::IniFormat);
        profile.setValue(QStringLiteral("AddOns/Arcwell"), addOn);
    };
    auto entry = [&] { return ArcwellPlatform(path("platform")).fileManagerExtension(); };

    // Without a file manager running the entry stays and nothing waits.
    writeEntry();
    m_ui.destinations = {destination()};
    EXPECT_TRUE(run());
    EXPECT_EQ(entry(), addOn);

    m_windows = {QStringLiteral("WFS_Frame")};
    {
        HeldFile held(addOn);
        m_ui.messages.clear();
        m_ui.destinations = {destination()};
        EXPECT_FALSE(run());
        EXPECT_EQ(m_ui.messages, QStringList{SetupStrings::text(1044)});
        EXPECT_TRUE(SetupStrings::text(1044).endsWith(QStringLiteral("run Setup again.")));
        EXPECT_TRUE(entry().isEmpty());
    }

    writeEntry();
    m_ui.messages.clear();
    m_ui.destinations = {destination()};
    EXPECT_TRUE(run());
    EXPECT_TRUE(m_ui.messages.isEmpty());
    EXPECT_TRUE(entry().isEmpty());
}

class setupShellExtension : public setupInstaller
{
protected:
    setupShellExtension()
    {
        QDir().mkpath(destination());
        m_held = std::make_unique<HeldFile>(destination() + QStringLiteral("/awshlext.dll"));
        RegistryFile registry(path("platform") + QStringLiteral("/registry.ini"),
                              QStringLiteral("HKEY_CLASSES_ROOT"));
        for (const char *id : ArcwellPlatform::ShellExtensionClassIds)
            registry.writeString(QStringLiteral("CLSID/") + QLatin1String(id),
                                 QStringLiteral("Default"), QStringLiteral("Arcwell"));
        registry.writeString(QStringLiteral("*/shellex/ContextMenuHandlers/Arcwell"),
                             QStringLiteral("Default"), QStringLiteral("x"));
        registry.writeString(QStringLiteral("Folder/shellex/DragDropHandlers/Arcwell"),
                             QStringLiteral("Default"), QStringLiteral("x"));
        registry.writeString(QStringLiteral("Folder/shellex/DragDropHandlers/Other"),
                             QStringLiteral("Default"), QStringLiteral("kept"));
        registry.sync();
        m_ui.destinations = {destination()};
    }

    RegistryFile registry(const char *root) const
    {
        return RegistryFile(path("platform") + QStringLiteral("/registry.ini"),
                            QString::fromLatin1(root));
    }

    // The "Default" value every key of the extension was given; empty once the key is gone.
    static QString defaultValue(const RegistryFile &file, const QString &key)
    {
        return file.readString(key, QStringLiteral("Default"), QString());
    }

    std::unique_ptr<HeldFile> m_held;
};

TEST_F(setupShellExtension, StuckExtensionCanBeUnregistered)
{
    m_ui.answers = {QStringLiteral("yes")};
    EXPECT_FALSE(run());
    EXPECT_EQ(m_ui.messages, QStringList({SetupStrings::text(1039), SetupStrings::text(1046)}));
    EXPECT_EQ(m_ui.waits, 15);
    EXPECT_EQ(m_ui.notes.last(), SetupStrings::text(1029) + QString(15, QLatin1Char('*')));
    EXPECT_FALSE(m_ui.busy);

    const RegistryFile classes = registry("HKEY_CLASSES_ROOT");
    for (const char *id : ArcwellPlatform::ShellExtensionClassIds)
        EXPECT_TRUE(defaultValue(classes, QStringLiteral("CLSID/") + QLatin1String(id)).isEmpty());
    EXPECT_TRUE(
        defaultValue(classes, QStringLiteral("*/shellex/ContextMenuHandlers/Arcwell")).isEmpty());
    EXPECT_TRUE(
        defaultValue(classes, QStringLiteral("Folder/shellex/DragDropHandlers/Arcwell")).isEmpty());
    EXPECT_EQ(defaultValue(classes, QStringLiteral("Folder/shellex/DragDropHandlers/Other")),
              QStringLiteral("kept"));
    EXPECT_EQ(
        registry("HKEY_LOCAL_MACHINE")
            .readString(QStringLiteral(
                            "SOFTWARE/Microsoft/Windows/CurrentVersion/Explorer/AlwaysUnloadDLL"),
                        QStringLiteral("Default"), QString()),
        QStringLiteral("1"));
    QSettings product(path("platform") + QStringLiteral("/arcwell32.ini"), QSettings::IniFormat);
    EXPECT_EQ(product.value(QStringLiteral("fm/shlExt")).toString(), QStringLiteral("0"));
    EXPECT_FALSE(QFileInfo::exists(destination() + QStringLiteral("/README.TXT")));
    EXPECT_TRUE(m_started.isEmpty());
}

TEST_F(setupShellExtension, DecliningEndsNotInstalled)
{
    m_ui.answers = {QStringLiteral("no")};
    EXPECT_FALSE(run());
    EXPECT_EQ(m_ui.messages, QStringList({SetupStrings::text(1039), SetupStrings::text(1006)}));
    EXPECT_EQ(defaultValue(registry("HKEY_CLASSES_ROOT"),
                           QStringLiteral("CLSID/") +
                               QLatin1String(ArcwellPlatform::ShellExtensionClassIds[0])),
              QStringLiteral("Arcwell"));
}

TEST_F(setupShellExtension, ExtensionThatUnloadsLetsTheInstallGoOn)
{
    m_ui.onWait = [this](int count) {
        if (count == 3)
            m_held->release();
    };
    EXPECT_TRUE(run());
    EXPECT_TRUE(m_ui.messages.isEmpty());
    EXPECT_EQ(m_ui.notes.last(), SetupStrings::text(1029) + QStringLiteral("**"));
    EXPECT_TRUE(QFileInfo::exists(destination() + QStringLiteral("/ARCWELL32.EXE")));
}

TEST(setupDestination, NormalisesTypedFolders)
{
    const QString home = QDir::homePath();
    EXPECT_EQ(Installer::normalizedDestination(QStringLiteral("~")), home);
    EXPECT_EQ(Installer::normalizedDestination(QStringLiteral("~/Arcwell/")),
              home + QStringLiteral("/Arcwell"));
    EXPECT_EQ(Installer::normalizedDestination(QStringLiteral("/opt//arcwell/./x/..")),
              QStringLiteral("/opt/arcwell"));
    EXPECT_EQ(Installer::normalizedDestination(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_TRUE(Installer::normalizedDestination(QStringLiteral("Arcwell")).isEmpty());
    EXPECT_TRUE(Installer::normalizedDestination(QStringLiteral("~other/Arcwell")).isEmpty());
    EXPECT_TRUE(Installer::normalizedDestination(QStringLiteral("D:")).isEmpty());
    EXPECT_TRUE(Installer::normalizedDestination(QString()).isEmpty());
}

} // namespace
