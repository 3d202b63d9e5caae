#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The aiosmtpd mail sink on a free port of 127.0.0.1, printing each message it takes.
class SmtpSink
{
public:
    ~SmtpSink();
    bool start();
    int port() const { return m_port; }
    // The next message as the server stored it (dot-stuffing undone), one entry a line;
    // empty when none arrives.
    QStringList nextMessage();

private:
    QProcess m_process;
    int m_port = 0;
};

// tests/peers/smtp_peer.py in one of its modes.
class SmtpPeer
{
public:
    ~SmtpPeer();
    bool start(const QString &mode);
    int port() const { return m_port; }
    QStringList transcript() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
