#include "collection/FieldChoices.h"

#include "collection/AlbumIndexNode.h"
#include "collection/Collection.h"
#include "collection/MediaKind.h"

#include <algorithm>

namespace Orbisong {

const QStringList &FieldChoices::categories()
{
    static const QStringList names = {
        QStringLiteral("Blues"), QStringLiteral("Classical"), QStringLiteral("Country"),
        QStringLiteral("Data"),  QStringLiteral("Folk"),      QStringLiteral("Jazz"),
        QStringLiteral("Misc"),  QStringLiteral("Newage"),    QStringLiteral("Reggae"),
        QStringLiteral("Rock"),  QStringLiteral("Soundtrack")};
    return names;
}

QStringList FieldChoices::values(const Collection &collection, Field field, const QString &typed)
{
    QStringList values;
    for (const AlbumIndexNode *node : collection.albums()) {
        if (isCdRomKind(node->mediaKind))
            continue;
        switch (field) {
        case Artist:
            values.append(node->artist);
            break;
        case Binder:
            values.append(node->binder);
            break;
        case Owner:
            values.append(node->owner);
            break;
        case Category:
            values.append(node->category);
            break;
        }
    }
    values.append(typed.trimmed());
    if (field == Category)
        values.append(categories());
    values.removeAll(QString());
    std::stable_sort(values.begin(), values.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const auto end =
        std::unique(values.begin(), values.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) == 0;
        });
    values.erase(end, values.end());
    return values;
}

} // namespace Orbisong
