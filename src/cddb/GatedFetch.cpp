#include "cddb/GatedFetch.h"

#include "cddb/MusicBrainzRateGate.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>

namespace Orbisong {

namespace {

constexpr int TransferTimeoutMs = 30000;
constexpr int StopPollMs = 25;

bool waitForSlot(const std::atomic<bool> &stop)
{
    qint64 wait = MusicBrainzRateGate::reserve();
    while (wait > 0) {
        if (stop)
            return false;
        const qint64 step = qMin<qint64>(wait, StopPollMs);
        QThread::msleep(static_cast<unsigned long>(step));
        wait -= step;
    }
    return !stop;
}

bool allowedRedirect(const QUrl &from, const QUrl &to)
{
    if (!to.isValid())
        return false;
    return to.scheme() == from.scheme() ||
           (from.scheme() == QLatin1String("http") && to.scheme() == QLatin1String("https"));
}

} // namespace

QString ServiceUserAgent()
{
    return QStringLiteral("Orbisong/%1 ( mailto:contact@orbisong.example.org )")
        .arg(QStringLiteral(ORBISONG_VERSION));
}

FetchResult GatedFetch(const QUrl &url, const std::atomic<bool> &stop, int redirects)
{
    FetchResult result;
    QNetworkAccessManager manager;
    QUrl next = url;
    for (int hop = 0; hop <= redirects; ++hop) {
        if (!waitForSlot(stop)) {
            result.stopped = true;
            return result;
        }
        QNetworkRequest request(next);
        request.setHeader(QNetworkRequest::UserAgentHeader, ServiceUserAgent());
        request.setRawHeader("Accept", "application/json, image/*");
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(TransferTimeoutMs);
        QNetworkReply *reply = manager.get(request);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (stop)
                reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        poll.start(StopPollMs);
        loop.exec();
        reply->deleteLater();
        if (stop) {
            result.stopped = true;
            return result;
        }
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
        bool ok = false;
        const int seconds = reply->rawHeader("Retry-After").trimmed().toInt(&ok);
        result.retryAfter = ok ? seconds : -1;
        if (result.status == 0)
            result.error = reply->errorString();
        const bool redirect = result.status >= 300 && result.status < 400;
        if (!redirect)
            return result;
        const QUrl target =
            next.resolved(reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
        if (hop == redirects || !allowedRedirect(next, target)) {
            result.error = QStringLiteral("refused redirect to %1").arg(target.toString());
            return result;
        }
        next = target;
    }
    return result;
}

} // namespace Orbisong
