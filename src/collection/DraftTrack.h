#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One track as the album windows edit it: its title and its notes in plain text.
struct DraftTrack
{
    QString title;
    QString notes;
    int plays = 0;
};

using DraftTrackList = QList<DraftTrack>;

// Item i of a CR-separated list, trimmed, becomes the value of track i; tracks beyond the list
// get an empty value. `notes` picks which value.
void takeTrackList(DraftTrackList &tracks, const QString &items, bool notes);
// The CR-separated list of the titles, or of the notes in their escaped one-line form.
QString trackTitleList(const DraftTrackList &tracks);
QString trackNoteList(const DraftTrackList &tracks);
// The album flags with only the last-name-first bit set from the check box: the intro and
// repeat bits belong to the player's buttons.
int withLastNameFirst(int flags, bool lastNameFirst);

} // namespace Orbisong
