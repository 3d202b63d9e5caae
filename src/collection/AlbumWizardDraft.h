#pragma once

#include "collection/DraftTrack.h"

#include <QDate>
#include <QString>

namespace Orbisong {

class Collection;

// What the album wizard collects for a disc the collection does not know, and its finish:
// the fields written with the collection's setters.
class AlbumWizardDraft
{
public:
    // One track per track of the ID ("Track n"), the default owner and this year.
    explicit AlbumWizardDraft(const QString &albumId, const QDate &today = QDate::currentDate());

    // The track count an album ID carries in its characters 7 and 8 (hexadecimal).
    static int trackCountOf(const QString &albumId);

    QString albumId() const { return m_albumId; }

    // Takes a found database entry's fields; the track lists are CR-separated, the notes in
    // their escaped one-line form.
    void takeEntry(int entryRevision, const QString &entryArtist, const QString &entryTitle,
                   const QString &entryCategory, int entrySource, const QString &trackTitles,
                   const QString &trackNotes);

    // Writes the fields under one open collection. Only the last-name-first bit of the album
    // flags is changed.
    void finish(Collection &collection) const;

    int revision = 1;
    int source = 0;
    QString artist;
    QString title;
    QString copyright;
    QString year;
    bool lastNameFirst = false;
    QString category;
    QString binder;
    QString owner;
    QString index;
    DraftTrackList tracks;

private:
    QString m_albumId;
};

} // namespace Orbisong
