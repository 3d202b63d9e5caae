#include "print/PrintTemplateFolder.h"

#include "base/AppPaths.h"
#include "print/PrintTemplate.h"

#include <QDir>
#include <QFileInfo>

namespace Orbisong {

namespace {

const QString Templates = QStringLiteral("templates");

} // namespace

QString PrintTemplateFolder::userFolder()
{
    return AppPaths::dataFolder() + QLatin1Char('/') + Templates;
}

QStringList PrintTemplateFolder::templateNames()
{
    QStringList names;
    for (const QString &folder :
         {userFolder(), AppPaths::shareFolder() + QLatin1Char('/') + Templates}) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QStringLiteral("*.obt")}, QDir::Files)) {
            if (!names.contains(name, Qt::CaseInsensitive) &&
                isPrintTemplateFile(dir.filePath(name)))
                names.append(name);
        }
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString PrintTemplateFolder::pathOf(const QString &name)
{
    if (name.contains(QLatin1Char('/')))
        return name;
    const QString own = userFolder() + QLatin1Char('/') + name;
    if (QFileInfo::exists(own))
        return own;
    return AppPaths::shippedFile(Templates + QLatin1Char('/') + name);
}

} // namespace Orbisong
