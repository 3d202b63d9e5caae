#include "cddb/TMusicBrainzThread.h"

#include "base/ThreadWindow.h"
#include "cddb/GatedFetch.h"
#include "cddb/MusicBrainzReply.h"

#include <QUrlQuery>

namespace Orbisong {

TMusicBrainzThread::TMusicBrainzThread(const QString &server, const DiscToc &toc,
                                       ThreadWindow *window, QObject *parent)
    : QThread(parent), m_server(server), m_toc(toc), m_window(window),
      m_discId(MusicBrainzDiscId(toc))
{
    connect(this, &QThread::finished, this, [this] { emit lookupFinished(m_result); });
}

TMusicBrainzThread::~TMusicBrainzThread()
{
    m_stop = true;
    wait();
}

void TMusicBrainzThread::run()
{
    m_result = lookUp();
}

QUrl TMusicBrainzThread::lookupUrl(bool byToc) const
{
    QString base = m_server.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    QUrl url(base + QStringLiteral("/ws/2/discid/") + (byToc ? QStringLiteral("-") : m_discId));
    QUrlQuery query;
    if (byToc)
        query.addQueryItem(QStringLiteral("toc"), MusicBrainzTocParameter(m_toc));
    query.addQueryItem(QStringLiteral("inc"), QStringLiteral("artist-credits+recordings"));
    query.addQueryItem(QStringLiteral("fmt"), QStringLiteral("json"));
    url.setQuery(query);
    return url;
}

int TMusicBrainzThread::fail(const QString &text)
{
    m_errorText = text;
    return Failed;
}

int TMusicBrainzThread::lookUp()
{
    if (m_discId.isEmpty())
        return fail(QStringLiteral("The disc's table of contents has no MusicBrainz disc id."));
    FetchResult reply;
    for (bool byToc : {false, true}) {
        emit statusChanged(byToc ? QStringLiteral("Searching MusicBrainz by table of contents")
                                 : QStringLiteral("Asking MusicBrainz for disc %1").arg(m_discId));
        reply = GatedFetch(lookupUrl(byToc), m_stop);
        if (reply.stopped)
            return fail(QString());
        if (reply.status != 404)
            break;
    }
    if (reply.status == 404)
        return NotFound;
    if (reply.status == 503) {
        const QString wait = reply.retryAfter >= 0
                                 ? QStringLiteral(" Try again in %1 seconds.").arg(reply.retryAfter)
                                 : QString();
        return fail(QStringLiteral("MusicBrainz is busy and turned the lookup away (503).") + wait);
    }
    if (reply.status != 200)
        return fail(reply.status
                        ? QStringLiteral("MusicBrainz answered with status %1.").arg(reply.status)
                        : QStringLiteral("MusicBrainz cannot be reached: %1").arg(reply.error));
    if (!ParseMusicBrainzReply(reply.body, m_discId, m_toc.last - m_toc.first + 1, &m_releases))
        return fail(QStringLiteral("MusicBrainz sent a reply that cannot be read."));
    if (m_releases.isEmpty())
        return NotFound;
    if (m_listOnly)
        return Found;
    return choose() ? Found : NotFound;
}

bool TMusicBrainzThread::choose()
{
    if (m_releases.size() == 1 || !m_window) {
        m_chosen = m_releases.first();
        return true;
    }
    ThreadRequest request;
    request.kind = ThreadRequest::ChooseMatch;
    request.textA = MusicBrainzMatchList(m_releases);
    if (!m_window->request(&request) || request.textC.isEmpty())
        return false;
    bool ok = false;
    const int index = request.textC.toInt(&ok, 16);
    if (!ok || index < 0 || index >= m_releases.size())
        return false;
    m_chosen = m_releases.at(index);
    return true;
}

} // namespace Orbisong
