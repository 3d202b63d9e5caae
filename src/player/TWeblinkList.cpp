#include "player/TWeblinkList.h"

#include "collection/AlbumText.h"

#include <algorithm>

namespace Orbisong {

QList<TWeblinkList::Entry> TWeblinkList::menuEntries() const
{
    QList<Entry> entries;
    for (int i = 0; i < m_links.size(); ++i) {
        const WebLinkItem &link = m_links.at(i);
        const QString title = link.title.trimmed().isEmpty() ? link.address : link.title;
        entries.append({i, title, (link.flags & WebLinkDefault) != 0});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return SortKey(a.title, 0).compare(SortKey(b.title, 0), Qt::CaseInsensitive) < 0;
    });
    return entries;
}

} // namespace Orbisong
