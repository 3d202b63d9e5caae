#pragma once

#include <QFile>
#include <QString>

namespace Orbisong {

// The state of a TEXT variable: its file name and the open file.
class ScriptTextFile
{
public:
    QString name;
    QFile file;

    // I/O result codes as scripts know them: 0 success, 2 file not found, 103 not open.
    int open(QIODevice::OpenMode mode);
    int close();
    bool atEnd() { return !file.isOpen() || file.atEnd(); }
    bool readLine(QString *line);
    bool readItem(QString *item);
    bool write(const QString &text);
};

} // namespace Orbisong
