#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// The HTML templates on offer: files ending in ".obt" (any case) whose first line is "HTML",
// in the "templates" folder of the data folder and of the shipped files; the user's own
// shadow shipped ones of the same name.
struct TemplateEntry
{
    QString name; // the file name without extension, title-cased
    QString path; // the file's real path
};

QList<TemplateEntry> availableTemplates();
// Whether the file's first line is "HTML" without regard to case.
bool isTemplateFile(const QString &path);
// The path of the template offered as `name` (without regard to case); empty when none.
QString templatePath(const QString &name);

} // namespace Orbisong
