#include "MailPeers.h"
#include "net/MailAddress.h"
#include "net/MailMessage.h"
#include "net/SmtpReply.h"
#include "net/TBase64.h"
#include "net/TQuotedPrintable.h"
#include "net/TSMTP.h"
#include "net/TUUCode.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

MailMessage plainMessage()
{
    MailMessage m;
    m.from = QStringLiteral("ann@example.org");
    m.recipient = QStringLiteral("cddb@example.net");
    m.subject = QStringLiteral("cddb rock 04018e02");
    m.body = QStringLiteral("# xmcd\n.hidden dot\n..two dots\n.\nDISCID=04018e02\n");
    return m;
}

} // namespace

TEST(MailEncoders, QuotedPrintableKeepsLinesShortAndReversible)
{
    const QByteArray text = "a=b\r\n" + QByteArray(100, 'x') + "\ntrailing \n" +
                            QString::fromUtf8("Bj\u00f6rk").toUtf8() + "\n";
    const QStringList lines = TQuotedPrintable::encode(text);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.at(0), QStringLiteral("a=3Db"));
    EXPECT_TRUE(lines.at(1).endsWith(QLatin1Char('=')));
    EXPECT_EQ(lines.at(1).size() - 1 + lines.at(2).size(), 100);
    EXPECT_EQ(lines.at(3), QStringLiteral("trailing=20"));
    EXPECT_EQ(lines.at(4), QStringLiteral("Bj=C3=B6rk"));
    for (const QString &line : lines)
        EXPECT_LE(line.size(), TQuotedPrintable::LineLength);
    EXPECT_TRUE(TQuotedPrintable::isPlain("DISCID=1\r\nplain\n"));
    EXPECT_FALSE(TQuotedPrintable::isPlain("Bj\xc3\xb6rk"));
    EXPECT_FALSE(TQuotedPrintable::isPlain(QByteArray(999, 'x')));
}

TEST(MailEncoders, Base64AndUuencode)
{
    const QByteArray data(100, '\xff');
    const QStringList b64 = TBase64::encode(data);
    ASSERT_EQ(b64.size(), 2);
    EXPECT_EQ(b64.at(0).size(), 76);
    EXPECT_EQ(QByteArray::fromBase64(b64.join(QString()).toLatin1()), data);

    const QStringList uu = TUUCode::encode("Cat", QStringLiteral("Pet.TXT"));
    EXPECT_EQ(uu, (QStringList{QStringLiteral("begin 600 pet.txt"), QStringLiteral("#0V%T"),
                               QStringLiteral("`"), QStringLiteral("end")}));
    const QStringList zeros = TUUCode::encode(QByteArray(45, '\0'), QStringLiteral("z"));
    EXPECT_EQ(zeros.at(1), QStringLiteral("M") + QString(60, QLatin1Char('`')));
}

TEST(MailMessage, HeadersAndAttachmentParts)
{
    QTemporaryDir dir;
    const QString textFile = dir.filePath(QStringLiteral("notes.txt"));
    const QString binFile = dir.filePath(QStringLiteral("cover.png"));
    {
        QFile f(textFile);
        f.open(QIODevice::WriteOnly);
        f.write("x=1\n");
        QFile b(binFile);
        b.open(QIODevice::WriteOnly);
        b.write("\x89PNG\r\n\x1a\n");
    }
    MailMessage m = plainMessage();
    m.from = QStringLiteral("ann@example.org|Ann Example");
    m.cc = {QStringLiteral("a@x"), QStringLiteral("b@x")};
    m.priority = MailMessage::High;
    MimePart text, bin;
    ASSERT_TRUE(MimePart::fromFile(textFile, true, &text));
    ASSERT_TRUE(MimePart::fromFile(binFile, true, &bin));
    EXPECT_FALSE(MimePart::fromFile(dir.filePath(QStringLiteral("none")), true, &bin));
    ASSERT_TRUE(MimePart::fromFile(binFile, true, &bin));
    const QStringList lines = m.text({text, bin});
    const QString b = m.boundary;
    const QStringList expectedHead{
        QStringLiteral("From:     Ann Example <ann@example.org>"),
        QStringLiteral("To:       <cddb@example.net>"),
        QStringLiteral("CC:       <a@x>,"),
        QStringLiteral("          <b@x>"),
        QStringLiteral("X-Priority: 1"),
        QStringLiteral("Subject:  cddb rock 04018e02"),
        QStringLiteral("Mime-Version: 1.0"),
        QStringLiteral("Content-Type: multipart/mixed; boundary=\"%1\"").arg(b),
        QStringLiteral("X-Encoding: MIME"),
        QString(),
        QStringLiteral("This is a multi-part message in MIME format."),
        QString(),
        QStringLiteral("--") + b,
        QStringLiteral("Content-Type: text/plain; charset=\"us-ascii\""),
        QStringLiteral("Content-Transfer-Encoding: 7bit"),
        QString(),
        QStringLiteral("# xmcd"),
    };
    EXPECT_EQ(lines.mid(0, expectedHead.size()), expectedHead);
    const qsizetype textPart = lines.indexOf(QStringLiteral("x=3D1"));
    ASSERT_GT(textPart, 0);
    EXPECT_EQ(lines.at(textPart - 1), QString());
    EXPECT_EQ(lines.at(textPart - 2),
              QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Content-Disposition: attachment; "
                                              "filename=\"cover.png\"")));
    EXPECT_TRUE(lines.contains(QStringLiteral("iVBORw0KGgo=")));
    EXPECT_EQ(lines.last(), QStringLiteral("--") + b + QStringLiteral("--"));
    EXPECT_EQ(m.envelopeRecipients(), (QStringList{QStringLiteral("cddb@example.net"),
                                                   QStringLiteral("a@x"), QStringLiteral("b@x")}));

    // Without MIME the files are uuencoded after the body and the body stays as written.
    m.encoding = MailMessage::UUEncode;
    MimePart uu;
    ASSERT_TRUE(MimePart::fromFile(textFile, false, &uu));
    const QStringList plain = m.text({uu});
    EXPECT_TRUE(plain.contains(QStringLiteral("X-Encoding:      UUENCODE")));
    EXPECT_FALSE(plain.contains(QStringLiteral("Mime-Version: 1.0")));
    EXPECT_TRUE(plain.contains(QStringLiteral("begin 600 notes.txt")));
}

TEST(MailMessage, NoHeaderOrCommandCanBeInjected)
{
    MailMessage m = plainMessage();
    m.from = QStringLiteral("ann@example.org\r\nBcc: victim@x|Ann\nX-Evil: 1");
    m.subject = QStringLiteral("cddb rock\r\nBcc: victim@x");
    for (const QString &line : m.headerLines(false)) {
        EXPECT_FALSE(line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')));
        EXPECT_FALSE(line.startsWith(QLatin1String("Bcc")));
    }
    EXPECT_EQ(m.headerLines(false).at(0),
              QStringLiteral("From:     AnnX-Evil: 1 <ann@example.orgBcc: victim@x>"));

    EXPECT_TRUE(IsValidMailAddress(QStringLiteral("ann@example.org")));
    EXPECT_TRUE(IsValidMailAddress(QStringLiteral("a@b")));
    for (const char *bad :
         {"", "ann.example.org", "ann @example.org", "ann@exa\tmple.org", "ann@example.org>",
          "<ann@example.org", "ann@x\r\nRCPT TO:<v@x", "ann@\x7f"})
        EXPECT_FALSE(IsValidMailAddress(QString::fromLatin1(bad))) << bad;
}

TEST(SmtpReplies, ContinuationLinesPiecesAndTheCap)
{
    SmtpReply reply;
    reply.append("250-first\r\n250");
    EXPECT_FALSE(reply.complete());
    reply.append("-second\r\n");
    EXPECT_FALSE(reply.complete());
    reply.append("250 last line\r\n");
    ASSERT_TRUE(reply.complete());
    EXPECT_TRUE(reply.accepted());
    EXPECT_EQ(reply.code(), 250);
    reply.clear();
    reply.append("354 go\n");
    EXPECT_TRUE(reply.complete() && reply.accepted());
    reply.clear();
    reply.append("550 5.1.1 no such user\r\n");
    EXPECT_FALSE(reply.accepted());
    EXPECT_EQ(reply.text(), QStringLiteral("5.1.1 no such user"));

    reply.clear();
    // Far more than the old fixed buffer is taken; the cap stops a reply that never ends.
    EXPECT_TRUE(reply.append("250-" + QByteArray(5000, 'x') + "\r\n"));
    EXPECT_FALSE(reply.append(QByteArray(SmtpReply::MaxBytes, 'x')));
    EXPECT_TRUE(reply.overflowed());

    QString host;
    quint16 port = 0;
    TSMTP::splitServer(QStringLiteral(" mail.example:2525 "), &host, &port);
    EXPECT_EQ(host, QStringLiteral("mail.example"));
    EXPECT_EQ(port, 2525);
    TSMTP::splitServer(QStringLiteral("mail.example"), &host, &port);
    EXPECT_EQ(port, 0);
    TSMTP::splitServer(QStringLiteral("::1"), &host, &port);
    EXPECT_EQ(host, QStringLiteral("::1"));
    EXPECT_EQ(TSMTP::dotStuffed(QStringLiteral(".x")), QStringLiteral("..x"));
    EXPECT_EQ(TSMTP::dotStuffed(QStringLiteral("x.")), QStringLiteral("x."));
}

TEST(Smtp, MessageReachesTheSinkIntactWithDotsStuffed)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.start());
    TSMTP smtp;
    smtp.Server = QStringLiteral("127.0.0.1:%1").arg(sink.port());
    smtp.Message = plainMessage();
    QList<int> statuses;
    QObject::connect(&smtp, &TSMTP::OnStatusChange, [&](int s) { statuses.append(s); });
    ASSERT_TRUE(smtp.SendMail()) << smtp.errorText().toStdString();
    EXPECT_EQ(statuses, (QList<int>{1, 2, 5, 4, 6, 3, 0}));
    const QStringList expected{
        QStringLiteral("From:     <ann@example.org>"),
        QStringLiteral("To:       <cddb@example.net>"),
        QStringLiteral("Subject:  cddb rock 04018e02"),
        QStringLiteral("Mime-Version: 1.0"),
        QStringLiteral("Content-Type: text/plain; charset=\"us-ascii\""),
        QStringLiteral("Content-Transfer-Encoding: 7bit"),
        QString(),
        QStringLiteral("# xmcd"),
        QStringLiteral(".hidden dot"),
        QStringLiteral("..two dots"),
        QStringLiteral("."),
        QStringLiteral("DISCID=04018e02"),
    };
    EXPECT_EQ(sink.nextMessage(), expected);
    const QStringList t = smtp.transcript();
    EXPECT_TRUE(t.contains(QStringLiteral("HELO example.org")));
    EXPECT_TRUE(t.contains(QStringLiteral("MAIL FROM:<ann@example.org>")));
    EXPECT_TRUE(t.contains(QStringLiteral("RCPT TO:<cddb@example.net>")));
    EXPECT_FALSE(t.contains(QStringLiteral("# xmcd")));
}

TEST(Smtp, MultiLineRepliesInPiecesAreOneReplyEach)
{
    SmtpPeer peer;
    ASSERT_TRUE(peer.start(QStringLiteral("multiline")));
    TSMTP smtp;
    smtp.Server = QStringLiteral("127.0.0.1:%1").arg(peer.port());
    smtp.Message = plainMessage();
    ASSERT_TRUE(smtp.SendMail()) << smtp.errorText().toStdString();
    const QStringList t = peer.transcript();
    EXPECT_EQ(t.first(), QStringLiteral("HELO example.org"));
    EXPECT_TRUE(t.contains(QStringLiteral("..hidden dot")));
    EXPECT_TRUE(t.contains(QStringLiteral("...two dots")));
    EXPECT_TRUE(t.contains(QStringLiteral("..")));
    EXPECT_EQ(t.last(), QStringLiteral("QUIT"));
    EXPECT_TRUE(smtp.transcript().contains(QStringLiteral("250 250 done")));
}

TEST(Smtp, FailuresEndWithTheirKindAndText)
{
    SmtpPeer refusing;
    ASSERT_TRUE(refusing.start(QStringLiteral("refuse-rcpt")));
    TSMTP smtp;
    smtp.Message = plainMessage();
    smtp.Server = QStringLiteral("127.0.0.1:%1").arg(refusing.port());
    EXPECT_FALSE(smtp.SendMail());
    EXPECT_EQ(smtp.errorKind(), TSMTP::MailError);
    EXPECT_EQ(smtp.errorText(), QStringLiteral("5.1.1 Mailbox unavailable"));
    EXPECT_FALSE(refusing.transcript().contains(QStringLiteral("DATA")));

    SmtpPeer endless;
    ASSERT_TRUE(endless.start(QStringLiteral("endless")));
    smtp.Server = QStringLiteral("127.0.0.1:%1").arg(endless.port());
    EXPECT_FALSE(smtp.SendMail());
    EXPECT_EQ(smtp.errorKind(), TSMTP::MailError);
    EXPECT_EQ(smtp.errorText(), QStringLiteral("The server's reply is too long"));

    SmtpPeer silent;
    ASSERT_TRUE(silent.start(QStringLiteral("silence")));
    smtp.Server = QStringLiteral("127.0.0.1:%1").arg(silent.port());
    smtp.TimeOut = 1;
    EXPECT_FALSE(smtp.SendMail());
    EXPECT_EQ(smtp.errorKind(), TSMTP::TimedOutError);
    EXPECT_EQ(smtp.errorText(), QStringLiteral("Operation timed out"));

    // Nothing listens on a port just released.
    smtp.Server = QStringLiteral("127.0.0.1:1");
    EXPECT_FALSE(smtp.SendMail());
    EXPECT_EQ(smtp.errorKind(), TSMTP::SocketError);
    EXPECT_FALSE(smtp.errorText().isEmpty());

    smtp.Server = QStringLiteral("no-such-host.invalid");
    EXPECT_FALSE(smtp.SendMail());
    EXPECT_EQ(smtp.errorText(), QStringLiteral("Error resolving remote host"));
}

TEST(Smtp, CancelFromAnotherThreadEndsTheWait)
{
    SmtpPeer silent;
    ASSERT_TRUE(silent.start(QStringLiteral("silence")));
    TSMTP *smtp = nullptr;
    bool sent = true;
    TSMTP::ErrorKind kind = TSMTP::NoError;
    QList<int> statuses;
    std::atomic<bool> connecting{false};
    QThread *worker = QThread::create([&] {
        TSMTP local;
        local.Server = QStringLiteral("127.0.0.1:%1").arg(silent.port());
        local.TimeOut = 600;
        local.Message = plainMessage();
        QObject::connect(&local, &TSMTP::OnStatusChange, [&](int s) {
            statuses.append(s);
            if (s == TSMTP::Connecting)
                connecting = true;
        });
        smtp = &local;
        sent = local.SendMail();
        kind = local.errorKind();
    });
    worker->start();
    while (!connecting)
        QThread::yieldCurrentThread();
    smtp->Cancel();
    worker->wait();
    delete worker;
    EXPECT_FALSE(sent);
    EXPECT_EQ(kind, TSMTP::CanceledError);
    EXPECT_EQ(statuses.last(), int(TSMTP::Cancelling));
}
