// Merging another collection file into this one: each album block it holds (one with an ID
// and a media kind) is copied, replacing the album with that ID.

#include "collection/Collection.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumRecord.h"
#include "collection/AlbumText.h"
#include "collection/CollectionSections.h"
#include "collection/CollectionSink.h"
#include "collection/CurrentAlbum.h"
#include "collection/Settings.h"
#include "collection/StoredCounts.h"
#include "collection/TCfgFile.h"

#include <climits>

namespace Orbisong {

using namespace CollectionSections;

namespace {

// Copies one album block from an imported file; a key missing there is written empty
// unless it has a default.
class AlbumCopier
{
public:
    AlbumCopier(TCfgFile &from, TCfgFile &to, const QString &block)
        : m_from(from), m_to(to), m_block(block)
    {
    }

    QString copy(const QString &section, const QString &name, const QString &fallback = {})
    {
        const QString value = m_from.ReadString(m_block, section, name, fallback);
        m_to.WriteString(m_block, section, name, value);
        return value;
    }

    int copyInteger(const QString &section, const QString &name, int fallback = 0)
    {
        const int value = m_from.ReadInteger(m_block, section, name, fallback);
        m_to.WriteString(m_block, section, name,
                         m_from.ReadString(m_block, section, name, QString::number(fallback)));
        return value;
    }

    // A count copied as stored, but trusted only as far as the numbered keys it counts are
    // present: an imported file may claim billions.
    int copyCount(const QString &section, const char *stem)
    {
        const int stored = copyInteger(section, QStringLiteral("CT"));
        return BoundedCount(m_from, m_block, section, QLatin1String(stem), stored, INT_MAX);
    }

private:
    TCfgFile &m_from;
    TCfgFile &m_to;
    QString m_block;
};

void copyAlbum(TCfgFile &from, TCfgFile &to, const QString &block)
{
    AlbumCopier c(from, to, block);
    const QString media = QStringLiteral("Media");
    const QString usage = QStringLiteral("Usage");
    const QString playlists = QStringLiteral("Playlists");
    c.copy(media, QStringLiteral("MD"));
    c.copy(Album, QStringLiteral("ID"));
    to.WriteInteger(block, Album, QStringLiteral("NW"), 0);
    for (const char *name : {"AR", "BI", "CA", "CO", "IX"})
        c.copy(Album, QLatin1String(name));
    // Scripts from another collection wait for this user's consent, whatever the other
    // user allowed.
    const int flags = from.ReadInteger(block, Album, QStringLiteral("FL"), 0);
    to.WriteInteger(block, Album, QStringLiteral("FL"),
                    (flags & ~AlbumFlagScriptsAllowed) | AlbumFlagScriptsHeld);
    c.copy(Album, QStringLiteral("OW"), defaultOwner());
    c.copy(Album, QStringLiteral("TL"));
    c.copy(Album, QStringLiteral("US"));
    c.copy(Album, QStringLiteral("YR"), QString::number(QDate::currentDate().year()));
    c.copy(Album, QStringLiteral("RV"), QStringLiteral("1"));
    c.copy(Album, QStringLiteral("SR"), QStringLiteral("0"));
    c.copy(Album, QStringLiteral("CS"));
    c.copy(usage, QStringLiteral("IC"));
    c.copy(usage, QStringLiteral("FI"));
    for (int n = 1;; ++n) {
        if (c.copy(usage, key("RI", n)).trimmed().isEmpty())
            break;
    }
    const int tracks = c.copyInteger(Tracks, QStringLiteral("CT"));
    for (int n = 1; n <= qMin(tracks, int(AlbumInfo::MaxTracks)); ++n) {
        for (const char *stem : {"TL", "TO", "TT", "TM", "TC"})
            c.copy(Tracks, key(stem, n));
    }
    const int lists = c.copyCount(playlists, "PL");
    c.copy(playlists, QStringLiteral("CU"));
    for (int k = 1; k <= lists; ++k) {
        const QString title = c.copy(playlists, key("PL", k)).trimmed();
        if (title.isEmpty())
            continue;
        const int steps = c.copyCount(title, "SS");
        for (int m = 1; m <= steps; ++m) {
            for (const char *stem : {"ST", "SS", "SE", "SS1"})
                c.copy(title, key(stem, m));
        }
    }
    c.copy(QStringLiteral("Events"), key("AE", 1));
    c.copy(QStringLiteral("Events"), key("AE", 2));
    c.copy(QStringLiteral("Comments"), QStringLiteral("TX"));
    const int links = c.copyCount(WebLink, "WU");
    for (int n = 1; n <= links; ++n) {
        for (const char *stem : {"WT", "WU", "WF"})
            c.copy(WebLink, key(stem, n));
    }
}

} // namespace

bool Collection::ImportCollection(const QString &path)
{
    OpenCollectionFile();
    if (!m_file) {
        CloseCollection();
        return false;
    }
    TCfgFile other(path);
    if (!other.load()) {
        m_lastError = other.errorString();
        askOrDefault(m_questions, Msg::Notice,
                     QStringLiteral("Unable to import the collection file."),
                     QStringLiteral("'%1': %2").arg(path, m_lastError));
        CloseCollection();
        return false;
    }
    QStringList names;
    other.ReadBlockNames(names);
    bool currentReplaced = false;
    for (const QString &block : std::as_const(names)) {
        const QString id = other.ReadString(block, Album, QStringLiteral("ID"), {});
        if (id.size() != 13)
            continue;
        const int kind = other.ReadInteger(block, QStringLiteral("Media"), QStringLiteral("MD"), 0);
        if (kind == 0)
            continue;
        // The album with this ID goes, and so does whatever album holds the block name, so
        // no index entry is left pointing at a block that now holds another album.
        DeleteAlbum(id, true);
        if (m_file->blockExists(block)) {
            for (const AlbumIndexNode *node : albums()) {
                if (node->blockName.compare(block, Qt::CaseInsensitive) == 0) {
                    DeleteAlbum(node->id, true);
                    break;
                }
            }
            m_file->EraseBlock(block);
        }
        copyAlbum(other, *m_file, block);
        AddAlbumToIndex(id, block, kind,
                        m_file->ReadInteger(block, Tracks, QStringLiteral("CT"), 0),
                        m_file->ReadString(block, Album, QStringLiteral("YR"), {}),
                        m_file->ReadString(block, Album, QStringLiteral("TL"), {}),
                        m_file->ReadString(block, Album, QStringLiteral("OW"), {}),
                        m_file->ReadString(block, Album, QStringLiteral("CA"), {}),
                        m_file->ReadString(block, Album, QStringLiteral("BI"), {}),
                        m_file->ReadString(block, Album, QStringLiteral("AR"), {}),
                        m_file->ReadInteger(block, Album, QStringLiteral("FL"), 0));
        currentReplaced = currentReplaced || isCurrentAlbum(id);
    }
    if (currentReplaced) {
        ReadAlbumInfo(*this);
        notifyCurrentAlbumChanged(ChangeAlbumAdded);
    }
    return CloseCollection();
}

} // namespace Orbisong
