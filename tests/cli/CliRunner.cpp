#include "CliRunner.h"

#include "TestHome.h"

#include <QProcess>

CliResult runCli(const QString &home, const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(TestHome::program(QStringLiteral("orbisong-cli")),
                  QStringList({QStringLiteral("--home"), home}) + arguments);
    process.waitForStarted();
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
