#include "collection/Settings.h"
#include "player/TBrowserControl.h"
#include "player/TWeblinkList.h"
#include "player/WebLinkSearch.h"

#include "TestFiles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// A browser program that writes its arguments, one a line, to `record` and exits.
QString writeFakeBrowser(const QString &folder, const QString &name, const QString &record)
{
    const QString path = folder + QLatin1Char('/') + name;
    writeFile(path, QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done"
                                   " > '%1.part'\nmv '%1.part' '%1'\n")
                        .arg(record)
                        .toUtf8());
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// The arguments the fake browser recorded; waits for the detached program to finish.
QStringList recordedArguments(const QString &record)
{
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(record) && !deadline.hasExpired())
        QThread::msleep(20);
    return QString::fromUtf8(readFile(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

struct Started
{
    QString program;
    QStringList arguments;
};

// Browsers looked for in an empty folder only, so the machine's own are never found.
class BrowserTest : public ::testing::Test
{
protected:
    BrowserTest() : browsers(settings, {dir.path()})
    {
        browsers.setProgramStarter([this](const QString &program, const QStringList &args) {
            started.append({program, args});
            return true;
        });
        browsers.setDesktopOpener([this](const QUrl &url) {
            desktop.append(url);
            return true;
        });
    }
    QString browser(const QString &name) { return writeFakeBrowser(dir.path(), name, {}); }

    QTemporaryDir dir;
    Settings settings;
    TBrowserControl browsers;
    QList<Started> started;
    QList<QUrl> desktop;
};

} // namespace

TEST(WebLinkSearch, ProfilesSplitIntoCaptionsTemplatesAndSeparators)
{
    const QList<SearchSite> sites =
        ParseSearchProfile(QStringLiteral(" Shop ` https://shop.example/?q=%A |-`|"
                                          "|Bare|  `https://nocaption.example/"));
    ASSERT_EQ(sites.size(), 3);
    EXPECT_EQ(sites.at(0).caption, QStringLiteral("Shop"));
    EXPECT_EQ(sites.at(0).address, QStringLiteral("https://shop.example/?q=%A"));
    EXPECT_TRUE(sites.at(1).isSeparator());
    EXPECT_EQ(sites.at(2).caption, QStringLiteral("Bare"));
    EXPECT_TRUE(sites.at(2).address.isEmpty());
}

TEST(WebLinkSearch, OnlyTheFirstArtistMarkIsReplacedAndEncodedAsAFormValue)
{
    EXPECT_EQ(ExpandSearchTemplate(QStringLiteral("https://x.example/?a=%A&b=%A"),
                                   QStringLiteral("Simon & Garfunkel")),
              QStringLiteral("https://x.example/?a=Simon+%26+Garfunkel&b=%A"));
    EXPECT_EQ(
        ExpandSearchTemplate(QStringLiteral("https://x.example/%A"), QStringLiteral("Björk/Ö")),
        QStringLiteral("https://x.example/Bj%C3%B6rk%2F%C3%96"));
    EXPECT_TRUE(
        ExpandSearchTemplate(QStringLiteral("https://x.example/"), QStringLiteral("A")).isEmpty());
}

TEST(TWeblinkList, MenuIsSortedByTheCollectionKeyWithBoldDefaults)
{
    const TWeblinkList list({{QStringLiteral("The Zebra Page"), QStringLiteral("http://z"), 0},
                             {QStringLiteral("a Band"), QStringLiteral("http://b"), 1},
                             {QString(), QStringLiteral("http://m.example"), 0},
                             {QStringLiteral("Apple"), QStringLiteral("http://a"), 2}});
    const QList<TWeblinkList::Entry> entries = list.menuEntries();
    QStringList titles;
    for (const TWeblinkList::Entry &entry : entries)
        titles.append(entry.title);
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("Apple"), QStringLiteral("a Band"),
                           QStringLiteral("http://m.example"), QStringLiteral("The Zebra Page")}));
    EXPECT_EQ(entries.at(1).index, 1);
    EXPECT_TRUE(entries.at(1).isDefault);
    EXPECT_FALSE(entries.at(0).isDefault);
    const int tag = TWeblinkList::tagFor(3);
    EXPECT_TRUE(TWeblinkList::isTag(tag));
    EXPECT_EQ(tag >> 16, 0x1234);
    EXPECT_EQ(TWeblinkList::indexOfTag(tag), 3);
    EXPECT_FALSE(TWeblinkList::isTag(3));
}

TEST(TBrowserControl, OnlyWebAddressesAreOpened)
{
    for (const char *refused : {"-remote=evil", "  --new-window http://x", "file:///etc/passwd",
                                "javascript:alert(1)", "mailto:a@b.example", "smb://host/share",
                                "data:text/html,hi", "", "http://", "http://bad host/"}) {
        EXPECT_FALSE(TBrowserControl::openableUrl(QString::fromLatin1(refused)).isValid())
            << refused;
    }
    EXPECT_EQ(TBrowserControl::openableUrl(QStringLiteral(" www.example.com/x ")).toString(),
              QStringLiteral("http://www.example.com/x"));
    for (const char *allowed : {"https://example.com/a?b=c", "FTP://ftp.example.org/pub",
                                "http://example.com/-dash", "example.com:8080/x"}) {
        EXPECT_TRUE(TBrowserControl::openableUrl(QString::fromLatin1(allowed)).isValid())
            << allowed;
    }
}

TEST_F(BrowserTest, RefusedAddressesStartNothing)
{
    settings.firstBrowser = browser(QStringLiteral("fake"));
    EXPECT_FALSE(browsers.openAddress(QStringLiteral("-P evil"), 0));
    EXPECT_FALSE(browsers.openAddress(QStringLiteral("file:///etc/passwd"), 2));
    EXPECT_EQ(browsers.plan(QStringLiteral("ftp:x"), 0).kind, BrowserLaunch::Refused);
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(desktop.isEmpty());
}

TEST_F(BrowserTest, LinkFlagsChooseTheProgramAndTheSettingChoosesForTheRest)
{
    settings.firstBrowser = browser(QStringLiteral("first"));
    settings.secondBrowser = QStringLiteral("second");
    browser(QStringLiteral("second"));
    settings.defaultBrowser = 4;
    browsers.startup();
    EXPECT_EQ(browsers.selected(), TBrowserControl::First);

    ASSERT_TRUE(browsers.openAddress(QStringLiteral("http://a.example/"), 2));
    ASSERT_TRUE(browsers.openAddress(QStringLiteral("http://b.example/"), 4));
    ASSERT_TRUE(browsers.openAddress(QStringLiteral("http://c.example/"), 0));
    ASSERT_EQ(started.size(), 3);
    EXPECT_EQ(started.at(0).program, dir.filePath(QStringLiteral("first")));
    EXPECT_EQ(started.at(1).program, dir.filePath(QStringLiteral("second")));
    EXPECT_EQ(started.at(2).program, dir.filePath(QStringLiteral("second")));
    EXPECT_EQ(started.at(2).arguments, QStringList{QStringLiteral("http://c.example/")});
    EXPECT_TRUE(desktop.isEmpty());
}

TEST_F(BrowserTest, SelectionFollowsWhatIsInstalled)
{
    // Only the second installed and the setting on the first: the second is chosen and the
    // setting follows it.
    settings.firstBrowser = QStringLiteral("not-installed-browser");
    settings.secondBrowser = browser(QStringLiteral("second"));
    settings.defaultBrowser = 2;
    browsers.startup();
    EXPECT_TRUE(browsers.browserPath(TBrowserControl::First).isEmpty());
    EXPECT_EQ(browsers.selected(), TBrowserControl::Second);
    ASSERT_TRUE(browsers.openAddress(QStringLiteral("http://a.example/"), 0));
    EXPECT_EQ(settings.defaultBrowser, 4);

    // A link for the missing first browser opens in the one selected last.
    ASSERT_TRUE(browsers.openAddress(QStringLiteral("http://b.example/"), 2));
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started.at(1).program, settings.secondBrowser);

    // With no program at all the desktop's default browser opens it, and the setting
    // returns to the first browser.
    settings.secondBrowser = dir.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(browsers.openAddress(QStringLiteral("https://c.example/x y"), 0));
    ASSERT_EQ(desktop.size(), 1);
    EXPECT_EQ(desktop.at(0).toString(QUrl::FullyEncoded),
              QStringLiteral("https://c.example/x%20y"));
    EXPECT_EQ(settings.defaultBrowser, 2);
    EXPECT_EQ(browsers.plan(QStringLiteral("https://c.example/"), 0).program,
              QStringLiteral("xdg-open"));
}

TEST_F(BrowserTest, TemplatesOpenOnlyWithAnArtistMark)
{
    settings.firstBrowser = browser(QStringLiteral("first"));
    EXPECT_FALSE(browsers.openTemplate(QStringLiteral("https://s.example/"), QStringLiteral("A")));
    ASSERT_TRUE(browsers.openTemplate(QStringLiteral("https://s.example/?q=%A"),
                                      QStringLiteral("AC/DC & Co")));
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.at(0).arguments,
              QStringList{QStringLiteral("https://s.example/?q=AC%2FDC+%26+Co")});
}

TEST_F(BrowserTest, TheCurrentPageCannotBeAsked)
{
    QString address = QStringLiteral("old");
    QString title = QStringLiteral("old");
    EXPECT_FALSE(browsers.currentPage(&address, &title));
    EXPECT_TRUE(address.isEmpty());
    EXPECT_TRUE(title.isEmpty());
}

// The real start: a program whose arguments reach it one by one, the address its own word,
// with nothing a shell would expand.
TEST(TBrowserControlProcess, TheBrowserProgramGetsTheAddressAsItsOnlyArgument)
{
    QTemporaryDir dir;
    Settings settings;
    const QString record = dir.filePath(QStringLiteral("args.txt"));
    settings.firstBrowser = writeFakeBrowser(dir.path(), QStringLiteral("browser"), record);
    TBrowserControl browsers(settings, {dir.path()});
    browsers.startup();
    const QString address = QStringLiteral("http://x.example/a;b$(touch%20pwned)`id`?q='1'&r=2");
    ASSERT_TRUE(browsers.openAddress(address, 0));
    const QStringList args = recordedArguments(record);
    ASSERT_EQ(args.size(), 1);
    EXPECT_EQ(QUrl(args.at(0)), QUrl(address));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("pwned"))));
}
