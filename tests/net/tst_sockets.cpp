#include "net/TSockets.h"
#include "net/WinsockErrors.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

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
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral("smtp")), 25);
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral("888")), 888);
    EXPECT_EQ(TSockets::resolvePort(QStringLiteral("no-such-service")), 0);
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
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    TSockets sockets;
    sockets.NonBlocking = false;
    sockets.Timeout = 1;
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = QString::number(server.serverPort());
    QSignalSpy errors(&sockets, &TSockets::OnErrorOccurred);
    ASSERT_TRUE(sockets.SConnect());
    ASSERT_TRUE(server.waitForNewConnection(5000));
    QTcpSocket *peer = server.nextPendingConnection();
    EXPECT_TRUE(sockets.SReceive().isEmpty());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10060);
    EXPECT_EQ(errors.at(0).at(1).toString(), QStringLiteral("Blocking call timed out"));

    QSignalSpy peerError(peer, &QTcpSocket::errorOccurred);
    sockets.Disconnect();
    EXPECT_FALSE(sockets.isConnected());
    peer->waitForReadyRead(2000);
    ASSERT_FALSE(peerError.isEmpty());
    EXPECT_EQ(peerError.at(0).at(0).value<QAbstractSocket::SocketError>(),
              QAbstractSocket::RemoteHostClosedError);
}
