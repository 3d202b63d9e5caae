#pragma once

#include <QThread>

#include <atomic>

namespace Orbisong {

// Fetches the front picture of a MusicBrainz release from the cover service on its own
// thread and stores it as the album's cover. Signals arrive on the thread that made it.
class TCoverArtThread : public QThread
{
    Q_OBJECT

public:
    static constexpr int MaxRedirects = 3;

    // `server` is the cover service's base URL ("https://coverartarchive.org").
    TCoverArtThread(const QString &server, const QString &releaseId, const QString &albumId,
                    QObject *parent = nullptr);
    ~TCoverArtThread() override;

    void requestStop() { m_stop = true; }
    QString albumId() const { return m_albumId; }
    // The stored picture once fetched, else empty with errorText() saying why.
    QString coverPath() const { return m_coverPath; }
    QString errorText() const { return m_errorText; }
    // True when the service has no picture for the release.
    bool notFound() const { return m_notFound; }

signals:
    void coverFinished(bool stored);

private:
    void run() override;

    QString m_server;
    QString m_releaseId;
    QString m_albumId;
    std::atomic<bool> m_stop{false};
    QString m_coverPath;
    QString m_errorText;
    bool m_notFound = false;
};

} // namespace Orbisong
