#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// The album and track titles a disc carries as CD-Text: from a drive, or from the TITLE and
// PERFORMER lines of a CUE sheet or CDRWIN image.
struct CdTextAlbum
{
    QString artist;
    QString title;
    QStringList trackTitles; // one per track, empty where the disc names none

    // A disc names itself only when it carries at least an album or a track title.
    bool isEmpty() const;
};

// Reads the CD-Text of `source` (a drive's device path or an image file); empty when the disc
// has none or the source cannot be opened. It may take a while on a drive: call it off the
// window thread.
CdTextAlbum ReadCdText(const QString &source);

} // namespace Orbisong
