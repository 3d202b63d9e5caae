#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The test CDDB server from tests/peers, serving a database folder it is given.
class CddbPeer
{
public:
    CddbPeer();
    ~CddbPeer();

    QString dbFolder() const { return m_dir.filePath(QStringLiteral("db")); }
    // Writes an entry file "<category>/<discid>".
    void addEntry(const QString &category, const QString &discId, const QByteArray &text);
    // Offers these lines ("category discid artist / title") as inexact matches for `discId`.
    void addInexact(const QString &discId, const QStringList &lines);
    bool start(const QStringList &options = {});
    int cddbpPort() const { return m_cddbpPort; }
    int httpPort() const { return m_httpPort; }
    // Set when started with "--tls-cert" and "--tls-key".
    int httpsPort() const { return m_httpsPort; }
    QStringList transcript() const;

    static QString peerScript(const QString &name);
    // Starts a peer that prints "<label> <port>" lines; returns the ports by label.
    static bool startPeer(QProcess &process, const QString &script, const QStringList &args,
                          const QStringList &labels, QList<int> *ports);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_cddbpPort = 0;
    int m_httpPort = 0;
    int m_httpsPort = 0;
};
