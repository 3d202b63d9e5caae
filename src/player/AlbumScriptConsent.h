#pragma once

#include <QString>

namespace Orbisong {

class ScriptHostPort;
struct AlbumInfo;

// Albums described by someone else (another collection, a disc database) may carry scripts
// the user never saw; those run only after the user allowed them once for the album.
bool albumScriptsNeedConsent(const AlbumInfo &album);

// True when `script` may run for `album`, asking the user through `host` when needed. A yes
// is stored in the album's flags; `allowed` tells the caller to write the album back.
bool mayRunAlbumScript(AlbumInfo &album, const QString &script, ScriptHostPort &host,
                       bool *allowed = nullptr);

} // namespace Orbisong
