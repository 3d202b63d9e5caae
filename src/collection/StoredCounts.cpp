#include "collection/StoredCounts.h"

#include "collection/TCfgFile.h"

#include <algorithm>

namespace Orbisong {

QString NumberedKey(const QString &stem, int n)
{
    return stem + QLatin1Char('[') + QString::number(n) + QLatin1Char(']');
}

int BoundedCount(TCfgFile &file, const QString &block, const QString &section, const QString &stem,
                 int stored, int most)
{
    const int wanted = std::clamp(stored, 0, most);
    const QByteArray blockName = block.toUtf8();
    const QByteArray sectionName = section.toUtf8();
    int n = 0;
    while (n < wanted) {
        bool found = false;
        file.readRaw(blockName, sectionName, NumberedKey(stem, n + 1).toUtf8(), &found);
        if (!found)
            break;
        ++n;
    }
    return n;
}

int StoredCount(TCfgFile &file, const QString &block, const QString &section, const QString &stem,
                int most)
{
    return BoundedCount(file, block, section, stem,
                        file.ReadInteger(block, section, QStringLiteral("CT"), 0), most);
}

} // namespace Orbisong
