#include "FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

namespace Orbisong::Fuzz {

QString scratchFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

} // namespace Orbisong::Fuzz
