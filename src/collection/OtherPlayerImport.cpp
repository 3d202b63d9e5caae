#include "collection/OtherPlayerImport.h"

#include "collection/AlbumInfo.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/SettingsStore.h"
#include "collection/WinIniFile.h"

#include <QDir>

#include <algorithm>

namespace Orbisong {

namespace {

constexpr int Found = 0;
constexpr int NotFound = 1;

const QString EasyCdKey = QStringLiteral("GHL Software\\EasyCD");

// The name of a file in `folder` matched without regard to case, as Windows folders copied
// to Linux (or kept by Wine) may spell it either way.
QString fileInFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QStringList entries = dir.entryList({name}, QDir::Files | QDir::Readable);
    return entries.isEmpty() ? QString() : dir.filePath(entries.first());
}

// The setters change nothing for an album that is neither indexed nor in the drive; copying
// into nothing is no recognition.
bool canReceive(Collection &collection, const QString &albumId)
{
    if (collection.FindAlbum(albumId))
        return true;
    const CurrentAlbum *current = collection.currentAlbum();
    return current && !current->disc.id.isEmpty() &&
           current->disc.id.compare(albumId, Qt::CaseInsensitive) == 0;
}

void copyAlbum(Collection &collection, const QString &albumId, const QString &artist,
               const QString &title, const QStringList &tracks, int source)
{
    const QString id = albumId.toUpper();
    collection.SetAlbumArtist(id, artist);
    collection.SetAlbumTitle(id, title);
    collection.SetAlbumTrackTitle(id, -1, tracks.join(QLatin1Char('\r')));
    collection.SetAlbumSource(id, source);
}

} // namespace

QStringList DefaultWinePrefixes()
{
    QStringList prefixes;
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty())
        prefixes.append(prefix);
    prefixes.append(QDir::home().filePath(QStringLiteral(".wine")));
    return prefixes;
}

QString FindCdPlayerIni(const QString &windowsFolder, const QStringList &winePrefixes)
{
    const QString name = QStringLiteral("CDPLAYER.INI");
    if (const QString path = fileInFolder(windowsFolder, name); !path.isEmpty())
        return path;
    for (const QString &prefix : winePrefixes) {
        const QString windows = QDir(prefix).filePath(QStringLiteral("drive_c/windows"));
        if (const QString path = fileInFolder(windows, name); !path.isEmpty())
            return path;
    }
    return {};
}

int ImportFromCDPlayer(Collection &collection, const QString &iniPath, const QString &albumId,
                       const QString &identity)
{
    WinIniFile ini;
    if (iniPath.isEmpty() || identity.isEmpty() || !ini.load(iniPath))
        return NotFound;
    const QString section = identity.toUpper();
    if (ini.readInteger(section, QStringLiteral("EntryType"), -1) < 0)
        return NotFound;
    if (!canReceive(collection, albumId))
        return NotFound;
    QStringList tracks{ini.readString(section, QStringLiteral("0"), QStringLiteral("Track 1"))};
    const int count = ini.readInteger(section, QStringLiteral("numtracks"), 0);
    for (int key = 1; key < count; ++key)
        tracks.append(
            ini.readString(section, QString::number(key), QStringLiteral("Track %1").arg(key + 1)));
    copyAlbum(collection, albumId, ini.readString(section, QStringLiteral("artist"), {}),
              ini.readString(section, QStringLiteral("title"), {}), tracks, SourceCdPlayer);
    return Found;
}

int ImportFromEasyCD(Collection &collection, const SettingsStore &store, const QString &albumId,
                     const QString &identity)
{
    bool ok = false;
    const int trackCount = albumId.mid(6, 2).toInt(&ok, 16);
    if (identity.isEmpty() || !store.keyExists(QStringLiteral("GHL Software")))
        return NotFound;
    QStringList versions = store.subkeyNames(EasyCdKey);
    std::sort(versions.begin(), versions.end());
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString key = EasyCdKey + QLatin1Char('\\') + *it +
                            QStringLiteral("\\CD Information\\") + identity.toUpper();
        if (store.readString(key, QStringLiteral("cddbID"), {}).isEmpty())
            continue;
        if (!canReceive(collection, albumId))
            return NotFound;
        QStringList tracks{
            store.readString(key, QStringLiteral("Track #1"), QStringLiteral("Track 1"))};
        for (int n = 2; n <= (ok ? trackCount : 0); ++n)
            tracks.append(store.readString(key, QStringLiteral("Track #%1").arg(n),
                                           QStringLiteral("Track %1").arg(n)));
        copyAlbum(collection, albumId, store.readString(key, QStringLiteral("Artist"), {}),
                  store.readString(key, QStringLiteral("Title"), {}), tracks,
                  SourceOtherCollection);
        return Found;
    }
    return NotFound;
}

} // namespace Orbisong
