// The collection's album index: its build (on a thread of its own at start-up), lookups,
// additions and deletions.

#include "collection/CollectionIndexBuild.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "collection/CollectionSink.h"
#include "collection/CurrentAlbum.h"
#include "collection/DiscId.h"
#include "collection/MediaKind.h"
#include "collection/Settings.h"
#include "collection/StoredText.h"

#include <QLoggingCategory>

#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcCollection)

namespace Orbisong {

namespace {

constexpr int LargeCollectionSize = 100;

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

// The index is balanced, so a file whose albums come sorted (as every written file does)
// does not degrade lookups or the build into a list walk.
AlbumIndexNode *addToBuckets(Collection::Buckets &buckets, std::unique_ptr<AlbumIndexNode> node)
{
    Collection::Bucket &bucket = buckets[std::size_t(albumBucket(node->id))];
    const QString key = indexKey(node->id);
    auto it = bucket.emplace_hint(bucket.lower_bound(key), key, std::move(node));
    return it->second.get();
}

} // namespace

QString indexKey(const QString &id)
{
    QString key = id;
    for (QChar &c : key) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return key;
}

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

void Collection::IndexBuild::run(const QString &path)
{
    file = std::make_unique<TCfgFile>(path);
    loaded = file->load();
    if (loaded)
        scan(*file);
}

void Collection::IndexBuild::scan(TCfgFile &from)
{
    // Reads go to the first block of a name and so did the setters; the others would be
    // shadowed, so they get names of their own before anything is indexed.
    from.renameRepeatedBlocks([](const QString &name, const QString &renamed) {
        qCWarning(lcCollection) << "block" << name << "repeats an earlier name; renamed to"
                                << renamed;
    });
    for (int i = 0; i < from.blockCount(); ++i) {
        bool found = false;
        const QByteArrayView id = from.readRawAt(i, "Album", "ID", &found);
        if (id.trimmed().isEmpty()) {
            withoutId.append(QString::fromUtf8(from.blockNameAt(i)));
            continue;
        }
        auto node = std::make_unique<AlbumIndexNode>();
        node->id = decodeStoredText(id);
        // Most blocks are named by their ID: the name then shares the ID's text.
        const QByteArrayView name = from.blockNameAt(i);
        node->blockName = name == id ? node->id : QString::fromUtf8(name);
        node->flags = parseInteger(from.readRawAt(i, "Album", "FL", &found), 0);
        const auto text = [&](const char *key) {
            bool present = false;
            return decodeStoredText(from.readRawAt(i, "Album", key, &present));
        };
        node->artist = text("AR");
        node->binder = text("BI");
        node->category = text("CA");
        node->owner = text("OW");
        node->title = text("TL");
        node->year = text("YR");
        node->trackCount =
            std::clamp(parseInteger(from.readRawAt(i, "Tracks", "CT", &found), 0), 0, MaxTocTracks);
        const QByteArrayView kind = from.readRawAt(i, "Media", "MD", &found);
        node->mediaKind = found ? parseInteger(kind, MediaKindCdRom) : MediaKindCdRom;
        addToBuckets(buckets, std::move(node));
        ++albumCount;
    }
}

void Collection::freeIndex()
{
    for (Bucket &bucket : m_buckets)
        bucket.clear();
}

void Collection::BuildAlbumIndex()
{
    startAlbumIndex();
    awaitIndex();
}

void Collection::startAlbumIndex()
{
    awaitIndex();
    m_changeCounter = 0;
    m_albumCount = 0;
    freeIndex();
    if (m_converting)
        return;
    // The index is built from the file on disk: one still in memory from earlier is written
    // and let go first, unless someone holds it open.
    if (m_file && m_openCount <= 0 && flush())
        m_file.reset();
    m_indexBuild = std::make_unique<IndexBuild>();
    if (m_file) {
        m_indexBuild->scan(*m_file);
        installIndex();
        return;
    }
    IndexBuild *build = m_indexBuild.get();
    build->thread = std::thread([this, build, path = m_path] {
        build->run(path);
        post([this, build] {
            if (m_indexBuild.get() == build)
                installIndex();
        });
    });
}

void Collection::awaitIndex() const
{
    if (m_indexBuild)
        const_cast<Collection *>(this)->installIndex();
}

void Collection::installIndex()
{
    std::unique_ptr<IndexBuild> build = std::move(m_indexBuild);
    if (build->thread.joinable())
        build->thread.join();
    if (build->file) {
        if (!build->loaded) {
            m_lastError = build->file->errorString();
            reportLoadFailure();
            return;
        }
        m_file = std::move(build->file);
    }
    if (!build->withoutId.isEmpty())
        m_file->EraseBlocks(build->withoutId);
    if (m_file->isModified() && m_openCount <= 0)
        scheduleSave();
    m_buckets = std::move(build->buckets);
    m_albumCount = build->albumCount;
    m_changeCounter = quint64(m_albumCount);
    if (!m_sinks.isEmpty()) {
        for (const AlbumIndexNode *node : albums())
            notifyIndexChanged(*node, ChangeAlbumAdded, {});
    }
    askLargeCollectionQuestion();
    if (m_settings.GetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN) && !isPinned())
        pin();
}

int Collection::albumCount() const
{
    awaitIndex();
    return m_albumCount;
}

quint64 Collection::changeCounter() const
{
    awaitIndex();
    return m_changeCounter;
}

Collection::Bucket::const_iterator Collection::findNode(const QString &id) const
{
    awaitIndex();
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
    const auto it = findNode(id);
    const Bucket &bucket = m_buckets[std::size_t(albumBucket(id))];
    return it == bucket.end() ? nullptr : it->second.get();
}

AlbumIndexNode *Collection::insertNode(std::unique_ptr<AlbumIndexNode> node)
{
    awaitIndex();
    AlbumIndexNode *added = addToBuckets(m_buckets, std::move(node));
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
    awaitIndex();
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
    awaitIndex();
    QList<const AlbumIndexNode *> list;
    list.reserve(m_albumCount);
    for (const Bucket &bucket : m_buckets) {
        for (const auto &entry : bucket)
            list.append(entry.second.get());
    }
    return list;
}

} // namespace Orbisong
