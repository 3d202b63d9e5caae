#include "cddb/SubmitRun.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "net/TSMTP.h"

#include <QEventLoop>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace Orbisong {

namespace {

constexpr int CancelPollMs = 100;
// A submit script answers in one line or a few; more is not an answer.
constexpr qsizetype MaxAnswerBytes = 64 * 1024;

} // namespace

SubmitRun::SubmitRun(QObject *parent) : QObject(parent)
{
}

QString SubmitRun::statusText(int status, const QString &server)
{
    switch (status) {
    case TSMTP::Starting:
        return QStringLiteral("Finding ") + server;
    case TSMTP::Connecting:
        return QStringLiteral("Connecting");
    case TSMTP::Quitting:
        return QStringLiteral("Disconnecting");
    case TSMTP::SendingHeaders:
    case TSMTP::SendingEnvelope:
    case TSMTP::SendingBody:
    case TSMTP::SendingAttachments:
        return QStringLiteral("Sending");
    case TSMTP::Cancelling:
        return QStringLiteral("Cancelling");
    case TSMTP::Encoding:
        return QStringLiteral("Encoding");
    default:
        return {};
    }
}

void SubmitRun::report(QuestionPort *questions, int method, Result result, const QString &text)
{
    if (result == Sent)
        return;
    if (result == TimedOut && method == SubmitJob::ByMail) {
        askOrDefault(questions, Msg::SmtpTimedOut);
        return;
    }
    askOrDefault(questions, Msg::Notice, QStringLiteral("Unable to submit the album."), text);
}

SubmitRun::Result SubmitRun::finish(Result result, const QString &text)
{
    m_result = result;
    m_errorText = text;
    showStatus(QString());
    return result;
}

void SubmitRun::showStatus(const QString &text)
{
    if (text == m_shownStatus)
        return;
    m_shownStatus = text;
    emit statusChanged(text);
}

void SubmitRun::cancel()
{
    m_cancelled = true;
    QMutexLocker lock(&m_mutex);
    if (m_smtp)
        m_smtp->Cancel();
}

SubmitRun::Result SubmitRun::run(const SubmitJob &job)
{
    m_shownStatus.clear();
    return job.method == SubmitJob::ByHttp ? runHttp(job) : runMail(job);
}

SubmitRun::Result SubmitRun::runMail(const SubmitJob &job)
{
    TSMTP smtp;
    smtp.Server = job.smtpServer;
    smtp.TimeOut = TimeOut;
    smtp.Message = job.mail;
    connect(&smtp, &TSMTP::OnStatusChange, this,
            [this, &job](int status) { showStatus(statusText(status, job.smtpServer)); });
    {
        QMutexLocker lock(&m_mutex);
        m_smtp = &smtp;
        if (m_cancelled)
            smtp.Cancel();
    }
    const bool sent = smtp.SendMail();
    {
        QMutexLocker lock(&m_mutex);
        m_smtp = nullptr;
    }
    if (sent)
        return finish(Sent, {});
    switch (smtp.errorKind()) {
    case TSMTP::TimedOutError:
        return finish(TimedOut, smtp.errorText());
    case TSMTP::CanceledError:
        return finish(Cancelled, smtp.errorText());
    default:
        return finish(Failed, smtp.errorText());
    }
}

SubmitRun::Result SubmitRun::runHttp(const SubmitJob &job)
{
    const QUrl url(job.url);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return finish(Failed, QStringLiteral("The submission address '%1' is not an http or "
                                             "https address.")
                                  .arg(job.url));
    showStatus(QStringLiteral("Finding ") + url.host());
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    for (const auto &[name, value] : job.headers)
        request.setRawHeader(name, value);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("text/plain; charset=utf-8"));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Orbisong 4.0.3"));
    request.setTransferTimeout(TimeOut * 1000);
    // A submission is posted once, to the address given: a redirect is a refusal.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    showStatus(QStringLiteral("Sending"));
    QNetworkReply *reply = manager.post(request, job.body);
    QByteArray answer;
    bool oversized = false;
    QEventLoop loop;
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        answer += reply->readAll();
        oversized = answer.size() > MaxAnswerBytes;
        if (oversized)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (m_cancelled)
            reply->abort();
    });
    poll.start(CancelPollMs);
    if (!reply->isFinished())
        loop.exec();
    answer += reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString errorString = reply->errorString();
    reply->deleteLater();
    if (m_cancelled)
        return finish(Cancelled, QStringLiteral("Operation has been canceled"));
    if (oversized)
        return finish(Failed, QStringLiteral("The submit script's answer is too long."));
    if (error == QNetworkReply::TimeoutError || error == QNetworkReply::OperationCanceledError)
        return finish(TimedOut, QStringLiteral("Operation timed out"));
    if (httpStatus >= 300)
        return finish(Failed,
                      QStringLiteral("The submit script answered HTTP %1.").arg(httpStatus));
    if (error != QNetworkReply::NoError)
        return finish(Failed, errorString);
    const QString line = QString::fromUtf8(answer).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (line.startsWith(QLatin1Char('2')))
        return finish(Sent, {});
    return finish(Failed, line.size() > 4 ? line.mid(4) : QStringLiteral("No answer."));
}

} // namespace Orbisong
