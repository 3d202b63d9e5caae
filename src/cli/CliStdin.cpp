#include "cli/CliStdin.h"

#include <QByteArray>

#include <cstdio>

namespace Orbisong::Cli {

bool readStdinLine(QString *line)
{
    QByteArray bytes;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n')
        bytes.append(char(c));
    if (c == EOF && bytes.isEmpty())
        return false;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    *line = QString::fromUtf8(bytes);
    return true;
}

} // namespace Orbisong::Cli
