#pragma once

#include "cddb/SubmitJob.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

namespace Orbisong {

class QuestionPort;
class TSMTP;

// Sends one prepared submission on the thread it is called from, waiting in local event
// loops; Cancel() may come from any thread.
class SubmitRun : public QObject
{
    Q_OBJECT

public:
    enum Result { Sent = 0, TimedOut = 1, Failed = 2, Cancelled = 3 };

    explicit SubmitRun(QObject *parent = nullptr);

    int TimeOut = 60; // seconds each wait may last
    Result run(const SubmitJob &job);
    void cancel();

    Result result() const { return m_result; }
    QString errorText() const { return m_errorText; }

    // The status-line text for a mail client status; empty clears the line.
    static QString statusText(int status, const QString &server);
    // Shows what ended a run that was not sent: a time-out of the mail server as its own
    // message, anything else as a notice with the failure's text.
    static void report(QuestionPort *questions, int method, Result result, const QString &text);

signals:
    void statusChanged(const QString &text);

private:
    Result runMail(const SubmitJob &job);
    Result runHttp(const SubmitJob &job);
    Result finish(Result result, const QString &text);
    // Each text once: several states share one.
    void showStatus(const QString &text);

    std::atomic<bool> m_cancelled{false};
    QMutex m_mutex;
    TSMTP *m_smtp = nullptr; // guarded by m_mutex
    Result m_result = Failed;
    QString m_errorText;
    QString m_shownStatus;
};

} // namespace Orbisong
