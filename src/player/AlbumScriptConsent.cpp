#include "player/AlbumScriptConsent.h"

#include "collection/AlbumInfo.h"
#include "player/ScriptHostPort.h"

namespace Orbisong {

bool albumScriptsNeedConsent(const AlbumInfo &album)
{
    if (album.flags & AlbumFlagScriptsAllowed)
        return false;
    return (album.flags & AlbumFlagScriptsHeld) || album.source == SourceLocalCddb ||
           album.source == SourceInternetCddb || album.source == SourceOtherCollection;
}

bool mayRunAlbumScript(AlbumInfo &album, const QString &script, ScriptHostPort &host, bool *allowed)
{
    if (allowed)
        *allowed = false;
    // The default script does nothing, so an empty one needs no consent.
    if (script.trimmed().isEmpty() || !albumScriptsNeedConsent(album))
        return true;
    const QString name =
        album.artist.isEmpty() ? album.title : album.artist + QStringLiteral(" - ") + album.title;
    if (!host.allowAlbumScript(name, script))
        return false;
    album.flags = (album.flags | AlbumFlagScriptsAllowed) & ~AlbumFlagScriptsHeld;
    if (allowed)
        *allowed = true;
    return true;
}

} // namespace Orbisong
