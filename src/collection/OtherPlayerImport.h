#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

class Collection;
class SettingsStore;

// Where "CDPLAYER.INI" is looked for: the Windows folder, and on Linux, when that holds no such
// file, the Windows folders of Wine prefixes ($WINEPREFIX, then ~/.wine), so users coming from
// Windows keep their old disc titles. The first existing file wins; empty when there is none.
QString FindCdPlayerIni(const QString &windowsFolder, const QStringList &winePrefixes);
// The Wine prefixes of this user: $WINEPREFIX when set, then ~/.wine.
QStringList DefaultWinePrefixes();

// Copies artist, title and track titles of the disc with media identity `identity` from the
// initialisation file `iniPath` into album `albumId`, with source 1. Returns the notice of
// the recognition sequence: 0 found and copied, 1 not found.
int ImportFromCDPlayer(Collection &collection, const QString &iniPath, const QString &albumId,
                       const QString &identity);
// The same from the other CD program's keys in `store` (a store rooted at "Software"); the
// subkey of the program that sorts last and knows the disc wins. Source 5.
int ImportFromEasyCD(Collection &collection, const SettingsStore &store, const QString &albumId,
                     const QString &identity);

} // namespace Orbisong
