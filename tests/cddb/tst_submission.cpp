// Submissions from the collection: the checks that refuse an album or the settings, and
// the exchange with a real mail sink and a real submit script.

#include "base/MessageIds.h"
#include "cddb/CddbSubmission.h"
#include "cddb/CddbSubmitter.h"
#include "cddb/SubmitRun.h"
#include "cddb/TSubmitThread.h"
#include "CddbPeer.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "MailPeers.h"
#include "ScriptedQuestionPort.h"
#include "SubmitAlbums.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

using namespace Orbisong;

namespace {

const QString Complete = QStringLiteral("04018E0203A98");
const QString Accented = QStringLiteral("04018E0603A98");

class Submission : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(m_path, submitAlbums());
        m_settings.smtpAddress = QStringLiteral(" ann@example.org ");
        m_settings.smtpServer = QStringLiteral("127.0.0.1:2525");
        m_settings.SetOptionFlag(_GLOB_OPTION_SUBMITWEBLINKS, true);
        m_collection = std::make_unique<Collection>(m_settings, m_path);
        m_collection->setQuestionPort(&m_port);
        m_collection->BuildAlbumIndex();
    }

    CddbSubmitter submitter()
    {
        CddbSubmitter s(*m_collection, m_settings, &m_port);
        s.setYear(2026);
        s.setCategoryChooser([this](QString *category) {
            m_offered.append(*category);
            if (m_choice.isEmpty())
                return false;
            *category = m_choice;
            return true;
        });
        return s;
    }

    // The message ids asked so far, and the texts of the last.
    QList<int> asked() const
    {
        QList<int> ids;
        for (const auto &a : m_port.asked())
            ids.append(a.id);
        return ids;
    }

    TestHome m_home;
    QString m_path = m_home.file(QStringLiteral("c.obc"));
    Settings m_settings = Settings::defaults(m_home.path(), QStringLiteral("ann"), QString());
    ScriptedQuestionPort m_port;
    std::unique_ptr<Collection> m_collection;
    QStringList m_offered;
    QString m_choice = QStringLiteral("rock");
};

} // namespace

TEST_F(Submission, AlbumsThatWouldSendAWrongEntryAreRefusedWithAReason)
{
    SubmitJob job;
    EXPECT_FALSE(submitter().prepare(QStringLiteral("04018E0303A98"), &job));
    ASSERT_EQ(asked(), QList<int>{Msg::Notice});
    EXPECT_TRUE(m_port.asked().last().texts.value(1).contains(QStringLiteral("track 1")));

    EXPECT_FALSE(submitter().prepare(QStringLiteral("04018E0403A98"), &job));
    EXPECT_TRUE(m_port.asked().last().texts.value(1).contains(
        QStringLiteral("holds 3 tracks, but its disc id 04018e04 names 4")));

    EXPECT_FALSE(submitter().prepare(QStringLiteral("04018E0503A98"), &job));
    EXPECT_EQ(asked().last(), Msg::CannotSubmitAlbum);

    const qsizetype before = m_port.asked().size();
    EXPECT_FALSE(submitter().prepare(QStringLiteral("FFFFFFFF03A98"), &job));
    EXPECT_EQ(m_port.asked().size(), before);
    EXPECT_TRUE(m_offered.isEmpty());
}

TEST_F(Submission, SettingsChecksShowTheirMessages)
{
    SubmitJob job;
    m_settings.smtpAddress = QStringLiteral("   ");
    EXPECT_FALSE(submitter().prepare(Accented, &job));
    EXPECT_EQ(asked().last(), Msg::NoMailAddress);
    EXPECT_TRUE(m_settings.smtpAddress.isEmpty());

    for (const QString &bad :
         {QStringLiteral("ann example.org"), QStringLiteral("ann.example.org"),
          QStringLiteral("ann<evil>@example.org"), QStringLiteral("ann@x\r\nRCPT TO:<v@x>")}) {
        m_settings.smtpAddress = bad;
        EXPECT_FALSE(submitter().prepare(Accented, &job));
        EXPECT_EQ(asked().last(), Msg::InvalidMailAddress);
        EXPECT_EQ(m_port.asked().last().texts.value(0), bad.trimmed());
    }

    m_settings.smtpAddress = QStringLiteral("ann@example.org");
    m_settings.smtpServer = QStringLiteral(" ");
    EXPECT_FALSE(submitter().prepare(Accented, &job));
    EXPECT_EQ(asked().last(), Msg::NoSmtpServer);
    // The web needs no mail server.
    m_settings.cddbSubmitMethod = Settings::SubmitByHttp;
    EXPECT_TRUE(submitter().prepare(Accented, &job));
    EXPECT_EQ(job.method, SubmitJob::ByHttp);
}

TEST_F(Submission, CategoryChoiceAndTheEntry)
{
    SubmitJob job;
    // "Classical " is a category as it stands; "Pop" is offered for a choice.
    ASSERT_TRUE(submitter().prepare(Accented, &job));
    EXPECT_TRUE(m_offered.isEmpty());
    EXPECT_EQ(job.mail.subject, QStringLiteral("cddb classical 04018e06"));
    EXPECT_EQ(job.mail.charSet, MailMessage::Utf8);
    EXPECT_TRUE(job.mail.body.contains(QStringLiteral("DTITLE=Bj\u00f6rk / Homog\u00e9nic\n")));
    EXPECT_TRUE(job.mail.body.contains(QStringLiteral("TTITLE0=J\u00f3ga\n")));
    EXPECT_EQ(m_settings.smtpAddress, QStringLiteral("ann@example.org"));

    m_choice.clear();
    EXPECT_FALSE(submitter().prepare(Complete, &job));
    EXPECT_EQ(m_offered, QStringList{QStringLiteral("Pop")});
    m_choice = QStringLiteral("Jazz");
    ASSERT_TRUE(submitter().prepare(Complete, &job));
    EXPECT_EQ(job.mail.subject, QStringLiteral("cddb jazz 04018e02"));
    EXPECT_EQ(job.mail.recipient, CddbSubmissionMailbox);
    EXPECT_EQ(job.smtpServer, QStringLiteral("127.0.0.1:2525"));
    EXPECT_TRUE(job.mail.body.contains(QStringLiteral("# Revision: 1\n")));
    EXPECT_TRUE(job.mail.body.contains(QStringLiteral("URL: http://band.example \"Home\"")));

    // Links are the submitted album's own, and only when the option asks for them.
    m_settings.SetOptionFlag(_GLOB_OPTION_SUBMITWEBLINKS, false);
    ASSERT_TRUE(submitter().prepare(Complete, &job));
    EXPECT_FALSE(job.mail.body.contains(QStringLiteral("URL:")));
    EXPECT_FALSE(CddbSubmission::read(*m_collection, Accented, m_settings).input.webLinks.size());

    // Below protocol level 6 the entry is ASCII.
    m_settings.cddbProtocolLevel = 5;
    ASSERT_TRUE(submitter().prepare(Accented, &job));
    EXPECT_EQ(job.mail.charSet, MailMessage::UsAscii);
    EXPECT_TRUE(job.mail.body.contains(QStringLiteral("DTITLE=Bj rk / Homog nic\n")));
}

TEST_F(Submission, MailReachesTheSinkFromAWorkerThread)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.start());
    m_settings.smtpServer = QStringLiteral("127.0.0.1:%1").arg(sink.port());
    SubmitJob job;
    ASSERT_TRUE(submitter().prepare(Complete, &job));
    TSubmitThread thread(job);
    QStringList statuses;
    QObject::connect(&thread, &TSubmitThread::statusChanged,
                     [&](const QString &text) { statuses.append(text); });
    QSignalSpy finished(&thread, &TSubmitThread::submitFinished);
    thread.start();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(SubmitRun::Sent));
    EXPECT_EQ(statuses, (QStringList{QStringLiteral("Finding ") + m_settings.smtpServer,
                                     QStringLiteral("Connecting"), QStringLiteral("Sending"),
                                     QStringLiteral("Disconnecting"), QString()}));

    QStringList expected{
        QStringLiteral("From:     <ann@example.org>"),
        QStringLiteral("To:       <") + CddbSubmissionMailbox + QLatin1Char('>'),
        QStringLiteral("Subject:  cddb rock 04018e02"),
        QStringLiteral("Mime-Version: 1.0"),
        QStringLiteral("Content-Type: text/plain; charset=\"utf-8\""),
        QStringLiteral("Content-Transfer-Encoding: 7bit"),
        QString(),
    };
    QStringList entry = job.mail.body.split(QLatin1Char('\n'));
    entry.removeLast();
    expected += entry;
    const QStringList received = sink.nextMessage();
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(received.contains(QStringLiteral("TTITLE0=.first")));
}

TEST_F(Submission, HttpSubmissionReachesTheSubmitScript)
{
    CddbPeer peer;
    ASSERT_TRUE(peer.start());
    const QString url = QStringLiteral("http://127.0.0.1:%1/~cddb/submit.cgi").arg(peer.httpPort());
    CddbSubmitter s = submitter();
    s.setHttpUrl(url);
    SubmitJob job;
    ASSERT_TRUE(s.prepare(Accented, &job));
    SubmitRun run;
    EXPECT_EQ(run.run(job), SubmitRun::Sent) << run.errorText().toStdString();
    EXPECT_EQ(peer.transcript().last(),
              QStringLiteral("SUBMIT POST category=classical discid=04018e06 "
                             "user-email=ann@example.org submit-mode=submit charset=UTF-8"));
    EXPECT_EQ(readFile(peer.dbFolder() + QStringLiteral("/submitted/classical/04018e06")),
              job.body);
    EXPECT_TRUE(job.body.contains("DTITLE=Bj\xc3\xb6rk / Homog\xc3\xa9nic\n"));
    EXPECT_TRUE(job.text().startsWith(QStringLiteral("POST ") + url + QStringLiteral("\n")));

    CddbPeer refusing;
    ASSERT_TRUE(refusing.start({QStringLiteral("--fault"), QStringLiteral("submit-refuse")}));
    job.url = QStringLiteral("http://127.0.0.1:%1/~cddb/submit.cgi").arg(refusing.httpPort());
    EXPECT_EQ(run.run(job), SubmitRun::Failed);
    EXPECT_EQ(run.errorText(),
              QStringLiteral("Entry rejected: the test peer refuses every entry."));
    SubmitRun::report(&m_port, job.method, run.result(), run.errorText());
    EXPECT_EQ(asked().last(), Msg::Notice);

    job.url = QStringLiteral("http://127.0.0.1:%1/elsewhere").arg(refusing.httpPort());
    EXPECT_EQ(run.run(job), SubmitRun::Failed);
    EXPECT_EQ(run.errorText(), QStringLiteral("The submit script answered HTTP 404."));
    job.url = QStringLiteral("file:///etc/passwd");
    EXPECT_EQ(run.run(job), SubmitRun::Failed);
}

TEST_F(Submission, MailFailuresShowTheirMessages)
{
    SubmitJob job;
    ASSERT_TRUE(submitter().prepare(Accented, &job));
    SmtpPeer silent;
    ASSERT_TRUE(silent.start(QStringLiteral("silence")));
    job.smtpServer = QStringLiteral("127.0.0.1:%1").arg(silent.port());
    SubmitRun run;
    run.TimeOut = 1;
    EXPECT_EQ(run.run(job), SubmitRun::TimedOut);
    SubmitRun::report(&m_port, job.method, run.result(), run.errorText());
    EXPECT_EQ(asked().last(), Msg::SmtpTimedOut);

    SmtpPeer refusing;
    ASSERT_TRUE(refusing.start(QStringLiteral("refuse-rcpt")));
    job.smtpServer = QStringLiteral("127.0.0.1:%1").arg(refusing.port());
    EXPECT_EQ(run.run(job), SubmitRun::Failed);
    SubmitRun::report(&m_port, job.method, run.result(), run.errorText());
    EXPECT_EQ(asked().last(), Msg::Notice);
    EXPECT_EQ(m_port.asked().last().texts.value(1), QStringLiteral("5.1.1 Mailbox unavailable"));
}
