#pragma once

#include "InstallerUi.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace Orbisong {

// Where the installer looks for things; the defaults describe the running program.
struct InstallerEnvironment
{
    // The installation disk: the folder of the running setup program.
    QString sourceFolder;
    // The setup program itself, whose time stamp every loose file must carry.
    QString setupProgram;
    // The lock that keeps a second setup from running at the same time.
    QString lockFile;
    // Stand-ins for the original platform's profile files and registry; its "win.ini" may
    // record an existing installation.
    QString platformFolder;
    // Whether a top-level window of the class exists on the desktop.
    std::function<bool(const QString &)> windowExists;
    // Starts a program detached in a working folder; false when it could not be started.
    std::function<bool(const QString &, const QStringList &, const QString &)> startProgram;

    static InstallerEnvironment forRunningProgram();
};

// The install sequence: checks, destination, loose files, the archive, the main program and
// its start.
class Installer
{
public:
    Installer(InstallerEnvironment environment, InstallerUi &ui);

    // Runs the whole sequence; true when the product was installed and started.
    bool run();

    static const QStringList &looseFiles();
    static QString archiveName() { return QStringLiteral("setup.aw"); }
    static QString programName() { return QStringLiteral("ARCWELL32.EXE"); }
    // The program as the archive carries it: its last character replaced by "_".
    static QString temporaryProgramName();
    static QString installSwitch() { return QStringLiteral("/installS"); }

    // "~/Arcwell", or the folder of an installation recorded in the platform's profile.
    QString defaultDestination() const;
    // The folder for the typed text: "~" expanded, cleaned, without a trailing separator;
    // empty when the text is not an absolute path.
    static QString normalizedDestination(const QString &text);

private:
    InstallerUi::Verdict acceptDestination(const QString &text);
    bool checkSource();
    bool unloadFileManagerExtension();
    bool unloadShellExtension();
    bool copyLooseFiles();
    bool copyFile(const QString &name, bool *cancelled);
    bool extractArchive();
    bool finalizeProgram();
    bool startProduct();
    void show(const QString &text);
    void stop(const QString &text);

    InstallerEnvironment m_env;
    InstallerUi &m_ui;
    QString m_title;
    QString m_destination;
    qint64 m_totalBytes = 0;
    // A failure after the destination was accepted; shown when the dialog has closed.
    QString m_pendingError;
    bool m_quietStop = false;
};

} // namespace Orbisong
