#include "Installer.h"

#include "ArcwellPlatform.h"
#include "DesktopWindows.h"
#include "SetupStrings.h"
#include "ZipReader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSaveFile>

#include <cstdio>
#include <unistd.h>

namespace Orbisong {

namespace {

constexpr int FileManagerWaitMs = 2000;
constexpr int ShellExtensionFirstWaitMs = 500;
constexpr int ShellExtensionRetryMs = 1000;
constexpr int ShellExtensionAttempts = 15;
constexpr qint64 CopyChunk = 32768;

bool waitUntilFree(InstallerUi &ui, const QString &path, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!canOpenExclusively(path)) {
        if (deadline.hasExpired())
            return false;
        ui.wait(50);
    }
    return true;
}

// The folder of a program named in an "extensions" entry such as
// "/opt/arcwell/ARCWELL32.EXE ^.zip", when the program is the archiver's.
QString installationFolderOf(const QString &entry)
{
    QString program = entry.trimmed();
    const qsizetype caret = program.indexOf(QLatin1String(" ^"));
    if (caret >= 0)
        program = program.left(caret).trimmed();
    program.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype slash = program.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return {};
    if (!program.mid(slash + 1).startsWith(QLatin1String("arcwell"), Qt::CaseInsensitive))
        return {};
    return program.left(slash);
}

} // namespace

InstallerEnvironment InstallerEnvironment::forRunningProgram()
{
    InstallerEnvironment env;
    env.sourceFolder = QCoreApplication::applicationDirPath();
    env.setupProgram = QCoreApplication::applicationFilePath();
    env.lockFile =
        QDir::tempPath() + QStringLiteral("/arcwell-setup-%1.lock").arg(qulonglong(::getuid()));
    env.platformFolder = ArcwellPlatform::defaultFolder();
    env.windowExists = desktopWindowExists;
    env.startProgram = [](const QString &program, const QStringList &args, const QString &dir) {
        return QProcess::startDetached(program, args, dir);
    };
    return env;
}

Installer::Installer(InstallerEnvironment environment, InstallerUi &ui)
    : m_env(std::move(environment)), m_ui(ui)
{
}

const QStringList &Installer::looseFiles()
{
    static const QStringList names = {
        QStringLiteral("README.TXT"), QStringLiteral("ARCWELL.TXT"),  QStringLiteral("LICENSE.TXT"),
        QStringLiteral("VENDOR.TXT"), QStringLiteral("WHATSNEW.TXT"), QStringLiteral("FILE_ID.DIZ"),
        QStringLiteral("ORDER.TXT"),
    };
    return names;
}

QString Installer::temporaryProgramName()
{
    QString name = programName();
    name[name.size() - 1] = QLatin1Char('_');
    return name;
}

QString Installer::defaultDestination() const
{
    const QString folder =
        installationFolderOf(ArcwellPlatform(m_env.platformFolder).zipExtensionProgram());
    if (!folder.isEmpty())
        return folder;
    return QDir::homePath() + QStringLiteral("/Arcwell");
}

QString Installer::normalizedDestination(const QString &text)
{
    QString path = text.trimmed();
    if (path == QLatin1String("~"))
        path = QDir::homePath();
    else if (path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    return QDir::cleanPath(path);
}

void Installer::show(const QString &text)
{
    m_ui.showMessage(m_title, text, InstallerUi::Buttons::Ok);
}

void Installer::stop(const QString &text)
{
    if (!text.isEmpty())
        show(text);
    show(SetupStrings::text(SetupStrings::NotInstalled));
}

bool Installer::run()
{
    m_title = SetupStrings::text(SetupStrings::Title);
    const QString installing = SetupStrings::text(SetupStrings::Installing);

    QLockFile lock(m_env.lockFile);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        show(SetupStrings::text(SetupStrings::AlreadyRunning));
        return false;
    }
    if (m_env.windowExists && (m_env.windowExists(QStringLiteral("Arcwell2WClass")) ||
                               m_env.windowExists(QStringLiteral("ArcwellWClass")))) {
        show(SetupStrings::text(SetupStrings::ProductRunning));
        return false;
    }
    if (!unloadFileManagerExtension())
        return false;

    m_pendingError.clear();
    m_quietStop = false;
    bool failed = false;
    const auto result = m_ui.askDestination(defaultDestination(), [&](const QString &text) {
        const InstallerUi::Verdict verdict = acceptDestination(text);
        failed = verdict == InstallerUi::Verdict::Close && m_destination.isEmpty();
        return verdict;
    });
    if (result == InstallerUi::DestinationResult::Closed)
        return false;
    if (result == InstallerUi::DestinationResult::Cancelled) {
        stop({});
        return false;
    }
    if (m_quietStop)
        return false;
    if (failed) {
        stop(m_pendingError);
        return false;
    }

    m_ui.openProgress(installing, m_totalBytes);
    m_ui.setSource(m_env.sourceFolder);
    if (!copyLooseFiles() || !extractArchive() || !finalizeProgram()) {
        m_ui.closeProgress();
        stop(m_pendingError);
        return false;
    }
    m_ui.closeProgress();
    return startProduct();
}

InstallerUi::Verdict Installer::acceptDestination(const QString &text)
{
    m_destination.clear();
    const QString folder = normalizedDestination(text);
    if (folder.isEmpty()) {
        show(SetupStrings::text(SetupStrings::InvalidDestination));
        return InstallerUi::Verdict::StayOpen;
    }
    const QString source = QDir::cleanPath(m_env.sourceFolder);
    const QString canonicalSource = QFileInfo(source).canonicalFilePath();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    if (folder == source || (!canonicalFolder.isEmpty() && canonicalFolder == canonicalSource)) {
        show(SetupStrings::text(SetupStrings::SameAsSource));
        return InstallerUi::Verdict::StayOpen;
    }
    if (!checkSource())
        return InstallerUi::Verdict::Close;
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        m_pendingError = SetupStrings::format(SetupStrings::CannotCreateFolder, {folder});
        return InstallerUi::Verdict::Close;
    }
    m_destination = folder;
    if (!unloadShellExtension())
        m_destination.clear();
    return InstallerUi::Verdict::Close;
}

bool Installer::checkSource()
{
    const QFileInfo setupInfo(m_env.setupProgram);
    const qint64 stamp = setupInfo.lastModified().toSecsSinceEpoch();
    qint64 total = 0;
    for (const QString &name : looseFiles()) {
        const QFileInfo info(m_env.sourceFolder + QLatin1Char('/') + name);
        if (!info.isFile()) {
            m_pendingError = SetupStrings::format(SetupStrings::LooseFileMissing, {name});
            return false;
        }
        if (info.lastModified().toSecsSinceEpoch() != stamp) {
            m_pendingError = SetupStrings::format(SetupStrings::WrongTimeStamp, {name});
            return false;
        }
        total += info.size();
    }
    const QFileInfo archive(m_env.sourceFolder + QLatin1Char('/') + archiveName());
    if (!archive.isFile()) {
        m_pendingError = QStringLiteral("setup.aw is missing");
        return false;
    }
    m_totalBytes = total + archive.size();
    return true;
}

bool Installer::unloadFileManagerExtension()
{
    ArcwellPlatform platform(m_env.platformFolder);
    const QString extension = platform.fileManagerExtension();
    if (extension.isEmpty() || !m_env.windowExists ||
        !m_env.windowExists(QStringLiteral("WFS_Frame")))
        return true;
    // Without its entry the file manager drops the add-on the next time it looks, which
    // is what the install waits for.
    platform.removeFileManagerExtension();
    if (waitUntilFree(m_ui, extension, FileManagerWaitMs))
        return true;
    show(SetupStrings::text(SetupStrings::FileManagerStuck));
    return false;
}

bool Installer::unloadShellExtension()
{
    const QString extension = m_destination + QStringLiteral("/awshlext.dll");
    if (!QFileInfo::exists(extension) || waitUntilFree(m_ui, extension, ShellExtensionFirstWaitMs))
        return true;

    ArcwellPlatform platform(m_env.platformFolder);
    platform.setAlwaysUnloadDll();
    QString note = SetupStrings::text(SetupStrings::WaitForShellExtension);
    m_ui.setDestinationNote(note);
    m_ui.setBusy(true);
    bool free = false;
    for (int attempt = 0; attempt < ShellExtensionAttempts && !free; ++attempt) {
        m_ui.wait(ShellExtensionRetryMs);
        free = canOpenExclusively(extension);
        if (!free) {
            note += QLatin1Char('*');
            m_ui.setDestinationNote(note);
        }
    }
    m_ui.setBusy(false);
    if (free)
        return true;

    const int answer =
        m_ui.showMessage(m_title, SetupStrings::text(SetupStrings::ShellExtensionStuck),
                         InstallerUi::Buttons::YesNo);
    if (answer != InstallerUi::AnswerYes)
        return false;
    platform.removeShellExtensionRegistration();
    platform.disableShellExtension();
    show(SetupStrings::text(SetupStrings::ShellExtensionRemoved));
    m_quietStop = true;
    return false;
}

bool Installer::copyLooseFiles()
{
    for (const QString &name : looseFiles()) {
        bool cancelled = false;
        if (!copyFile(name, &cancelled))
            return false;
        if (cancelled)
            return false;
    }
    return true;
}

bool Installer::copyFile(const QString &name, bool *cancelled)
{
    const QString sourcePath = m_env.sourceFolder + QLatin1Char('/') + name;
    const QString targetPath = m_destination + QLatin1Char('/') + name;
    m_ui.setCurrentFile(name);
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        m_pendingError = SetupStrings::format(SetupStrings::CannotOpenInput, {sourcePath});
        return false;
    }
    // A link left at the target would make the copy land wherever it points.
    if (QFileInfo(targetPath).isSymLink())
        QFile::remove(targetPath);
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly)) {
        m_pendingError = SetupStrings::format(SetupStrings::CannotCreateOutput, {targetPath});
        return false;
    }
    // A cancel lets the file in hand finish, so no loose file is left half-copied.
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(CopyChunk);
        if (chunk.isEmpty() && source.error() != QFile::NoError) {
            m_pendingError = SetupStrings::format(SetupStrings::ReadError, {sourcePath});
            return false;
        }
        if (target.write(chunk) != chunk.size()) {
            m_pendingError = SetupStrings::format(SetupStrings::WriteError, {targetPath});
            return false;
        }
        if (!*cancelled && !m_ui.advance(chunk.size()))
            *cancelled = true;
    }
    if (!target.commit()) {
        m_pendingError = SetupStrings::format(SetupStrings::WriteError, {targetPath});
        return false;
    }
    return true;
}

bool Installer::extractArchive()
{
    ZipReader reader(m_env.sourceFolder + QLatin1Char('/') + archiveName(), m_destination);
    reader.setFileStartedHandler([this](const QString &name) { m_ui.setCurrentFile(name); });
    reader.setProgressHandler([this](qint64 bytes) { return m_ui.advance(bytes); });
    if (reader.extractAll())
        return true;
    m_pendingError = reader.errorMessage();
    return false;
}

bool Installer::finalizeProgram()
{
    const QString temporary = m_destination + QLatin1Char('/') + temporaryProgramName();
    const QString program = m_destination + QLatin1Char('/') + programName();
    const QString cannotWrite = SetupStrings::format(SetupStrings::CannotOpenForWriting, {program});
    // The old program stays in place until the new one is known to be able to replace it;
    // the rename then swaps them in one step.
    QFile extracted(temporary);
    const QFileInfo info(temporary);
    if (info.isSymLink() || !info.isFile() || !extracted.open(QIODevice::ReadOnly) ||
        QFileInfo(program).isDir()) {
        m_pendingError = cannotWrite;
        return false;
    }
    extracted.close();
    extracted.setPermissions(extracted.permissions() | QFile::ExeOwner | QFile::ExeGroup |
                             QFile::ExeOther);
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(program).constData()) != 0) {
        m_pendingError = cannotWrite;
        return false;
    }
    return true;
}

bool Installer::startProduct()
{
    QDir::setCurrent(m_destination);
    const QStringList args = {installSwitch()};
    if (m_env.startProgram(m_destination + QLatin1Char('/') + programName(), args, m_destination))
        return true;
    if (m_env.startProgram(programName(), args, m_destination))
        return true;
    show(SetupStrings::fill(QStringLiteral("Error running %s%s"),
                            {m_destination + QLatin1Char('/'), programName()}));
    return false;
}

} // namespace Orbisong
