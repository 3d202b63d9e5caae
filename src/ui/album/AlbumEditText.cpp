#include "ui/album/AlbumEditText.h"

namespace Orbisong {

QString toEditorText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

QString fromEditorText(const QString &text)
{
    QString kept = toEditorText(text);
    kept.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return kept;
}

} // namespace Orbisong
