#pragma once

#include "cddb/TCDDBThread.h"

class QNetworkAccessManager;

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
};

} // namespace Orbisong
