#include "cddb/MusicBrainzReply.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Orbisong {

namespace {

QString artistCredit(const QJsonArray &credit)
{
    QString artist;
    for (const QJsonValue &part : credit) {
        const QJsonObject name = part.toObject();
        artist += name.value(QLatin1String("name")).toString() +
                  name.value(QLatin1String("joinphrase")).toString();
    }
    return artist.trimmed();
}

bool holdsDisc(const QJsonObject &medium, const QString &discId)
{
    const QJsonArray discs = medium.value(QLatin1String("discs")).toArray();
    for (const QJsonValue &disc : discs) {
        if (disc.toObject().value(QLatin1String("id")).toString() == discId)
            return true;
    }
    return false;
}

QJsonObject mediumFor(const QJsonArray &media, const QString &discId, int trackCount)
{
    for (const QJsonValue &medium : media) {
        if (holdsDisc(medium.toObject(), discId))
            return medium.toObject();
    }
    for (const QJsonValue &medium : media) {
        if (medium.toObject().value(QLatin1String("tracks")).toArray().size() == trackCount)
            return medium.toObject();
    }
    return media.first().toObject();
}

} // namespace

bool ParseMusicBrainzReply(const QByteArray &reply, const QString &discId, int trackCount,
                           QList<FoundAlbum> *releases)
{
    releases->clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reply, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonValue list = document.object().value(QLatin1String("releases"));
    if (!list.isArray())
        return false;
    QList<FoundAlbum> found;
    for (const QJsonValue &value : list.toArray()) {
        const QJsonObject release = value.toObject();
        const QJsonArray media = release.value(QLatin1String("media")).toArray();
        const QString id = release.value(QLatin1String("id")).toString();
        if (id.isEmpty() || media.isEmpty())
            return false;
        FoundAlbum album;
        album.releaseId = id;
        album.title = release.value(QLatin1String("title")).toString().trimmed();
        album.artist = artistCredit(release.value(QLatin1String("artist-credit")).toArray());
        const QString date = release.value(QLatin1String("date")).toString();
        if (date.size() >= 4 && date.left(4).toInt() > 0)
            album.year = date.left(4);
        const QJsonArray tracks =
            mediumFor(media, discId, trackCount).value(QLatin1String("tracks")).toArray();
        for (const QJsonValue &track : tracks)
            album.trackTitles.append(track.toObject().value(QLatin1String("title")).toString());
        found.append(album);
    }
    *releases = found;
    return true;
}

QString MusicBrainzMatchList(const QList<FoundAlbum> &releases)
{
    QString list =
        QStringLiteral("210 Found exact matches, list follows (until terminating `.')\n");
    for (int i = 0; i < releases.size(); ++i) {
        const FoundAlbum &album = releases.at(i);
        // The year and the start of the release id keep releases of one name apart.
        const QString year = album.year.isEmpty() ? QStringLiteral("----") : album.year;
        list += QStringLiteral("misc %1 %2 / %3 [%4, %5 tracks, %6]\n")
                    .arg(i, 8, 16, QLatin1Char('0'))
                    .arg(album.artist, album.title, year)
                    .arg(album.trackTitles.size())
                    .arg(album.releaseId.left(8));
    }
    return list + QStringLiteral(".\n");
}

} // namespace Orbisong
