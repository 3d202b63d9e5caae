#include "Collection.h"

#include "CollectionSink.h"
#include "Settings.h"
#include "TCfgFile.h"

namespace Orbisong {

namespace {
Collection *globalCollection = nullptr;
}

int albumBucket(const QString &id)
{
    bool ok = false;
    const int bucket = id.left(2).toInt(&ok, 16);
    return ok && bucket >= 0 && bucket < 256 ? bucket : 0;
}

Collection::Collection(Settings &settings, const QString &path)
    : m_settings(settings)
    , m_path(path.isEmpty() ? settings.collectionPath : path)
{
}

Collection::~Collection() = default;

Collection *Collection::global()
{
    return globalCollection;
}

void Collection::setGlobal(Collection *collection)
{
    globalCollection = collection;
}

void Collection::addSink(CollectionSink *sink)
{
    m_sinks.append(sink);
}

void Collection::removeSink(CollectionSink *sink)
{
    m_sinks.removeAll(sink);
}

bool Collection::OpenCollectionFile() { return false; }
bool Collection::CloseCollection() { return true; }
bool Collection::ShutdownCollection() { return true; }
void Collection::pin() {}
void Collection::BuildAlbumIndex() {}
AlbumIndexNode *Collection::FindAlbum(const QString &) const { return nullptr; }
int Collection::GetMediaKind(const QString &) { return 0; }
AlbumIndexNode *Collection::AddAlbumToIndex(const QString &, const QString &, int, int,
                                            const QString &, const QString &, const QString &,
                                            const QString &, const QString &, const QString &,
                                            int)
{
    return nullptr;
}
bool Collection::DeleteAlbum(const QString &, bool) { return false; }
QList<const AlbumIndexNode *> Collection::albums() const { return {}; }
bool Collection::SetAlbumArtist(const QString &, const QString &) { return false; }
bool Collection::SetAlbumBinder(const QString &, const QString &) { return false; }
bool Collection::SetAlbumCategory(const QString &, const QString &) { return false; }
bool Collection::SetAlbumComments(const QString &, const QString &) { return false; }
bool Collection::SetAlbumCopyright(const QString &, const QString &) { return false; }
bool Collection::SetAlbumCustomData(const QString &, const QStringList &) { return false; }
bool Collection::SetAlbumFlags(const QString &, int) { return false; }
bool Collection::SetAlbumIndex(const QString &, const QString &) { return false; }
bool Collection::SetAlbumOther(const QString &, const QString &) { return false; }
bool Collection::SetAlbumOwner(const QString &, const QString &) { return false; }
bool Collection::SetAlbumEvent(const QString &, int, const QString &) { return false; }
bool Collection::SetAlbumSource(const QString &, int) { return false; }
bool Collection::SetAlbumTitle(const QString &, const QString &) { return false; }
bool Collection::SetAlbumYear(const QString &, const QString &) { return false; }
bool Collection::SetAlbumRevision(const QString &, int) { return false; }
bool Collection::SetAlbumTrackTitle(const QString &, int, const QString &) { return false; }
bool Collection::SetAlbumTrackNote(const QString &, int, const QString &) { return false; }
bool Collection::SetAlbumWebLinks(const QString &, const QString &, bool) { return false; }
bool Collection::ImportCollection(const QString &) { return false; }
void Collection::notifyIndexChanged(const AlbumIndexNode &, int, const QVariant &) {}
void Collection::notifyAlbumChanged(const QString &, int) {}
void Collection::notifyCurrentAlbumChanged(int) {}

} // namespace Orbisong
