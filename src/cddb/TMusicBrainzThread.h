#pragma once

#include "cddb/FoundAlbum.h"
#include "cddb/MusicBrainzDiscId.h"

#include <QList>
#include <QThread>

#include <atomic>

namespace Orbisong {

class ThreadWindow;

// A MusicBrainz lookup on its own thread: the disc id lookup, then the fuzzy lookup by table
// of contents when the id is unknown. With several releases the user picks one through the
// thread window (no window: the first). The object lives on the thread that made it; its
// signals arrive there, and whoever started it applies the release.
class TMusicBrainzThread : public QThread
{
    Q_OBJECT

public:
    enum Result { Found = 0, NotFound = 1, Failed = 2 };

    // `server` is the service's base URL ("https://musicbrainz.org").
    TMusicBrainzThread(const QString &server, const DiscToc &toc, ThreadWindow *window,
                       QObject *parent = nullptr);
    ~TMusicBrainzThread() override;

    // Leaves the choice out: every release is kept and none is chosen.
    void setListOnly(bool listOnly) { m_listOnly = listOnly; }
    void requestStop() { m_stop = true; }

    QString discId() const { return m_discId; }
    int result() const { return m_result; }
    // Every release the service named, and the chosen one (when Found).
    QList<FoundAlbum> releases() const { return m_releases; }
    FoundAlbum chosen() const { return m_chosen; }
    // What went wrong, for the user, when Failed.
    QString errorText() const { return m_errorText; }

signals:
    void statusChanged(const QString &text);
    void lookupFinished(int result);

private:
    void run() override;
    int lookUp();
    QUrl lookupUrl(bool byToc) const;
    int fail(const QString &text);
    bool choose();

    QString m_server;
    DiscToc m_toc;
    ThreadWindow *m_window;
    QString m_discId;
    bool m_listOnly = false;
    std::atomic<bool> m_stop{false};
    int m_result = Failed;
    QList<FoundAlbum> m_releases;
    FoundAlbum m_chosen;
    QString m_errorText;
};

} // namespace Orbisong
