#include "script/ScriptTextFile.h"

#include <QFileInfo>

namespace Orbisong {

int ScriptTextFile::open(QIODevice::OpenMode mode)
{
    if (file.isOpen())
        file.close();
    file.setFileName(name);
    if (name.isEmpty())
        return 2;
    if (file.open(mode | QIODevice::Text))
        return 0;
    if (!(mode & QIODevice::WriteOnly) && !QFileInfo::exists(name))
        return 2;
    return file.error() == QFileDevice::PermissionsError ? 5 : 3;
}

int ScriptTextFile::close()
{
    if (!file.isOpen())
        return 103;
    file.close();
    return 0;
}

bool ScriptTextFile::readLine(QString *line)
{
    if (!file.isOpen() || file.atEnd())
        return false;
    QByteArray bytes = file.readLine();
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    *line = QString::fromUtf8(bytes);
    return true;
}

bool ScriptTextFile::readItem(QString *item)
{
    item->clear();
    char c = 0;
    while (file.isOpen() && file.peek(&c, 1) == 1 && (c == ' ' || c == '\t' || c == '\n'))
        file.getChar(&c);
    QByteArray bytes;
    while (file.isOpen() && file.peek(&c, 1) == 1 && c != ' ' && c != '\t' && c != '\n') {
        file.getChar(&c);
        bytes.append(c);
    }
    *item = QString::fromUtf8(bytes);
    return !bytes.isEmpty();
}

bool ScriptTextFile::write(const QString &text)
{
    if (!file.isOpen() || !file.isWritable())
        return false;
    return file.write(text.toUtf8()) >= 0;
}

} // namespace Orbisong
