#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// Where print templates live: "templates" in the data folder, where the user's own and edited
// templates are written, over the same folder among the shipped files.
class PrintTemplateFolder
{
public:
    // The folder the user's templates are written to (not created).
    static QString userFolder();
    // The print templates' file names ("*.obt" whose first line is "PRINT"), sorted without
    // regard to case; a user's file hides a shipped file of the same name.
    static QStringList templateNames();
    // The path of a template by file name: the user's folder first, then the shipped one.
    // An absolute path or a path with a folder is returned unchanged.
    static QString pathOf(const QString &name);
};

} // namespace Orbisong
