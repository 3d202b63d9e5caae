#pragma once

#include "collection/WebLinkItem.h"

#include <QList>

namespace Orbisong {

// The links of the album in the drive as its menus show them: in the order of the
// collection sort key of their titles, each marked with a tag its menu recognises.
class TWeblinkList
{
public:
    // Menu items this list created carry the tag (MenuTag << 16) | index of the link.
    static constexpr int MenuTag = 0x1234;

    struct Entry
    {
        int index = 0; // into links()
        QString title;
        bool isDefault = false; // shown bold
    };

    TWeblinkList() = default;
    explicit TWeblinkList(WebLinkList links) : m_links(std::move(links)) {}

    const WebLinkList &links() const { return m_links; }
    void setLinks(WebLinkList links) { m_links = std::move(links); }
    bool isEmpty() const { return m_links.isEmpty(); }

    // The menu's items, sorted by SortKey of the title without regard to case; a link
    // without a title shows its address.
    QList<Entry> menuEntries() const;

    static int tagFor(int index) { return (MenuTag << 16) | (index & 0xFFFF); }
    static bool isTag(int tag) { return (tag >> 16) == MenuTag; }
    static int indexOfTag(int tag) { return tag & 0xFFFF; }

private:
    WebLinkList m_links;
};

} // namespace Orbisong
