// orbisong-cli submit: the message it would send, the refusals with their texts, and real
// submissions to the mail sink and the submit script.

#include "CddbPeer.h"
#include "CliRunner.h"
#include "MailPeers.h"
#include "SubmitAlbums.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <gtest/gtest.h>

namespace {

class CliSubmit : public ::testing::Test
{
protected:
    void SetUp() override { writeFile(m_collection, submitAlbums()); }

    CliResult run(const QStringList &args)
    {
        return runCli(m_home.path(),
                      QStringList{QStringLiteral("--collection"), m_collection} + args);
    }
    void set(const QString &section, const QString &name, const QString &value)
    {
        ASSERT_EQ(runCli(m_home.path(),
                         {QStringLiteral("settings"), QStringLiteral("set"), section, name, value})
                      .exitCode,
                  0);
    }

    TestHome m_home;
    QString m_collection = m_home.file(QStringLiteral("c.obc"));
};

} // namespace

TEST_F(CliSubmit, RefusalsPrintTheirMessageAndExitTwo)
{
    const QStringList accented{QStringLiteral("submit"), QStringLiteral("--album"),
                               QStringLiteral("04018E0603A98")};
    CliResult r = run(accented);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("You have not specified an e-mail address.")))
        << r.err.toStdString();

    set(QStringLiteral("SMTP"), QStringLiteral("Address"), QStringLiteral("ann<x>@example.org"));
    r = run(accented);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("The e-mail address you entered, "
                                              "'ann<x>@example.org', is invalid.")));

    set(QStringLiteral("SMTP"), QStringLiteral("Address"), QStringLiteral("ann@example.org"));
    r = run(accented);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("You have not specified an SMTP server.")));

    r = run({QStringLiteral("submit"), QStringLiteral("--album"), QStringLiteral("04018E0303A98")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("The start of track 1 is not known")));

    r = run({QStringLiteral("submit"), QStringLiteral("--album"), QStringLiteral("04018E0203A98"),
             QStringLiteral("--dry-run")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("the album's category 'Pop' is not a CDDB category; choose "
                                    "one with --category\n"));

    r = run({QStringLiteral("submit"), QStringLiteral("--album"), QStringLiteral("FFFFFFFF03A98")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(run({QStringLiteral("submit")}).exitCode, 2);
}

TEST_F(CliSubmit, DryRunPrintsTheWholeMessageAndMailReachesTheSink)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.start());
    set(QStringLiteral("SMTP"), QStringLiteral("Address"), QStringLiteral("ann@example.org"));
    set(QStringLiteral("SMTP"), QStringLiteral("Server"),
        QStringLiteral("127.0.0.1:%1").arg(sink.port()));
    const QStringList args{QStringLiteral("submit"), QStringLiteral("--album"),
                           QStringLiteral("04018E0203A98"), QStringLiteral("--category"),
                           QStringLiteral("rock")};
    CliResult r = run(args + QStringList{QStringLiteral("--dry-run")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList printed = r.out.split(QLatin1Char('\n'));
    ASSERT_EQ(printed.takeLast(), QString());
    EXPECT_EQ(printed.mid(0, 7),
              (QStringList{QStringLiteral("From:     <ann@example.org>"),
                           QStringLiteral("To:       <cddb-submit@gnudb.org>"),
                           QStringLiteral("Subject:  cddb rock 04018e02"),
                           QStringLiteral("Mime-Version: 1.0"),
                           QStringLiteral("Content-Type: text/plain; charset=\"utf-8\""),
                           QStringLiteral("Content-Transfer-Encoding: 7bit"), QString()}));
    EXPECT_EQ(printed.at(7), QStringLiteral("# xmcd CD database file"));
    EXPECT_TRUE(printed.contains(QStringLiteral("# Revision: 1")));

    r = run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("sent\n"));
    EXPECT_EQ(sink.nextMessage(), printed);
}

TEST_F(CliSubmit, HttpSubmission)
{
    CddbPeer peer;
    ASSERT_TRUE(peer.start());
    set(QStringLiteral("SMTP"), QStringLiteral("Address"), QStringLiteral("ann@example.org"));
    const QString url = QStringLiteral("http://127.0.0.1:%1/~cddb/submit.cgi").arg(peer.httpPort());
    const QStringList args{QStringLiteral("submit"), QStringLiteral("--album"),
                           QStringLiteral("04018E0603A98"), QStringLiteral("--http"), url};
    CliResult r = run(args + QStringList{QStringLiteral("--dry-run")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("POST ") + url +
                                 QStringLiteral("\nCategory: classical\nDiscid: 04018e06\n"
                                                "User-Email: ann@example.org\n"
                                                "Submit-Mode: submit\nCharset: UTF-8\n")));
    r = run(args);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(readFile(peer.dbFolder() + QStringLiteral("/submitted/classical/04018e06"))
                    .contains("TTITLE0=J\xc3\xb3ga\n"));

    CddbPeer refusing;
    ASSERT_TRUE(refusing.start({QStringLiteral("--fault"), QStringLiteral("submit-refuse")}));
    r = run({QStringLiteral("submit"), QStringLiteral("--album"), QStringLiteral("04018E0603A98"),
             QStringLiteral("--http"),
             QStringLiteral("http://127.0.0.1:%1/~cddb/submit.cgi").arg(refusing.httpPort())});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("Unable to submit the album. Entry rejected: the test peer "
                                    "refuses every entry.\n"));
}
