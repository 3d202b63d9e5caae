#pragma once

#include "net/MailMessage.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace Orbisong {

// One prepared submission: a mail for the SMTP server, or a POST to the submit script.
// Made on the main thread from the collection; sent by a SubmitRun on any thread.
struct SubmitJob
{
    enum Method { ByMail = 0, ByHttp = 1 };

    int method = ByMail;
    QString smtpServer; // "host" or "host:port"
    MailMessage mail;
    QString url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The whole message, headers and body, one line each (LF for CR LF); for HTTP the
    // request line, its headers and the body.
    QString text() const;
};

} // namespace Orbisong
