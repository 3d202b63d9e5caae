#include "export/TemplateList.h"

#include "base/AppPaths.h"
#include "cddb/CddbEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Orbisong {

bool isTemplateFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.readLine(256).trimmed().compare("HTML", Qt::CaseInsensitive) == 0;
}

QList<TemplateEntry> availableTemplates()
{
    QList<TemplateEntry> found;
    const QStringList folders = {AppPaths::dataFolder() + QStringLiteral("/templates"),
                                 AppPaths::shareFolder() + QStringLiteral("/templates")};
    for (const QString &folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo &info : files) {
            if (info.suffix().compare(QLatin1String("obt"), Qt::CaseInsensitive) != 0 ||
                !isTemplateFile(info.filePath()))
                continue;
            const QString name = TitleCase(info.completeBaseName());
            const bool shadowed = std::any_of(found.cbegin(), found.cend(), [&](const auto &e) {
                return e.name.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (!shadowed)
                found.append({name, info.filePath()});
        }
    }
    std::sort(found.begin(), found.end(), [](const TemplateEntry &a, const TemplateEntry &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return found;
}

QString templatePath(const QString &name)
{
    for (const TemplateEntry &entry : availableTemplates()) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.path;
    }
    return {};
}

} // namespace Orbisong
