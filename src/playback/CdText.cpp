#include "playback/CdText.h"

#include "playback/CdioDevice.h"

#include <QFileInfo>

#include <cdio/cdio.h>
#include <cdio/cdtext.h>

namespace Orbisong {

namespace {

QString field(const cdtext_t *text, cdtext_field_t key, track_t track)
{
    const char *value = cdtext_get_const(text, key, track);
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

} // namespace

bool CdTextAlbum::isEmpty() const
{
    if (!title.isEmpty())
        return false;
    for (const QString &track : trackTitles) {
        if (!track.isEmpty())
            return false;
    }
    return true;
}

CdTextAlbum ReadCdText(const QString &source)
{
    CdTextAlbum album;
    const bool image = CdioDevice::isImagePath(source);
    const QByteArray path = (image ? QFileInfo(source).absoluteFilePath() : source).toLocal8Bit();
    CdIo_t *cdio = cdio_open(path.constData(), image ? DRIVER_UNKNOWN : DRIVER_DEVICE);
    if (!cdio)
        return album;
    const cdtext_t *text = cdio_get_cdtext(cdio);
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (text && first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK) {
        album.artist = field(text, CDTEXT_FIELD_PERFORMER, 0);
        album.title = field(text, CDTEXT_FIELD_TITLE, 0);
        for (track_t t = first; t < first + count; ++t)
            album.trackTitles.append(field(text, CDTEXT_FIELD_TITLE, t));
    }
    cdio_destroy(cdio);
    return album;
}

} // namespace Orbisong
