#include "cddb/CddbMatches.h"

#include "cddb/CddbEntry.h"

#include <QRegularExpression>
#include <QStringList>

namespace Orbisong {

namespace {

QStringList responseLines(const QString &response)
{
    QStringList lines = response.split(QRegularExpression(QStringLiteral("\r\n|\n")));
    // A final line break leaves an empty last item that is not a line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

QList<CddbMatch> ParseCddbMatches(const QString &response)
{
    QStringList lines = responseLines(response);
    if (lines.size() > 1) {
        lines.removeLast();
        lines.removeFirst();
    }
    QList<CddbMatch> matches;
    for (const QString &line : lines) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2)
            continue;
        CddbMatch match;
        match.category = words.at(0);
        match.discId = words.at(1);
        SplitArtistTitle(words.mid(2).join(QLatin1Char(' ')), &match.artist, &match.title);
        const bool seen = std::any_of(matches.begin(), matches.end(), [&](const CddbMatch &m) {
            return m.title.compare(match.title, Qt::CaseInsensitive) == 0 &&
                   m.artist.compare(match.artist, Qt::CaseInsensitive) == 0;
        });
        if (!seen)
            matches.append(match);
    }
    return matches;
}

CddbWelcome CddbWelcome::parse(const QString &response)
{
    CddbWelcome welcome;
    QStringList lines = responseLines(response);
    if (lines.size() <= 1)
        return welcome;
    const QString status = lines.takeFirst().trimmed();
    lines.removeLast();
    welcome.text = lines.join(QLatin1String("\r\n"));
    const qsizetype slash = status.indexOf(QLatin1Char('/'));
    if (slash >= 0 && slash < status.size() - 1) {
        const QStringList words = status.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        welcome.stamp = (words.value(2) + QLatin1Char(' ') + words.value(3)).trimmed();
    }
    return welcome;
}

} // namespace Orbisong
