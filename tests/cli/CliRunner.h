#pragma once

#include <QString>
#include <QStringList>

// Runs orbisong-cli with a data folder and collects what it printed.
struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult runCli(const QString &home, const QStringList &arguments, const QByteArray &input = {});
