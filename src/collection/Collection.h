#pragma once

#include "collection/AlbumIndexNode.h"
#include "collection/WebLinkItem.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <map>
#include <memory>

namespace Orbisong {

class CollectionSaver;
class CollectionSink;
class QuestionPort;
struct AlbumInfo;
class TCfgFile;
struct CurrentAlbum;
struct Settings;

// The collection file and its album index. The file is loaded by the first
// OpenCollectionFile and then stays in memory, which holds the truth: the outermost
// CloseCollection after a change hands a snapshot to a background writer and returns at
// once; writes that pile up while one is running are coalesced into the next. Pinning only
// keeps the file loaded; its changes are written the same way. Everything but the writing and the first
// index build runs on the thread that created the collection; write failures are reported
// there through the question port.
class Collection
{
public:
    // The open count of a pinned file: no ordinary close brings it down to 0.
    static constexpr int PinnedCount = 0xF000;

    // The collection at `path`, or at the settings' "Collection Path" when empty. The
    // settings supply the options and "Peak Count", which the collection updates.
    explicit Collection(Settings &settings, const QString &path = {});
    // Releases the file like ShutdownCollection when it is still open.
    ~Collection();

    Collection(const Collection &) = delete;
    Collection &operator=(const Collection &) = delete;

    QString path() const { return m_path; }
    Settings &settings() { return m_settings; }
    // Where the collection's questions and errors go, also for the album records and the
    // conversion working on it; without a port they get their default answers.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    QuestionPort *questionPort() const { return m_questions; }

    void addSink(CollectionSink *sink);
    void removeSink(CollectionSink *sink);
    // The album of the disc in the open drive; nullptr when there is none.
    void setCurrentAlbum(CurrentAlbum *album) { m_current = album; }
    CurrentAlbum *currentAlbum() const { return m_current; }

    // Open and close in nested pairs. OpenCollectionFile returns false when the file could
    // not be loaded (reported to the user). The outermost CloseCollection starts writing the
    // changes in the background and returns true; false when an earlier write failed (that
    // was reported to the user, the data stays in memory and the next close or flush tries
    // again). Only flush() waits for the disk.
    bool OpenCollectionFile();
    bool CloseCollection();
    // Waits until every change made so far is on disk, also when pinned; false when that
    // failed (reported to the user, the data stays in memory).
    bool flush();
    // True while changes wait for the background writer or are being written.
    bool isWritePending() const;
    // While held, background writes wait; flush() lets them go. For tests that look at the
    // collection with a write outstanding.
    void holdWrites(bool hold);
    // Off: every outermost close writes before it returns, as flush() does.
    void setWriteBehind(bool writeBehind) { m_writeBehind = writeBehind; }
    // Flushes, releases the file even when pinned, and frees the index.
    bool ShutdownCollection();
    // Keeps the file loaded until ShutdownCollection.
    void pin();
    bool isPinned() const { return m_pinned; }
    int openCount() const { return m_openCount; }
    // The loaded file while the collection is open, else nullptr.
    TCfgFile *file() const { return m_openCount > 0 ? m_file.get() : nullptr; }
    // Why the last load or write failed.
    QString lastError() const { return m_lastError; }

    // Builds the index from the file: blocks without an album ID are erased, and blocks
    // whose names repeat (without regard to case) get names of their own.
    void BuildAlbumIndex();
    // The same, with the file loaded and indexed on another thread; the index arrives on
    // this thread's event loop, or when anything asks for the index or the file first
    // (which waits for it).
    void startAlbumIndex();
    bool isIndexReady() const { return !m_indexBuild; }
    AlbumIndexNode *FindAlbum(const QString &id) const;
    // The stored media kind of a known album, 0 when the ID is not indexed.
    int GetMediaKind(const QString &id);
    AlbumIndexNode *AddAlbumToIndex(const QString &id, const QString &blockName, int mediaKind,
                                    int trackCount, const QString &year, const QString &title,
                                    const QString &owner, const QString &category,
                                    const QString &binder, const QString &artist, int flags);
    // Removes the album from the index and the file. Without `force` the album of the audio
    // CD in the open drive is kept (false).
    bool DeleteAlbum(const QString &id, bool force);
    // Every indexed album in index order: bucket, then ID without regard to case.
    QList<const AlbumIndexNode *> albums() const;
    int albumCount() const;
    // Rises with every addition to and deletion from the index.
    quint64 changeCounter() const;
    bool isConverting() const { return m_converting; }
    void setConverting(bool converting) { m_converting = converting; }

    // Single-field setters: each writes one key of a stored album without loading it and
    // returns whether the stored album was changed. The album in the drive is updated too.
    bool SetAlbumArtist(const QString &id, const QString &value);
    bool SetAlbumBinder(const QString &id, const QString &value);
    bool SetAlbumCategory(const QString &id, const QString &value);
    bool SetAlbumComments(const QString &id, const QString &escaped);
    bool SetAlbumCopyright(const QString &id, const QString &value);
    bool SetAlbumCustomData(const QString &id, const QStringList &lines);
    bool SetAlbumFlags(const QString &id, int flags);
    bool SetAlbumIndex(const QString &id, const QString &value);
    bool SetAlbumOther(const QString &id, const QString &value);
    bool SetAlbumOwner(const QString &id, const QString &value);
    // n is 1 ("On_AlbumInsert") or 2 ("On_AlbumEject"); the script is plain text.
    bool SetAlbumEvent(const QString &id, int n, const QString &script);
    bool SetAlbumSource(const QString &id, int source);
    bool SetAlbumTitle(const QString &id, const QString &value);
    bool SetAlbumYear(const QString &id, const QString &value);
    bool SetAlbumRevision(const QString &id, int revision);
    // With a track of 1 or more only that track; with -1 `value` holds items separated by
    // CR, item i becoming track i's value for every track of the album.
    bool SetAlbumTrackTitle(const QString &id, int track, const QString &value);
    bool SetAlbumTrackNote(const QString &id, int track, const QString &escaped);
    // Items separated by CR, each an address, a title and a flags number separated by the
    // character 14. Merged into the stored links (by address, without regard to case) unless
    // `replace` is set.
    bool SetAlbumWebLinks(const QString &id, const QString &items, bool replace);

    // Merges another collection file: its albums replace those with the same ID.
    bool ImportCollection(const QString &path);

    // Notifies the sinks; for the parts that change albums outside the setters (the play
    // count of the playback layer).
    void notifyIndexChanged(const AlbumIndexNode &node, int code, const QVariant &value);
    void notifyAlbumChanged(const QString &id, int code);
    void notifyCurrentAlbumChanged(int code);

    using Bucket = std::multimap<QString, std::unique_ptr<AlbumIndexNode>>;
    using Buckets = std::array<Bucket, 256>;

private:
    struct IndexBuild;

    AlbumIndexNode *insertNode(std::unique_ptr<AlbumIndexNode> node);
    // Finishes a background index build: waits for it and takes its file and index. The
    // index is part of what the const readers show, so they finish it too.
    void awaitIndex() const;
    void installIndex();
    void indexLoadedFile();
    void scheduleSave();
    void createSaver();
    void submitSave();
    // Takes the finished writes' results; true when it reported a failure.
    bool collectSaveResults(bool report);
    void reportWriteFailure();
    void reportLoadFailure();
    // Runs `call` on the collection's thread when its event loop next turns.
    void post(std::function<void()> call);
    bool removeNode(const QString &id);
    Bucket::const_iterator findNode(const QString &id) const;
    void askLargeCollectionQuestion();
    void freeIndex();
    bool loadFile();
    void setBusy(bool busy);
    bool isCurrentAlbum(const QString &id) const;
    bool storeField(const QString &id, int code, const QVariant &value,
                    const std::function<void(TCfgFile &, const QString &)> &write,
                    const std::function<void(AlbumIndexNode &)> &updateNode);
    void updateCurrent(const QString &id, int code, const std::function<void(AlbumInfo &)> &update);
    bool setNodeText(const QString &id, const char *key, QString AlbumIndexNode::*field,
                     QString AlbumInfo::*albumField, const QString &value, int code);
    bool setPlainText(const QString &id, const char *section, const char *key,
                      QString AlbumInfo::*albumField, const QString &value, int code);
    bool setInteger(const QString &id, const char *key, int AlbumInfo::*albumField, int value,
                    int code);
    bool setTrackValues(const QString &id, int track, const QString &value, bool notes);

    Settings &m_settings;
    QuestionPort *m_questions = nullptr;
    QString m_path;
    std::unique_ptr<TCfgFile> m_file;
    int m_openCount = 0;
    bool m_pinned = false;
    Buckets m_buckets;
    int m_albumCount = 0;
    quint64 m_changeCounter = 0;
    bool m_converting = false;
    QString m_lastError;
    QList<CollectionSink *> m_sinks;
    CurrentAlbum *m_current = nullptr;
    bool m_writeBehind = true;
    // The file changed while a write was running; the next one starts when it ends.
    bool m_saveWanted = false;
    // The last write failed, and no later one succeeded.
    bool m_saveFailed = false;
    // Declared before the threads that post to it, so that it outlives them.
    std::unique_ptr<QObject> m_context;
    std::unique_ptr<CollectionSaver> m_saver;
    std::unique_ptr<IndexBuild> m_indexBuild;
};

} // namespace Orbisong
