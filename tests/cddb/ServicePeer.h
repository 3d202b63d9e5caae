#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The MusicBrainz or cover service stand-in from tests/peers, on 127.0.0.1.
class ServicePeer
{
public:
    ~ServicePeer();

    // The MusicBrainz peer, answering from `routes` (see musicbrainz_peer.py); routes can
    // change while it runs.
    bool startMusicBrainz(const QJsonObject &routes = {});
    void setRoutes(const QJsonObject &routes);
    // The cover peer, with the pictures it serves by release id.
    bool startCover(const QStringList &pictureArgs, const QString &elsewhere = {});

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    QStringList transcript() const;
    // The request lines of the transcript, without their times.
    QStringList requests() const;
    // The peer's arrival times of the requests, in seconds.
    QList<double> arrivals() const;

    // A reply of the MusicBrainz peer.
    static QJsonObject reply(int status, const QByteArray &body, double delay = 0);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
