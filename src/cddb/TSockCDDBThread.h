#pragma once

#include "cddb/TCDDBThread.h"

class QTcpSocket;

namespace Orbisong {

// A lookup over CDDBP, directly or through a SOCKS 4 proxy.
class TSockCDDBThread : public TCDDBThread
{
    Q_OBJECT

public:
    TSockCDDBThread(RunningLookups &lookups, const CddbLookupSettings &settings,
                    const QString &albumId, const QString &query);

protected:
    void runLookup() override;

private:
    bool connectToServer();
    bool socksHandshake();
    bool sendCommand(const QString &command);
    bool receiveResponse(QByteArray *response);
    bool waitForData(int timeoutMs);
    void handleResponse(const QByteArray &response);
    void waitForServerClose();
    void closeSocket();
    void quit();

    QTcpSocket *m_socket = nullptr;
};

} // namespace Orbisong
