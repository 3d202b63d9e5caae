#pragma once

#include "collection/AlbumIndexNode.h"
#include "collection/WebLinkItem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <map>
#include <memory>

namespace Orbisong {

class CollectionSink;
class QuestionPort;
struct AlbumInfo;
class TCfgFile;
struct CurrentAlbum;
struct Settings;

// The collection file and its album index. The file is loaded by the outermost
// OpenCollectionFile and written (when changed) by the matching CloseCollection; pinning
// keeps it loaded until ShutdownCollection. All of it runs on the main thread.
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
    // not be loaded (reported to the user); CloseCollection returns false when writing it
    // failed (reported to the user, the data stays in memory for the next attempt).
    bool OpenCollectionFile();
    bool CloseCollection();
    // Writes and releases the file even when pinned, and frees the index.
    bool ShutdownCollection();
    // Keeps the file loaded until ShutdownCollection.
    void pin();
    bool isPinned() const { return m_pinned; }
    int openCount() const { return m_openCount; }
    // The loaded file while the collection is open, else nullptr.
    TCfgFile *file() const { return m_file.get(); }
    // Why the last load or write failed.
    QString lastError() const { return m_lastError; }

    // Builds the index from the file: blocks without an album ID are erased.
    void BuildAlbumIndex();
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
    int albumCount() const { return m_albumCount; }
    // Rises with every addition to and deletion from the index.
    quint64 changeCounter() const { return m_changeCounter; }
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

private:
    using Bucket = std::multimap<QString, std::unique_ptr<AlbumIndexNode>>;

    AlbumIndexNode *insertNode(std::unique_ptr<AlbumIndexNode> node);
    bool removeNode(const QString &id);
    Bucket::const_iterator findNode(const QString &id) const;
    void askLargeCollectionQuestion();
    void freeIndex();
    bool loadFile();
    bool writeFile();
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
    std::array<Bucket, 256> m_buckets;
    int m_albumCount = 0;
    quint64 m_changeCounter = 0;
    bool m_converting = false;
    QString m_lastError;
    QList<CollectionSink *> m_sinks;
    CurrentAlbum *m_current = nullptr;
};

} // namespace Orbisong
