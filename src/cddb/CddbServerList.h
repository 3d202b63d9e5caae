#pragma once

#include "cddb/TServerItem.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace Orbisong {

// The CDDB server list: its stored form (items joined by "|", fields by "`"), the order it is
// offered in, and the list a server sends in reply to "sites".
class CddbServerList
{
public:
    static QList<TServerItem> parse(const QString &stored);
    // Separator characters inside a field are replaced, so every item reads back whole.
    static QString store(const QList<TServerItem> &items);
    // Sorted by the upper-cased first four characters of the protocol, then the host.
    static QList<TServerItem> sorted(QList<TServerItem> items);
    // The index of the item with this host (compared up to its first "/"), port and protocol,
    // all without regard to case; -1 when none matches.
    static int indexOf(const QList<TServerItem> &items, const QString &host, const QString &port,
                       const QString &protocol);
    // The sites of a complete reply to "sites"; nothing unless it is a 210 reply naming at
    // least one usable site, so a refusal or a garbled reply leaves the old list standing.
    static std::optional<QList<TServerItem>> fromSitesReply(const QByteArray &reply);
    // A reply is complete when a list (x1x) ends with its "." line, or a single line (x0x) ends.
    static bool replyComplete(const QByteArray &reply);
};

} // namespace Orbisong
