#include "base/StringTable.h"

#include <QFile>
#include <QHash>

namespace Orbisong {

namespace {

QHash<int, QString> loadTable()
{
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/strings/orbisong.strings"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const int tab = line.indexOf('\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (!ok)
            continue;
        QString text = QString::fromUtf8(line.mid(tab + 1));
        text.replace(QLatin1String("\\n"), QLatin1String("\n"));
        table.insert(id, text);
    }
    return table;
}

const QHash<int, QString> &table()
{
    static const QHash<int, QString> instance = loadTable();
    return instance;
}

} // namespace

QString StringTable::text(int id)
{
    return table().value(id);
}

bool StringTable::contains(int id)
{
    return table().contains(id);
}

} // namespace Orbisong
