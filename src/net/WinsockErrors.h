#pragma once

#include <QAbstractSocket>
#include <QString>

namespace Orbisong {

// The socket error numbers our messages are written in.
enum WinsockError {
    WSAEWOULDBLOCK = 10035,
    WSAEADDRINUSE = 10048,
    WSAENETDOWN = 10050,
    WSAECONNRESET = 10054,
    WSAETIMEDOUT = 10060,
    WSAECONNREFUSED = 10061,
    WSAHOST_NOT_FOUND = 11001,
};

// The readable text of a socket error number; "Not a WinSock error" for any other number.
QString WinsockErrorText(int code);
// Qt's socket error as the socket error number it stands for.
int WinsockErrorFromQt(QAbstractSocket::SocketError error);

} // namespace Orbisong
