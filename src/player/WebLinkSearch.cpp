#include "player/WebLinkSearch.h"

#include "cddb/TCDDBThread.h"

namespace Orbisong {

QList<SearchSite> ParseSearchProfile(const QString &profile)
{
    QList<SearchSite> sites;
    for (const QString &item : profile.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const qsizetype accent = item.indexOf(QLatin1Char('`'));
        SearchSite site;
        site.caption = item.left(accent).trimmed();
        if (accent >= 0)
            site.address = item.mid(accent + 1).trimmed();
        if (!site.caption.isEmpty())
            sites.append(site);
    }
    return sites;
}

QString ExpandSearchTemplate(const QString &address, const QString &artist)
{
    const qsizetype at = address.indexOf(QLatin1String("%A"));
    if (at < 0)
        return {};
    QString expanded = address;
    return expanded.replace(at, 2, QString::fromLatin1(TCDDBThread::encodeFormValue(artist)));
}

} // namespace Orbisong
