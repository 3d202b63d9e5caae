#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <atomic>

namespace Orbisong {

// One GET to MusicBrainz or the cover service, sent from a worker thread through the rate
// gate, with the User-Agent those services ask for.
struct FetchResult
{
    int status = 0; // the HTTP status; 0 when no reply came
    QByteArray body;
    int retryAfter = -1; // seconds from a Retry-After header, -1 without one
    QString error;       // why no reply came
    bool stopped = false;
};

// "Orbisong/<version> ( <contact> )", as the services want a program to name itself.
QString ServiceUserAgent();

// Sends the request and waits for the reply; `stop` ends the wait at once. Up to `redirects`
// redirects are followed, each to the same scheme or from http to https only.
FetchResult GatedFetch(const QUrl &url, const std::atomic<bool> &stop, int redirects = 0);

} // namespace Orbisong
