// The player's web links as the running program offers them: the album's links and the
// artist searches in the weblink button's menu and the tray, "&Add Current Site", and the
// browsers that open them.

#include "app/AlbumWindows.h"
#include "app/StartupSequence.h"
#include "app/WebLinkMenus.h"
#include "collection/AlbumDraft.h"
#include "collection/CurrentAlbum.h"
#include "collection/SettingsSession.h"
#include "playback/DemoDisc.h"
#include "player/PlayerEngine.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestWindows.h"
#include "ui/album/AlbumWebLinksPage.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/player/PlayerMenus.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TQuestionForm.h"
#include "ui/weblink/TWeblinkForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDevice>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// A browser program that appends each argument as a line of `record`.
QString writeFakeBrowser(const QString &path, const QString &record)
{
    writeFile(path, QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> "
                                   "'%1'; done\n")
                        .arg(record)
                        .toUtf8());
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

QStringList recordedLines(const QString &record, int atLeast)
{
    QStringList lines;
    waitFor([&] {
        lines = QString::fromUtf8(readFile(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.size() >= atLeast;
    });
    return lines;
}

QAction *actionNamed(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// The desktop's default browser as Qt reaches it.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

// The demo disc in the drive with the fake browser as the first browser program.
class WebLinkMenusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
        const QString folder =
            QDir(TestHome::binaryDir()).filePath(QStringLiteral("test-data/demo"));
        QString error;
        ASSERT_FALSE(ensureDemoDisc(folder, &error).isEmpty()) << error.toStdString();
        ASSERT_TRUE(QFile::link(folder, home.file(QStringLiteral("demo"))));
        {
            SettingsSession session;
            session.settings().firstBrowser =
                withBrowser ? writeFakeBrowser(home.file(QStringLiteral("browser")), record)
                            : home.file(QStringLiteral("no-first-browser"));
            session.settings().secondBrowser = home.file(QStringLiteral("no-second-browser"));
            session.settings().volumeControl = QStringLiteral("Unplugged Speakers");
            session.settings().informationLinks =
                QStringLiteral("Look up`https://info.example/?q=%A|-`|Plain`https://plain/");
            ASSERT_TRUE(session.save());
        }
        startup = std::make_unique<StartupSequence>(QStringList{QStringLiteral("--demo")});
        ASSERT_TRUE(startup->start());
        engine = startup->player()->engine();
        ASSERT_TRUE(waitFor([&] { return engine->current().album.title == DemoDisc::title(); }));
        engine->current().webLinks = {
            {QStringLiteral("The Zoo & Co"), QStringLiteral("http://zoo.example/"), 0},
            {QStringLiteral("Band Home"), QStringLiteral("https://band.example/home"), 1},
            {QStringLiteral("Local file"), QStringLiteral("file:///etc/passwd"), 0},
            {QStringLiteral("Option"), QStringLiteral("--remote=x"), 0}};
        menus = startup->player()->menus();
    }
    void TearDown() override { startup.reset(); }

    bool withBrowser = true;
    TestHome home;
    const QString record = home.file(QStringLiteral("args.txt"));
    std::unique_ptr<StartupSequence> startup;
    PlayerEngine *engine = nullptr;
    PlayerMenus *menus = nullptr;
};

class NoBrowserProgramTest : public WebLinkMenusTest
{
protected:
    NoBrowserProgramTest() { withBrowser = false; }
};

} // namespace

TEST_F(WebLinkMenusTest, TheWeblinkMenuListsTheLinksAndSearchesAndOpensThemInTheBrowser)
{
    QMenu *menu = menus->weblinkMenu();
    emit menu->aboutToShow();
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction *action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(texts, (QStringList{"Artist &Purchases", "Artist &Information",
                                  "Artist P&erformances", "-", "&Add Current Site", "-",
                                  "Band Home", "Local file", "Option", "The Zoo && Co"}));
    EXPECT_TRUE(actionNamed(menu, "Band Home")->font().bold());
    EXPECT_FALSE(actionNamed(menu, "Option")->font().bold());
    QMenu *information = menus->searchMenu(1);
    EXPECT_TRUE(information->isEnabled());
    ASSERT_EQ(information->actions().size(), 3);
    EXPECT_TRUE(information->actions().at(1)->isSeparator());
    menu->popup(QPoint(0, 0));
    saveScreenshot(menu, QStringLiteral("weblink-menu.png"));
    menu->hide();

    actionNamed(menu, "Local file")->trigger();
    actionNamed(menu, "Option")->trigger();
    actionNamed(menu, "The Zoo && Co")->trigger();
    information->actions().at(2)->trigger(); // no "%A": opens nothing
    information->actions().at(0)->trigger();
    const QStringList lines = recordedLines(record, 2);
    EXPECT_EQ(lines, (QStringList{"http://zoo.example/",
                                  "https://info.example/?q=The+Orbisong+Ensemble"}));
}

TEST_F(WebLinkMenusTest, TheTrayWebLinkSubmenuHoldsTheLinks)
{
    emit menus->trayPopup()->aboutToShow();
    QMenu *web = menus->trayPopup()->findChild<QMenu *>(QStringLiteral("TrayWeblinkMenu"));
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(web->isEnabled());
    QStringList texts;
    for (QAction *action : web->actions())
        texts.append(action->text());
    EXPECT_EQ(texts, (QStringList{"Band Home", "Local file", "Option", "The Zoo && Co"}));
    actionNamed(web, "Band Home")->trigger();
    EXPECT_EQ(recordedLines(record, 1), QStringList{"https://band.example/home"});
}

TEST_F(NoBrowserProgramTest, TheDesktopsDefaultBrowserOpensTheLink)
{
    UrlRecorder desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &desktop, "open");
    startup->webLinks()->linkOpener()(
        {QStringLiteral("Shop"), QStringLiteral("https://shop.example/a b"), 0});
    startup->webLinks()->linkOpener()({QStringLiteral("Bad"), QStringLiteral("-https://x"), 0});
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(desktop.urls.size(), 1);
    EXPECT_EQ(desktop.urls.at(0).toString(QUrl::FullyEncoded),
              QStringLiteral("https://shop.example/a%20b"));
    EXPECT_FALSE(QFile::exists(record));
}

TEST_F(WebLinkMenusTest, AddCurrentSiteSaysTheBrowserCannotBeAskedOrStoresTheCheckedSite)
{
    QString shown;
    QTimer::singleShot(0, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<TQuestionForm *>(widget); box && box->isVisible()) {
                shown = box->message().title;
                box->reject();
            }
        }
    });
    menus->addCurrentSiteAction()->trigger();
    EXPECT_EQ(shown, QStringLiteral("Unable to communicate with the web browser."));

    startup->webLinks()->setPageAsker([](QString *address, QString *title) {
        *address = QStringLiteral("site.example/page");
        *title = QStringLiteral("  A Page  ");
        return true;
    });
    bool allArtistEnabled = false;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<TWeblinkForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Add WebLink"));
        auto *allArtist = form->findChild<QCheckBox *>(QStringLiteral("AllArtist"));
        allArtistEnabled = allArtist->isEnabled();
        saveScreenshot(form, QStringLiteral("weblink-form.png"));
        form->accept();
    });
    menus->addCurrentSiteAction()->trigger();
    EXPECT_TRUE(allArtistEnabled);
    const WebLinkList &links = engine->current().webLinks;
    ASSERT_EQ(links.size(), 5);
    EXPECT_EQ(links.last().address, QStringLiteral("http://site.example/page"));
    EXPECT_EQ(links.last().title, QStringLiteral("A Page"));
}

// "&New" in the album properties window asks with the link dialog: empty fields, the
// artist switch off; a cancelled dialog or an empty address adds nothing.
TEST_F(WebLinkMenusTest, NewInThePropertiesWindowAsksWithTheLinkDialog)
{
    TAlbumPropertiesForm *form =
        startup->albumWindows()->showProperties(engine->current().disc.id);
    ASSERT_NE(form, nullptr);
    auto *page = form->findChild<AlbumWebLinksPage *>();
    ASSERT_NE(page, nullptr);
    auto *list = page->findChild<QListWidget *>(QStringLiteral("LinkList"));
    const int before = list->count();
    auto answer = [&](const QString &title, const QString &url, bool accept) {
        QTimer::singleShot(0, [=] {
            auto *dialog = qobject_cast<TWeblinkForm *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add WebLink"));
            EXPECT_TRUE(dialog->titleEdit()->text().isEmpty());
            EXPECT_FALSE(dialog->findChild<QCheckBox *>(QStringLiteral("AllArtist"))->isEnabled());
            dialog->titleEdit()->setText(title);
            dialog->urlEdit()->setText(url);
            accept ? dialog->accept() : dialog->reject();
        });
        page->newAction()->trigger();
    };
    answer(QStringLiteral("Cancelled"), QStringLiteral("cancel.example"), false);
    answer(QStringLiteral("No address"), QString(), true);
    EXPECT_EQ(list->count(), before);
    answer(QString(), QStringLiteral("new.example/band"), true);
    ASSERT_EQ(list->count(), before + 1);
    EXPECT_EQ(list->item(before)->text(), QStringLiteral("http://new.example/band"));
    EXPECT_EQ(page->findChild<QLineEdit *>(QStringLiteral("URLEdit"))->text(),
              QStringLiteral("http://new.example/band"));
    form->close();
}

// The machine here has no sound card: whatever the device monitor finds is listed after the
// desktop's output, which stands for a saved output that is gone.
TEST_F(WebLinkMenusTest, TheVolumeMenuListsTheOutputsAndKeepsTheChoice)
{
    QMenu *volume = menus->volumePopup();
    emit volume->aboutToShow();
    const QList<QAction *> actions = volume->actions();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("&Default output"));
    EXPECT_TRUE(actions.at(0)->isChecked());
    EXPECT_TRUE(menus->volumeLine().isEmpty());
    for (QAction *action : actions.mid(1))
        EXPECT_FALSE(action->data().toString().isEmpty()) << action->text().toStdString();
    actions.last()->trigger();
    EXPECT_TRUE(actions.last()->isChecked());
    EXPECT_EQ(menus->volumeLine(), actions.last()->data().toString());

    startup->player()->close();
    SettingsSession session;
    EXPECT_EQ(session.settings().volumeControl, actions.last()->data().toString());
}

// The properties page on its own, before the program hands it the browsers, still opens
// only web addresses.
TEST(AlbumWebLinksPage, TheDesktopOpensOnlyWebAddresses)
{
    UrlRecorder desktop;
    for (const char *scheme : {"https", "file", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &desktop, "open");
    AlbumDraft draft;
    draft.webLinks = {{QStringLiteral("File"), QStringLiteral("file:///etc/passwd"), 0},
                      {QStringLiteral("Mail"), QStringLiteral("mailto:a@b.example"), 0},
                      {QStringLiteral("Web"), QStringLiteral("https://web.example/"), 0}};
    AlbumWebLinksPage page;
    page.load(draft);
    auto *list = page.findChild<QListWidget *>(QStringLiteral("LinkList"));
    for (int row = 0; row < 3; ++row) {
        list->setCurrentRow(row);
        page.openAction()->trigger();
    }
    for (const char *scheme : {"https", "file", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    EXPECT_EQ(desktop.urls, QList<QUrl>{QUrl(QStringLiteral("https://web.example/"))});
}

#include "tst_weblinkmenus.moc"
