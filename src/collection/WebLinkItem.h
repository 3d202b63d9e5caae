#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// Link flags of an album's web link.
enum WebLinkFlag {
    WebLinkDefault = 1,
    WebLinkFirstBrowser = 2,
    WebLinkSecondBrowser = 4,
};

// One web link of an album.
struct WebLinkItem
{
    QString title;
    QString address;
    int flags = 0;

    bool operator==(const WebLinkItem &) const = default;
};

using WebLinkList = QList<WebLinkItem>;

} // namespace Orbisong
