#include "cddb/THTTPCDDBThread.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace Orbisong {

namespace {

constexpr int PollMs = 100;
// A server may move its script once or twice; a longer chain is a loop or a trap.
constexpr int MaxRedirects = 3;

// A redirect keeps the scheme or moves up from HTTP to HTTPS: never down from HTTPS, never to
// another kind of address.
bool redirectAllowed(const QUrl &from, const QUrl &to)
{
    const QString scheme = to.scheme().toLower();
    return to.isValid() && !to.host().isEmpty() &&
           (scheme == from.scheme().toLower() ||
            (scheme == QLatin1String("https") && from.scheme() == QLatin1String("http")));
}

bool isRedirect(int httpStatus)
{
    return httpStatus == 301 || httpStatus == 302 || httpStatus == 303 || httpStatus == 307 ||
           httpStatus == 308;
}

// The numbers our messages know for failures of an HTTP request.
int internetError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return 12007;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::SslHandshakeFailedError:
        return 12029;
    case QNetworkReply::TimeoutError:
        return 12002;
    case QNetworkReply::ProtocolUnknownError:
        return 12005;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return 12020;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return 12023;
    default:
        return 12004;
    }
}

} // namespace

THTTPCDDBThread::THTTPCDDBThread(RunningLookups &lookups, const CddbLookupSettings &settings,
                                 const QString &albumId, const QString &query)
    : TCDDBThread(lookups, settings, albumId, query)
{
}

QByteArray THTTPCDDBThread::body(const QString &command) const
{
    return "cmd=" + encodeFormValue(command) + "&hello=" + encodeFormValue(helloText()) +
           "&proto=" + QByteArray::number(m_settings.protocolLevel);
}

bool THTTPCDDBThread::post(QNetworkAccessManager &manager, const QByteArray &requestBody,
                           QByteArray *response)
{
    QUrl url;
    url.setScheme(m_settings.usesHttps() ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(m_settings.host());
    url.setPort(m_settings.port);
    url.setPath(m_settings.path());
    if (!url.isValid() || m_settings.host().isEmpty()) {
        fail(SendFailed, 12005);
        return false;
    }
    // Redirects are followed here rather than by the network layer, so that each one is
    // checked and a chain of them ends after a few.
    for (int hops = 0;; ++hops) {
        QUrl next;
        if (!postTo(manager, url, requestBody, response, &next))
            return false;
        if (next.isEmpty())
            return true;
        if (hops == MaxRedirects || !redirectAllowed(url, next)) {
            fail(BadResponse, -5);
            return false;
        }
        url = next;
    }
}

bool THTTPCDDBThread::postTo(QNetworkAccessManager &manager, const QUrl &url,
                             const QByteArray &requestBody, QByteArray *response, QUrl *redirect)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Orbisong 4.0.3"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_settings.idleTimeoutSeconds * 1000);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);

    QNetworkReply *reply = manager.post(request, requestBody + "\r\n");
    QByteArray buffer;
    bool oversized = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        buffer += reply->readAll();
        if (buffer.size() > BufferSize) {
            oversized = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer stopPoll;
    QObject::connect(&stopPoll, &QTimer::timeout, &loop, [&] {
        if (m_stop)
            reply->abort();
    });
    stopPoll.start(PollMs);
    if (!reply->isFinished())
        loop.exec();
    buffer += reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    reply->deleteLater();
    if (m_stop)
        return false;
    if (error == QNetworkReply::NoError && isRedirect(httpStatus)) {
        *redirect = url.resolved(target);
        return true;
    }
    if (oversized || buffer.size() > BufferSize) {
        fail(BadResponse, -5);
        return false;
    }
    if (error != QNetworkReply::NoError || httpStatus >= 400) {
        // A body that ends before its announced length is a cut answer, not a lost server.
        if (httpStatus >= 400 ||
            (error == QNetworkReply::RemoteHostClosedError && !buffer.isEmpty()))
            fail(BadResponse, -5);
        else
            fail(SendFailed, internetError(error));
        return false;
    }
    *response = buffer;
    return true;
}

void THTTPCDDBThread::runLookup()
{
    QNetworkAccessManager manager;
    m_state = MotdRequested;
    QByteArray requestBody = body(QStringLiteral("motd"));
    while (!m_stop && m_errorKind == NoError && m_state != Disconnecting) {
        QByteArray raw;
        if (!post(manager, requestBody, &raw)) {
            if (m_stop || m_state != MotdRequested)
                return;
            // Without a welcome message the query still goes ahead.
            m_errorKind = NoError;
            m_errorCode = 0;
            raw.clear();
        }
        const int status = responseStatus(raw);
        // A listing that lacks its "." line was cut short and is never used in part.
        const bool listing = status == 210 || status == 211;
        if ((status <= 0 && m_state != MotdRequested) || (listing && !responseComplete(raw))) {
            fail(BadResponse, -5);
            return;
        }
        const QString response = decodeResponse(raw);
        const QString statusLine = response.section(QLatin1Char('\n'), 0, 0).trimmed();
        switch (m_state) {
        case MotdRequested:
            if (status == 210)
                m_welcome = response;
            setState(QuerySent);
            requestBody = body(QStringLiteral("cddb query ") + m_query);
            break;
        case QuerySent:
            if (status == 200) {
                if (!takeMatch(word(statusLine, 1), word(statusLine, 2)))
                    return;
                setState(ReadSent);
                requestBody =
                    body(QStringLiteral("cddb read ") + m_category + QLatin1Char(' ') + m_discId);
            } else if (status == 202) {
                m_result = NotFound;
                setState(Disconnecting);
            } else if (status == 211 || status == 210) {
                m_matches = response;
                m_state = InexactReceived;
                if (!chooseMatch())
                    return;
                setState(ReadSent);
                requestBody =
                    body(QStringLiteral("cddb read ") + m_category + QLatin1Char(' ') + m_discId);
            } else {
                setState(Disconnecting);
            }
            break;
        case ReadSent:
            if (status == 210) {
                m_entry = response;
                m_result = Found;
            }
            setState(Disconnecting);
            break;
        default:
            setState(Disconnecting);
            break;
        }
    }
}

} // namespace Orbisong
