// The user manual: "&Help Topics" and F1 open the page of the window in focus through the
// desktop's URL handler, every page exists, and every link between the pages resolves.

#include "app/HelpTopics.h"
#include "app/StartupSequence.h"
#include "base/AppPaths.h"
#include "collection/TipList.h"
#include "TestHome.h"
#include "ui/collection/TCollectionForm.h"
#include "ui/player/TPlayerForm.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Stands in for the desktop's browser: keeps the addresses it is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

QAction *menuAction(QMenuBar *bar, const QString &text)
{
    for (QAction *menu : bar->actions()) {
        if (!menu->menu())
            continue;
        for (QAction *action : menu->menu()->actions()) {
            if (action->text() == text)
                return action;
        }
    }
    return nullptr;
}

QString readPage(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(Help, HelpTopicsAndF1OpenThePageOfTheWindowInFocus)
{
    TestHome home;
    UrlRecorder recorder;
    StartupSequence startup({QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(startup.start());
    TPlayerForm *player = startup.player();

    QAction *topics = menuAction(player->menuBar(), QStringLiteral("&Help Topics"));
    ASSERT_NE(topics, nullptr);
    EXPECT_EQ(topics->shortcut(), QKeySequence(Qt::Key_F1));
    topics->trigger();
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.at(0).fileName(), QStringLiteral("playing.html"));
    EXPECT_TRUE(QFileInfo::exists(recorder.urls.at(0).toLocalFile()));

    menuAction(player->menuBar(), QStringLiteral("&Collection"))->trigger();
    TCollectionForm *collection = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<TCollectionForm *>(widget); form && form->isVisible())
            collection = form;
    }
    ASSERT_NE(collection, nullptr);
    QWidget *focus = collection->focusWidget() ? collection->focusWidget() : collection;
    QTest::keyClick(focus, Qt::Key_F1);
    ASSERT_EQ(recorder.urls.size(), 2);
    EXPECT_EQ(recorder.urls.at(1).fileName(), QStringLiteral("collection.html"));
}

TEST(Help, EveryPageExistsAndEveryLinkResolves)
{
    const QString folder =
        QFileInfo(AppPaths::shippedFile(QStringLiteral("help/index.html"))).absolutePath();
    ASSERT_TRUE(QFileInfo::exists(folder + QStringLiteral("/index.html")));
    const QStringList pages = HelpTopics::pages();
    // Every page on disc is one the program knows, and the reverse.
    const QStringList onDisc = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
    EXPECT_EQ(QSet<QString>(onDisc.cbegin(), onDisc.cend()),
              QSet<QString>(pages.cbegin(), pages.cend()));

    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    QSet<QString> reached{QStringLiteral("index.html")};
    for (const QString &page : pages) {
        const QString text = readPage(folder + QLatin1Char('/') + page);
        ASSERT_FALSE(text.isEmpty()) << page.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (const QRegularExpressionMatch &match : link.globalMatch(text)) {
            const QString target = match.captured(1);
            if (target.startsWith(QStringLiteral("http")))
                continue;
            const QString file = target.section(QLatin1Char('#'), 0, 0);
            const QString anchor = target.section(QLatin1Char('#'), 1);
            const QString path = folder + QLatin1Char('/') + file;
            EXPECT_TRUE(QFileInfo::exists(path))
                << page.toStdString() << " -> " << target.toStdString();
            if (!anchor.isEmpty())
                EXPECT_TRUE(readPage(path).contains(QStringLiteral("id=\"%1\"").arg(anchor)))
                    << page.toStdString() << " -> " << target.toStdString();
            reached.insert(file);
        }
    }
    // No page is an orphan: each is linked from some page.
    for (const QString &page : pages)
        EXPECT_TRUE(reached.contains(page)) << page.toStdString();
    // Every window's topic is a page of the manual.
    EXPECT_TRUE(pages.contains(HelpTopics::pageFor(nullptr)));
}

// "More" on a tip of the day opens the page of the tip's topic: every topic the built-in tips
// name has a page of its own, and the page is shipped.
TEST(Help, EveryTipTopicHasItsPage)
{
    const TipList tips = TipList::builtin();
    ASSERT_GT(tips.count(), 0);
    for (int i = 0; i < tips.count(); ++i) {
        const Tip tip = tips.at(i);
        if (tip.topic.isEmpty())
            continue;
        const QString page = HelpTopics::pageForTip(tip.topic);
        EXPECT_NE(page, HelpTopics::pages().constFirst()) << tip.topic.toStdString();
        EXPECT_TRUE(QFileInfo::exists(HelpTopics::url(page).toLocalFile())) << page.toStdString();
    }
}

#include "tst_help.moc"
