#include "cddb/CddbServerList.h"

#include <QRegularExpression>

#include <algorithm>

namespace Orbisong {

namespace {

const QChar ItemSeparator = QLatin1Char('|');
const QChar FieldSeparator = QLatin1Char('`');

QString storable(QString field)
{
    field.replace(ItemSeparator, QLatin1Char('/'));
    field.replace(FieldSeparator, QLatin1Char('\''));
    return field;
}

QString sortKey(const TServerItem &item)
{
    return item.protocol.left(4).toUpper() + item.host;
}

std::optional<TServerItem> siteFromLine(const QString &line)
{
    if (line.contains(QLatin1String("(UNOFFICIAL)"), Qt::CaseInsensitive))
        return std::nullopt;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = line.trimmed().split(blanks, Qt::SkipEmptyParts);
    if (words.size() < 7)
        return std::nullopt;
    TServerItem item;
    const bool http = words.at(1).toUpper().contains(QLatin1Char('H'));
    item.host = storable(http ? words.at(0) + words.at(3) : words.at(0));
    item.port = storable(words.at(2));
    item.protocol = http ? QStringLiteral("HTTP") : QStringLiteral("CDDBP");
    // The description runs from the seventh word to the end of the line, blanks included.
    QString rest = line.trimmed();
    for (int i = 0; i < 6; ++i)
        rest = rest.mid(rest.indexOf(words.at(i)) + words.at(i).size()).trimmed();
    item.description = storable(rest);
    return item;
}

} // namespace

QList<TServerItem> CddbServerList::parse(const QString &stored)
{
    QList<TServerItem> items;
    for (const QString &text : stored.split(ItemSeparator, Qt::SkipEmptyParts)) {
        const QStringList fields = text.split(FieldSeparator);
        if (fields.value(0).trimmed().isEmpty())
            continue;
        items.append({fields.value(0), fields.value(1), fields.value(2), fields.value(3)});
    }
    return items;
}

QString CddbServerList::store(const QList<TServerItem> &items)
{
    QStringList texts;
    for (const TServerItem &item : items) {
        texts.append(QStringList{storable(item.host), storable(item.port), storable(item.protocol),
                                 storable(item.description)}
                         .join(FieldSeparator));
    }
    return texts.join(ItemSeparator);
}

QList<TServerItem> CddbServerList::sorted(QList<TServerItem> items)
{
    std::stable_sort(items.begin(), items.end(), [](const TServerItem &a, const TServerItem &b) {
        return sortKey(a).compare(sortKey(b), Qt::CaseInsensitive) < 0;
    });
    return items;
}

int CddbServerList::indexOf(const QList<TServerItem> &items, const QString &host,
                            const QString &port, const QString &protocol)
{
    const QString wantedHost = host.trimmed().section(QLatin1Char('/'), 0, 0);
    for (int i = 0; i < items.size(); ++i) {
        const TServerItem &item = items.at(i);
        if (item.hostName().compare(wantedHost, Qt::CaseInsensitive) == 0 &&
            item.port.trimmed().compare(port.trimmed(), Qt::CaseInsensitive) == 0 &&
            item.protocol.compare(protocol.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QList<TServerItem>> CddbServerList::fromSitesReply(const QByteArray &reply)
{
    if (!reply.startsWith("210") || !replyComplete(reply))
        return std::nullopt;
    QStringList lines = QString::fromUtf8(reply).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last() != QLatin1String("."))
        lines.removeLast();
    QList<TServerItem> items;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        if (const std::optional<TServerItem> item = siteFromLine(lines.at(i)))
            items.append(*item);
    }
    if (items.isEmpty())
        return std::nullopt;
    return items;
}

bool CddbServerList::replyComplete(const QByteArray &reply)
{
    if (reply.size() < 2)
        return false;
    if (reply.at(1) == '1')
        return reply.contains("\n.\r") || reply.contains("\n.\n");
    return reply.contains('\n');
}

} // namespace Orbisong
