#include "collection/Collection.h"

#include "collection/CollectionIndexBuild.h"

#include "collection/AlbumRecord.h"
#include "collection/AlbumText.h"
#include "collection/CollectionSink.h"
#include "collection/CollectionSections.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "collection/MultilineCodec.h"
#include "base/QuestionPort.h"
#include "collection/Settings.h"
#include "collection/StoredCounts.h"
#include "collection/StoredText.h"
#include "collection/TCfgFile.h"

#include <QDate>
#include <QLoggingCategory>

#include <climits>

Q_DECLARE_LOGGING_CATEGORY(lcCollection)

namespace Orbisong {

using namespace CollectionSections;

namespace {

// The web link items passed between setters and lookups: CR-separated, each an address,
// a title and a flags number separated by the character 14.
WebLinkList parseWebLinkItems(const QString &items)
{
    WebLinkList links;
    const QStringList parts = items.split(QLatin1Char('\r'));
    for (const QString &part : parts) {
        const QStringList fields = part.split(QChar(14));
        WebLinkItem link;
        link.address = fields.value(0).trimmed();
        if (link.address.isEmpty())
            continue;
        link.title = fields.value(1).trimmed();
        if (link.title.isEmpty())
            link.title = link.address;
        link.flags = fields.value(2).trimmed().toInt();
        links.append(link);
    }
    return links;
}

// Merges `items` into `links` by address (without regard to case); returns the positions
// that changed.
QList<int> mergeWebLinks(WebLinkList &links, const WebLinkList &items)
{
    QList<int> changed;
    for (const WebLinkItem &item : items) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < links.size(); ++i) {
            if (links.at(i).address.compare(item.address, Qt::CaseInsensitive) == 0) {
                at = i;
                break;
            }
        }
        if (at < 0) {
            links.append(item);
            at = links.size() - 1;
        } else {
            links[at] = item;
        }
        if (!changed.contains(int(at)))
            changed.append(int(at));
    }
    return changed;
}

} // namespace

void Collection::addSink(CollectionSink *sink)
{
    if (!m_sinks.contains(sink))
        m_sinks.append(sink);
}

void Collection::removeSink(CollectionSink *sink)
{
    m_sinks.removeAll(sink);
}

void Collection::notifyIndexChanged(const AlbumIndexNode &node, int code, const QVariant &value)
{
    for (CollectionSink *sink : std::as_const(m_sinks))
        sink->albumIndexChanged(node, code, value);
}

void Collection::notifyAlbumChanged(const QString &id, int code)
{
    for (CollectionSink *sink : std::as_const(m_sinks))
        sink->albumChanged(id, code);
}

void Collection::notifyCurrentAlbumChanged(int code)
{
    for (CollectionSink *sink : std::as_const(m_sinks))
        sink->currentAlbumChanged(code);
}

void Collection::setBusy(bool busy)
{
    for (CollectionSink *sink : std::as_const(m_sinks))
        sink->collectionBusy(busy);
}

int Collection::GetMediaKind(const QString &id)
{
    const AlbumIndexNode *node = FindAlbum(id);
    if (!node)
        return 0;
    int kind = node->mediaKind;
    OpenCollectionFile();
    if (m_file)
        kind = m_file->ReadInteger(node->blockName, QStringLiteral("Media"), QStringLiteral("MD"),
                                   MediaKindCdRom);
    CloseCollection();
    return kind;
}

// Writes one field of a stored album: the block first gets its ID and, when it has none, the
// media kind of its index entry, so a block the setters create for the disc in the drive is
// read back as that disc and not taken for a CD-ROM. Returns false when the album is not
// indexed or there is no file to write to.
bool Collection::storeField(const QString &id, int code, const QVariant &value,
                            const std::function<void(TCfgFile &, const QString &)> &write,
                            const std::function<void(AlbumIndexNode &)> &updateNode)
{
    AlbumIndexNode *node = FindAlbum(id);
    if (!node)
        return false;
    bool stored = false;
    OpenCollectionFile();
    if (m_file) {
        m_file->WriteString(node->blockName, Album, QStringLiteral("ID"), node->id);
        const QByteArray block = node->blockName.toUtf8();
        bool hasKind = false;
        m_file->readRaw(block, "Media", "MD", &hasKind);
        if (!hasKind && node->mediaKind != 0)
            m_file->WriteInteger(node->blockName, QStringLiteral("Media"), QStringLiteral("MD"),
                                 node->mediaKind);
        write(*m_file, node->blockName);
        if (updateNode)
            updateNode(*node);
        notifyIndexChanged(*node, code, value);
        notifyAlbumChanged(node->id, code);
        stored = true;
    }
    CloseCollection();
    return stored;
}

void Collection::updateCurrent(const QString &id, int code,
                               const std::function<void(AlbumInfo &)> &update)
{
    if (!isCurrentAlbum(id))
        return;
    update(m_current->album);
    notifyCurrentAlbumChanged(code);
}

bool Collection::setNodeText(const QString &id, const char *key, QString AlbumIndexNode::*field,
                             QString AlbumInfo::*albumField, const QString &value, int code)
{
    if (const AlbumIndexNode *node = FindAlbum(id); node && node->*field == value)
        return false;
    const QString name = QLatin1String(key);
    const bool stored = storeField(
        id, code, value,
        [&](TCfgFile &file, const QString &block) { file.WriteString(block, Album, name, value); },
        [&](AlbumIndexNode &node) { node.*field = value; });
    updateCurrent(id, code, [&](AlbumInfo &album) { album.*albumField = value; });
    return stored;
}

bool Collection::setPlainText(const QString &id, const char *section, const char *key,
                              QString AlbumInfo::*albumField, const QString &value, int code)
{
    const QString sectionName = QLatin1String(section);
    const QString name = QLatin1String(key);
    const bool stored = storeField(id, code, value,
                                   [&](TCfgFile &file, const QString &block) {
                                       file.WriteString(block, sectionName, name, value);
                                   },
                                   {});
    updateCurrent(id, code, [&](AlbumInfo &album) { album.*albumField = value; });
    return stored;
}

bool Collection::setInteger(const QString &id, const char *key, int AlbumInfo::*albumField,
                            int value, int code)
{
    const QString name = QLatin1String(key);
    const bool stored = storeField(
        id, code, value,
        [&](TCfgFile &file, const QString &block) { file.WriteInteger(block, Album, name, value); },
        {});
    updateCurrent(id, code, [&](AlbumInfo &album) { album.*albumField = value; });
    return stored;
}

bool Collection::SetAlbumArtist(const QString &id, const QString &value)
{
    return setNodeText(id, "AR", &AlbumIndexNode::artist, &AlbumInfo::artist, value, ChangeArtist);
}

bool Collection::SetAlbumBinder(const QString &id, const QString &value)
{
    return setNodeText(id, "BI", &AlbumIndexNode::binder, &AlbumInfo::binder, value, ChangeBinder);
}

bool Collection::SetAlbumCategory(const QString &id, const QString &value)
{
    return setNodeText(id, "CA", &AlbumIndexNode::category, &AlbumInfo::category, value,
                       ChangeCategory);
}

bool Collection::SetAlbumComments(const QString &id, const QString &escaped)
{
    return setPlainText(id, "Comments", "TX", &AlbumInfo::comments, escaped, ChangeComments);
}

bool Collection::SetAlbumCopyright(const QString &id, const QString &value)
{
    return setPlainText(id, "Album", "CO", &AlbumInfo::copyright, value, ChangeCopyright);
}

bool Collection::SetAlbumCustomData(const QString &id, const QStringList &lines)
{
    const QString encoded = EncodeMultiline(lines.join(QLatin1String("\r\n")));
    const bool stored =
        storeField(id, ChangeCustomData, lines,
                   [&](TCfgFile &file, const QString &block) {
                       file.WriteString(block, Album, QStringLiteral("CS"), encoded);
                   },
                   {});
    updateCurrent(id, ChangeCustomData, [&](AlbumInfo &album) { album.customData = lines; });
    return stored;
}

bool Collection::SetAlbumFlags(const QString &id, int flags)
{
    if (const AlbumIndexNode *node = FindAlbum(id); node && node->flags == flags)
        return false;
    const bool stored = storeField(
        id, ChangeFlags, flags,
        [&](TCfgFile &file, const QString &block) {
            file.WriteInteger(block, Album, QStringLiteral("FL"), flags);
        },
        [&](AlbumIndexNode &node) { node.flags = flags; });
    updateCurrent(id, ChangeFlags, [&](AlbumInfo &album) { album.flags = flags; });
    return stored;
}

bool Collection::SetAlbumIndex(const QString &id, const QString &value)
{
    return setNodeText(id, "IX", &AlbumIndexNode::index, &AlbumInfo::index, value, ChangeIndex);
}

bool Collection::SetAlbumOther(const QString &id, const QString &value)
{
    return setPlainText(id, "Album", "US", &AlbumInfo::other, value, ChangeOther);
}

bool Collection::SetAlbumOwner(const QString &id, const QString &value)
{
    return setNodeText(id, "OW", &AlbumIndexNode::owner, &AlbumInfo::owner, value, ChangeOwner);
}

bool Collection::SetAlbumEvent(const QString &id, int n, const QString &script)
{
    if (n != 1 && n != 2)
        return false;
    const QString encoded = EncodeMultiline(script);
    const bool stored =
        storeField(id, ChangeAlbumEvents, script,
                   [&](TCfgFile &file, const QString &block) {
                       file.WriteString(block, QStringLiteral("Events"), key("AE", n), encoded);
                   },
                   {});
    updateCurrent(id, ChangeAlbumEvents,
                  [&](AlbumInfo &album) { album.albumEvents[std::size_t(n - 1)] = script; });
    return stored;
}

bool Collection::SetAlbumSource(const QString &id, int source)
{
    return setInteger(id, "SR", &AlbumInfo::source, source, ChangeSource);
}

bool Collection::SetAlbumTitle(const QString &id, const QString &value)
{
    return setNodeText(id, "TL", &AlbumIndexNode::title, &AlbumInfo::title, value, ChangeTitle);
}

bool Collection::SetAlbumYear(const QString &id, const QString &value)
{
    return setNodeText(id, "YR", &AlbumIndexNode::year, &AlbumInfo::year, value, ChangeYear);
}

bool Collection::SetAlbumRevision(const QString &id, int revision)
{
    const AlbumIndexNode *node = FindAlbum(id);
    bool stored = false;
    if (node) {
        OpenCollectionFile();
        if (m_file) {
            m_file->WriteString(node->blockName, Album, QStringLiteral("ID"), node->id);
            m_file->WriteInteger(node->blockName, Album, QStringLiteral("RV"), revision);
            stored = true;
        }
        CloseCollection();
    }
    if (isCurrentAlbum(id))
        m_current->album.revision = revision;
    return stored;
}

bool Collection::setTrackValues(const QString &id, int track, const QString &value, bool notes)
{
    if (track == 0 || track < -1 || track > AlbumInfo::MaxTracks)
        return false;
    const char *stem = notes ? "TM" : "TT";
    const int code = notes ? ChangeTrackNotes : ChangeTrackTitles;
    const QStringList items = value.split(QLatin1Char('\r'));
    const AlbumIndexNode *node = FindAlbum(id);
    const int count = track == -1 && node ? qMin(node->trackCount, int(AlbumInfo::MaxTracks)) : 0;
    const bool stored = storeField(
        id, code, value,
        [&](TCfgFile &file, const QString &block) {
            if (track > 0) {
                file.WriteString(block, Tracks, key(stem, track), value);
                return;
            }
            // A short list leaves the titles of the tracks it does not name as they are.
            for (int i = 1; i <= qMin(count, int(items.size())); ++i)
                file.WriteString(block, Tracks, key(stem, i), items.at(i - 1).trimmed());
            file.WriteInteger(block, Tracks, QStringLiteral("CT"), count);
        },
        {});
    updateCurrent(id, code, [&](AlbumInfo &album) {
        auto &values = notes ? album.trackNotes : album.trackTitles;
        if (track > 0) {
            values[std::size_t(track)] = value;
            return;
        }
        const int tracks = qMin(m_current->disc.trackCount, int(AlbumInfo::MaxTracks));
        for (int i = 1; i <= qMin(tracks, int(items.size())); ++i)
            values[std::size_t(i)] = items.at(i - 1).trimmed();
    });
    return stored;
}

bool Collection::SetAlbumTrackTitle(const QString &id, int track, const QString &value)
{
    return setTrackValues(id, track, value, false);
}

bool Collection::SetAlbumTrackNote(const QString &id, int track, const QString &escaped)
{
    return setTrackValues(id, track, escaped, true);
}

bool Collection::SetAlbumWebLinks(const QString &id, const QString &items, bool replace)
{
    const WebLinkList parsed = parseWebLinkItems(items);
    if (isCurrentAlbum(id)) {
        // The album in the drive keeps its links in memory; they reach the file when it is
        // stored.
        if (replace)
            m_current->webLinks.clear();
        mergeWebLinks(m_current->webLinks, parsed);
        notifyCurrentAlbumChanged(ChangeWebLinks);
        if (const AlbumIndexNode *node = FindAlbum(id)) {
            notifyIndexChanged(*node, ChangeWebLinks, items);
            notifyAlbumChanged(node->id, ChangeWebLinks);
        }
        return replace || !parsed.isEmpty();
    }
    return storeField(
        id, ChangeWebLinks, items,
        [&](TCfgFile &file, const QString &block) {
            WebLinkList links;
            if (replace) {
                file.EraseSection(block, WebLink);
            } else {
                const int stored = StoredCount(file, block, WebLink, QStringLiteral("WU"), INT_MAX);
                for (int n = 1; n <= stored; ++n) {
                    WebLinkItem link;
                    link.title = file.ReadString(block, WebLink, key("WT", n), {});
                    link.address = file.ReadString(block, WebLink, key("WU", n), {});
                    link.flags = file.ReadInteger(block, WebLink, key("WF", n), 0);
                    links.append(link);
                }
            }
            const QList<int> changed = mergeWebLinks(links, parsed);
            for (const int at : changed) {
                const WebLinkItem &link = links.at(at);
                file.WriteString(block, WebLink, key("WT", at + 1), link.title);
                file.WriteString(block, WebLink, key("WU", at + 1), link.address);
                file.WriteInteger(block, WebLink, key("WF", at + 1), link.flags);
            }
            file.WriteInteger(block, WebLink, QStringLiteral("CT"), int(links.size()));
        },
        {});
}

} // namespace Orbisong
