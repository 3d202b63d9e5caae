#include "collection/Collection.h"

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
#include "collection/StoredText.h"
#include "collection/TCfgFile.h"

#include <QDate>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCollection, "orbisong.collection")

namespace Orbisong {

using namespace CollectionSections;

namespace {

constexpr int LargeCollectionSize = 100;


// IDs are compared upper-cased (ASCII letters) both when the index is built and when it is
// searched, so hand-edited lower-case IDs are found and never indexed twice.
QString indexKey(const QString &id)
{
    QString key = id;
    for (QChar &c : key) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return key;
}

int hexDigit(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    return -1;
}

int parseInteger(QByteArrayView text, int fallback)
{
    bool ok = false;
    int value;
    if (text.startsWith('$'))
        value = int(text.sliced(1).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

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

int albumBucket(const QString &id)
{
    if (id.isEmpty())
        return 0;
    int value = 0;
    for (qsizetype i = 0; i < qMin<qsizetype>(2, id.size()); ++i) {
        const int digit = hexDigit(id.at(i));
        if (digit < 0)
            return 0;
        value = value * 16 + digit;
    }
    return value;
}

Collection::Collection(Settings &settings, const QString &path)
    : m_settings(settings), m_path(path.isEmpty() ? settings.collectionPath : path)
{
}

Collection::~Collection()
{
    if (m_file)
        ShutdownCollection();
}

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

bool Collection::loadFile()
{
    auto file = std::make_unique<TCfgFile>(m_path);
    if (!file->load()) {
        m_lastError = file->errorString();
        qCWarning(lcCollection) << "cannot load" << m_path << m_lastError;
        askOrDefault(
            m_questions, Msg::Notice,
            QStringLiteral("OB4COLL_OpenCollectionFile(): Exception in TCfgFile.Create('") +
                m_path + QStringLiteral("')"),
            m_lastError);
        return false;
    }
    m_file = std::move(file);
    return true;
}

bool Collection::writeFile()
{
    if (m_file->save())
        return true;
    m_lastError = m_file->errorString();
    qCWarning(lcCollection) << "cannot write" << m_path << m_lastError;
    askOrDefault(m_questions, Msg::Notice, QStringLiteral("Unable to save the collection file."),
                 QStringLiteral("The collection file '%1' could not be written: %2. The previous "
                                "file was left unchanged.")
                     .arg(m_path, m_lastError));
    return false;
}

bool Collection::OpenCollectionFile()
{
    if (m_openCount <= 0) {
        m_openCount = 0;
        if (!m_file) {
            setBusy(true);
            loadFile();
            setBusy(false);
        }
    }
    ++m_openCount;
    return m_file != nullptr;
}

bool Collection::CloseCollection()
{
    --m_openCount;
    if (m_openCount > 0)
        return true;
    m_openCount = 0;
    if (!m_file)
        return true;
    setBusy(true);
    // A file that cannot be written stays loaded, so the changes survive until a later
    // close succeeds.
    const bool written = writeFile();
    if (written)
        m_file.reset();
    setBusy(false);
    return written;
}

bool Collection::ShutdownCollection()
{
    m_pinned = false;
    bool written = true;
    // A file kept after a failed write gets one more attempt.
    if (m_openCount > 0 || m_file) {
        m_openCount = 1;
        written = CloseCollection();
    }
    freeIndex();
    return written;
}

void Collection::pin()
{
    OpenCollectionFile();
    m_openCount = PinnedCount;
    m_pinned = true;
}

void Collection::freeIndex()
{
    for (Bucket &bucket : m_buckets)
        bucket.clear();
}

void Collection::BuildAlbumIndex()
{
    m_changeCounter = 0;
    m_albumCount = 0;
    freeIndex();
    if (m_converting)
        return;
    if (m_settings.GetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN))
        pin();
    OpenCollectionFile();
    if (TCfgFile *file = m_file.get()) {
        QStringList withoutId;
        for (int i = 0; i < file->blockCount(); ++i) {
            bool found = false;
            const QByteArrayView id = file->readRawAt(i, "Album", "ID", &found);
            if (id.trimmed().isEmpty()) {
                withoutId.append(QString::fromUtf8(file->blockNameAt(i)));
                continue;
            }
            auto node = std::make_unique<AlbumIndexNode>();
            node->id = decodeStoredText(id);
            node->blockName = QString::fromUtf8(file->blockNameAt(i));
            node->flags = parseInteger(file->readRawAt(i, "Album", "FL", &found), 0);
            const auto text = [&](const char *key) {
                bool present = false;
                return decodeStoredText(file->readRawAt(i, "Album", key, &present));
            };
            node->artist = text("AR");
            node->binder = text("BI");
            node->category = text("CA");
            node->owner = text("OW");
            node->title = text("TL");
            node->year = text("YR");
            node->trackCount = parseInteger(file->readRawAt(i, "Tracks", "CT", &found), 0);
            const QByteArrayView kind = file->readRawAt(i, "Media", "MD", &found);
            node->mediaKind = found ? parseInteger(kind, MediaKindCdRom) : MediaKindCdRom;
            insertNode(std::move(node));
        }
        for (const QString &name : std::as_const(withoutId))
            file->EraseBlock(name);
    }
    CloseCollection();
}

Collection::Bucket::const_iterator Collection::findNode(const QString &id) const
{
    const Bucket &bucket = m_buckets[std::size_t(albumBucket(id))];
    const QString key = indexKey(id);
    // Among equal IDs the one added first is found, as a search tree that sends equal IDs
    // to the left would find it.
    auto it = bucket.upper_bound(key);
    if (it == bucket.begin())
        return bucket.end();
    --it;
    return it->first == key ? it : bucket.end();
}

AlbumIndexNode *Collection::FindAlbum(const QString &id) const
{
    const Bucket &bucket = m_buckets[std::size_t(albumBucket(id))];
    const auto it = findNode(id);
    return it == bucket.end() ? nullptr : it->second.get();
}

AlbumIndexNode *Collection::insertNode(std::unique_ptr<AlbumIndexNode> node)
{
    Bucket &bucket = m_buckets[std::size_t(albumBucket(node->id))];
    const QString key = indexKey(node->id);
    // The index is balanced, so a file whose albums come sorted (as every written file
    // does) does not degrade lookups or the build into a list walk.
    auto it = bucket.emplace_hint(bucket.lower_bound(key), key, std::move(node));
    AlbumIndexNode *added = it->second.get();
    notifyIndexChanged(*added, ChangeAlbumAdded, {});
    ++m_changeCounter;
    ++m_albumCount;
    askLargeCollectionQuestion();
    return added;
}

void Collection::askLargeCollectionQuestion()
{
    if (m_converting)
        return;
    if (m_settings.peakCount < LargeCollectionSize && m_albumCount >= LargeCollectionSize &&
        !m_settings.GetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN)) {
        const int answer = askOrDefault(m_questions, Msg::LargeCollection);
        m_settings.SetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN, answer == ResultYes);
        if (!isPinned())
            pin();
    }
    m_settings.peakCount = qMax(m_settings.peakCount, m_albumCount);
}

AlbumIndexNode *Collection::AddAlbumToIndex(const QString &id, const QString &blockName,
                                            int mediaKind, int trackCount, const QString &year,
                                            const QString &title, const QString &owner,
                                            const QString &category, const QString &binder,
                                            const QString &artist, int flags)
{
    auto node = std::make_unique<AlbumIndexNode>();
    node->id = id;
    node->blockName = blockName;
    node->mediaKind = mediaKind;
    node->trackCount = trackCount;
    node->year = year;
    node->title = title;
    node->owner = owner;
    node->category = category;
    node->binder = binder;
    node->artist = artist;
    node->flags = flags;
    return insertNode(std::move(node));
}

bool Collection::removeNode(const QString &id)
{
    Bucket &bucket = m_buckets[std::size_t(albumBucket(id))];
    const auto found = findNode(id);
    if (found == bucket.end())
        return false;
    const AlbumIndexNode &node = *found->second;
    OpenCollectionFile();
    notifyIndexChanged(node, ChangeAlbumDeleted, {});
    notifyAlbumChanged(node.id, ChangeAlbumDeleted);
    if (m_file)
        m_file->EraseBlock(node.blockName);
    bucket.erase(found);
    CloseCollection();
    return true;
}

bool Collection::isCurrentAlbum(const QString &id) const
{
    return m_current && !m_current->disc.id.isEmpty() &&
           indexKey(m_current->disc.id) == indexKey(id);
}

bool Collection::DeleteAlbum(const QString &id, bool force)
{
    ++m_changeCounter;
    if (!force && m_current && m_current->discPresent && !isCdRomKind(m_current->disc.mediaKind) &&
        isCurrentAlbum(id))
        return false;
    if (!removeNode(id))
        return false;
    --m_albumCount;
    return true;
}

QList<const AlbumIndexNode *> Collection::albums() const
{
    QList<const AlbumIndexNode *> list;
    list.reserve(m_albumCount);
    for (const Bucket &bucket : m_buckets) {
        for (const auto &entry : bucket)
            list.append(entry.second.get());
    }
    return list;
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
                const int stored = file.ReadInteger(block, WebLink, QStringLiteral("CT"), 0);
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
