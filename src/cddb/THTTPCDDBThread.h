#pragma once

#include "cddb/TCDDBThread.h"

class QNetworkAccessManager;
class QUrl;

namespace Orbisong {

// A lookup with CDDB commands carried in HTTP (or HTTPS) POST requests.
class THTTPCDDBThread : public TCDDBThread
{
    Q_OBJECT

public:
    THTTPCDDBThread(RunningLookups &lookups, const CddbLookupSettings &settings,
                    const QString &albumId, const QString &query);

    // The form body for one command, with the greeting and protocol level.
    QByteArray body(const QString &command) const;

protected:
    void runLookup() override;

private:
    bool post(QNetworkAccessManager &manager, const QByteArray &body, QByteArray *response);
    // One request; a redirect leaves its target in `redirect` and no response.
    bool postTo(QNetworkAccessManager &manager, const QUrl &url, const QByteArray &body,
                QByteArray *response, QUrl *redirect);
};

} // namespace Orbisong
