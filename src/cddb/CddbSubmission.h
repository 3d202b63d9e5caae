#pragma once

#include "cddb/CddbEntry.h"

#include <QString>

namespace Orbisong {

class Collection;
struct Settings;

// The database's mailbox for entries sent by mail.
extern const QString CddbSubmissionMailbox;

// An album of the collection as the database would receive it, read and checked.
struct CddbSubmission
{
    enum Problem {
        Ready,
        AlbumMissing,
        // Artist, title or track titles are missing.
        Incomplete,
        // Without the first track's start the table of contents is unknown.
        NoFirstOffset,
        MissingOffset,
        // The stored track count is not the one the disc id names.
        TrackCountMismatch,
    };

    Problem problem = AlbumMissing;
    QString albumId;
    QString discId; // lower case
    QString category;
    int storedTrackCount = 0;
    CddbWriteInput input;

    // Reads album `albumId` inside one collection bracket. Web links and comments go in when
    // the settings ask for them, and only the album's own links.
    static CddbSubmission read(Collection &collection, const QString &albumId,
                               const Settings &settings);

    // The heading and text of the notice a refused submission shows; empty when Ready.
    QString problemHeading() const;
    QString problemText() const;
    QString entry(int year) const;
    QString subject() const;
};

} // namespace Orbisong
