#include "cddb/TCoverArtThread.h"

#include "cddb/GatedFetch.h"
#include "collection/AlbumCover.h"

#include <QRegularExpression>

namespace Orbisong {

TCoverArtThread::TCoverArtThread(const QString &server, const QString &releaseId,
                                 const QString &albumId, QObject *parent)
    : QThread(parent), m_server(server), m_releaseId(releaseId), m_albumId(albumId)
{
    connect(this, &QThread::finished, this, [this] { emit coverFinished(!m_coverPath.isEmpty()); });
}

TCoverArtThread::~TCoverArtThread()
{
    m_stop = true;
    wait();
}

void TCoverArtThread::run()
{
    // The id goes into the address: only the service's own characters are taken.
    static const QRegularExpression idShape(QStringLiteral("^[A-Za-z0-9-]+$"));
    if (!idShape.match(m_releaseId).hasMatch()) {
        m_errorText = QStringLiteral("not a release id: %1").arg(m_releaseId);
        return;
    }
    QString base = m_server.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QUrl url(base + QStringLiteral("/release/") + m_releaseId + QStringLiteral("/front-250"));
    const FetchResult reply = GatedFetch(url, m_stop, MaxRedirects);
    if (reply.stopped)
        return;
    if (reply.status == 404) {
        m_notFound = true;
        m_errorText = QStringLiteral("the cover service has no picture for %1").arg(m_releaseId);
        return;
    }
    if (reply.status != 200) {
        m_errorText =
            reply.error.isEmpty()
                ? QStringLiteral("the cover service answered with status %1").arg(reply.status)
                : reply.error;
        return;
    }
    QString path;
    if (AlbumCover::store(m_albumId, reply.body, &path, &m_errorText))
        m_coverPath = path;
}

} // namespace Orbisong
