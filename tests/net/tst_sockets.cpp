#include "net/TSockets.h"
#include "net/WinsockErrors.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Orbisong;

TEST(Sockets, ErrorTextsAndQtMapping)
{
    EXPECT_EQ(WinsockErrorText(10061), QStringLiteral("Connection refused"));
    EXPECT_EQ(WinsockErrorText(11001), QStringLiteral("Host not found"));
    EXPECT_EQ(WinsockErrorText(12345), QStringLiteral("Not a WinSock error"));
    EXPECT_EQ(WinsockErrorFromQt(QAbstractSocket::ConnectionRefusedError), 10061);
    EXPECT_EQ(WinsockErrorFromQt(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(WinsockErrorFromQt(QAbstractSocket::SocketTimeoutError), 10060);
    EXPECT_EQ(TSockets::fullMessage(QStringLiteral("FD_CONNECT"), 10061),
              QStringLiteral("Error 10061 in function FD_CONNECT\r\nConnection refused"));
}

TEST(Sockets, PortsByServiceNameOrNumber)
{
    // Names come from the machine's services database, which a minimal system may lack: the
    // expectation is what that database answers, and numbers never need it.
    const servent *smtp = getservbyname("smtp", "tcp");
    const quint16 smtpPort = smtp ? ntohs(quint16(smtp->s_port)) : 0;
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral(" smtp ")), smtpPort);
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral("888")), 888);
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral(" 25 ")), 25);
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral("65536")), 0);
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral("no-such-service")), 0);
    EXPECT_EQ(TSockets::resolvePort(QString()), 0);
}

TEST(Sockets, MissingAddressOrPortIsReported)
{
    TSockets sockets;
    QSignalSpy errors(&sockets, &TSockets::OnErrorOccurred);
    EXPECT_FALSE(sockets.SConnect());
    sockets.Port = QStringLiteral("888");
    EXPECT_FALSE(sockets.SConnect());
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.at(0).at(1).toString(), QStringLiteral("No server port was specified."));
    EXPECT_EQ(errors.at(1).at(1).toString(), QStringLiteral("No server address was specified."));
}

TEST(Sockets, AsynchronousDialogue)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    TSockets sockets;
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = QString::number(server.serverPort());
    QSignalSpy connected(&sockets, &TSockets::OnSessionConnected);
    QSignalSpy data(&sockets, &TSockets::OnDataAvailable);
    QSignalSpy closed(&sockets, &TSockets::OnSessionClosed);
    ASSERT_TRUE(sockets.SConnect());
    ASSERT_TRUE(connected.wait(5000));
    ASSERT_TRUE(server.hasPendingConnections() || server.waitForNewConnection(5000));
    QTcpSocket *peer = server.nextPendingConnection();
    peer->write("201 hello\r\n");
    ASSERT_TRUE(data.wait(5000));
    EXPECT_EQ(sockets.SReceive(), QByteArray("201 hello\r\n"));
    EXPECT_EQ(sockets.SSend("quit\r\n"), 6);
    for (int i = 0; i < 250 && peer->bytesAvailable() < 6; ++i)
        QTest::qWait(20);
    EXPECT_EQ(peer->readAll(), QByteArray("quit\r\n"));
    peer->disconnectFromHost();
    EXPECT_TRUE(closed.wait(5000));
}

TEST(Sockets, AsynchronousRefusalNamesTheConnectEvent)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    TSockets sockets;
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = QString::number(port);
    QSignalSpy errors(&sockets, &TSockets::OnErrorOccurred);
    ASSERT_TRUE(sockets.SConnect());
    ASSERT_TRUE(errors.wait(5000));
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10061);
    EXPECT_EQ(errors.at(0).at(1).toString(), QStringLiteral("Connection refused"));
}

TEST(Sockets, BlockingReceiveTimesOutAndDisconnectResets)
{
    // A raw peer tells a reset (ECONNRESET) from an orderly close (recv returns 0); the
    // error codes of a Qt socket name both "remote host closed".
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&address), length), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length), 0);

    TSockets sockets;
    sockets.NonBlocking = false;
    sockets.Timeout = 1;
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = QString::number(ntohs(address.sin_port));
    QSignalSpy errors(&sockets, &TSockets::OnErrorOccurred);
    ASSERT_TRUE(sockets.SConnect());
    const int peer = accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    EXPECT_TRUE(sockets.SReceive().isEmpty());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10060);
    EXPECT_EQ(errors.at(0).at(1).toString(), QStringLiteral("Blocking call timed out"));

    sockets.Disconnect();
    EXPECT_FALSE(sockets.isConnected());
    pollfd watch{peer, POLLIN, 0};
    ASSERT_EQ(poll(&watch, 1, 10000), 1);
    char byte = 0;
    errno = 0;
    EXPECT_EQ(recv(peer, &byte, 1, 0), -1);
    EXPECT_EQ(errno, ECONNRESET);
    close(peer);
    close(listener);
}
