#include "collection/DraftTrack.h"

#include "collection/AlbumInfo.h"
#include "collection/MultilineCodec.h"

#include <QStringList>

namespace Orbisong {

void takeTrackList(DraftTrackList &tracks, const QString &items, bool notes)
{
    const QStringList values = items.split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const QString value = values.value(i).trimmed();
        if (notes)
            tracks[i].notes = DecodeMultiline(value, UnknownEscape::Keep);
        else
            tracks[i].title = value;
    }
}

QString trackTitleList(const DraftTrackList &tracks)
{
    QStringList titles;
    for (const DraftTrack &track : tracks)
        titles.append(track.title);
    return titles.join(QLatin1Char('\r'));
}

QString trackNoteList(const DraftTrackList &tracks)
{
    QStringList notes;
    for (const DraftTrack &track : tracks)
        notes.append(EncodeMultiline(track.notes));
    return notes.join(QLatin1Char('\r'));
}

int withLastNameFirst(int flags, bool lastNameFirst)
{
    return lastNameFirst ? flags | AlbumFlagLastNameFirst : flags & ~AlbumFlagLastNameFirst;
}

} // namespace Orbisong
