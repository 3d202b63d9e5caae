#include "CliRunner.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileDevice>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QByteArray Collection = "<04018E0203A98>\r\n [Album]\r\n  ID=04018E0203A98\r\n  TL=t\r\n"
                              " [WebLink]\r\n  CT=4\r\n"
                              "  WU[1]=http://first.example/a b\r\n  WT[1]=First\r\n  WF[1]=2\r\n"
                              "  WU[2]=https://plain.example/\r\n  WT[2]=Plain\r\n  WF[2]=1\r\n"
                              "  WU[3]=-P evil\r\n  WT[3]=Option\r\n"
                              "  WU[4]=file:///etc/passwd\r\n";

} // namespace

TEST(CliWeblink, ListsOpensAndPrintsTheAlbumsLinks)
{
    TestHome home;
    const QString collection = home.file(QStringLiteral("c.obc"));
    writeFile(collection, Collection);
    const QString record = home.file(QStringLiteral("args.txt"));
    const QString browser = home.file(QStringLiteral("browser"));
    writeFile(browser, QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done"
                                      " > '%1.part'\nmv '%1.part' '%1'\n")
                           .arg(record)
                           .toUtf8());
    QFile::setPermissions(browser, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto cli = [&](const QStringList &words) {
        return runCli(home.path(), QStringList{QStringLiteral("--collection"), collection} + words);
    };
    ASSERT_EQ(cli({"settings", "set", "Options", "First Browser", browser}).exitCode, 0);
    ASSERT_EQ(cli({"settings", "set", "Options", "Second Browser", home.file("none")}).exitCode, 0);

    CliResult r = cli({"weblink", "list", "--album", "04018e0203a98"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "http://first.example/a b\tFirst\tfirst\n"
                     "https://plain.example/\tPlain\tdefault\n"
                     "-P evil\tOption\tdefault\n"
                     "file:///etc/passwd\tfile:///etc/passwd\tdefault\n");

    r = cli({"weblink", "open", "--album", "04018E0203A98", "2", "--print"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, browser + "\thttps://plain.example/\n");
    for (const char *refused : {"3", "4"}) {
        r = cli({"weblink", "open", "--album", "04018E0203A98", refused});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith("not an http, https or ftp address: ")) << r.err.toStdString();
    }
    EXPECT_EQ(cli({"weblink", "open", "--album", "04018E0203A98", "5"}).exitCode, 1);
    EXPECT_EQ(cli({"weblink", "list", "--album", "0000000000000"}).exitCode, 1);
    EXPECT_EQ(cli({"weblink", "open", "--album", "04018E0203A98"}).exitCode, 2);

    r = cli({"weblink", "open", "--album", "04018E0203A98", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(record) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(readFile(record), "http://first.example/a%20b\n");

    // Without a browser program the desktop's default browser is asked.
    QFile::remove(browser);
    r = cli({"weblink", "open", "--album", "04018E0203A98", "1", "--print"});
    EXPECT_EQ(r.out, "xdg-open\thttp://first.example/a%20b\n");
}
