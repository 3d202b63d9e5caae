// The collection window's search and statistics pages over a real collection file, and its
// picture.

#include "CollectionWindowFixture.h"

#include "base/MessageIds.h"
#include "collection/TCfgFile.h"
#include "playback/DemoDisc.h"
#include "TestFiles.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/CollectionSearchPage.h"
#include "ui/collection/CollectionStatisticsPage.h"
#include "ui/collection/ResultListModel.h"
#include "ui/collection/ResultListView.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QList<QStringList> rowsOf(const ResultListView *view)
{
    QList<QStringList> rows;
    const ResultListModel *model = view->resultModel();
    for (int row = 0; row < model->rowCount(); ++row)
        rows.append(model->rowAt(row)->cells);
    return rows;
}

QStringList column(const ResultListView *view, int column)
{
    QStringList texts;
    for (const QStringList &row : rowsOf(view))
        texts.append(row.value(column));
    return texts;
}

} // namespace

TEST(CollectionSearch, FindsAlbumsAndTracksWithoutRegardToCase)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    CollectionSearchPage *page = window->searchPage();
    QStringList menu;
    for (QAction *action : page->typeMenu()->actions())
        menu.append(action->text());
    EXPECT_EQ(menu, QStringList(
                        {"Find albums with title containing", "Find albums with artist containing",
                         "Find albums with any field containing",
                         "Find tracks with title containing", "Find tracks with artist containing",
                         "Find tracks with other data containing"}));

    page->typeMenu()->actions().at(1)->trigger();
    EXPECT_EQ(page->searchType(), 0);
    page->setText(QStringLiteral("   "));
    QTest::mouseClick(page->searchButton(), Qt::LeftButton);
    EXPECT_EQ(page->results()->resultModel()->rowCount(), 0);

    page->setText(QStringLiteral(" be "));
    QTest::mouseClick(page->searchButton(), Qt::LeftButton);
    QStringList artists = column(page->results(), 0);
    artists.sort();
    EXPECT_EQ(artists, QStringList({"BEE GEES", "Beatles", "The Beatles"}));

    page->setSearchType(4);
    page->setText(QStringLiteral("INTRO"));
    page->search();
    EXPECT_EQ(column(page->results(), 3), QStringList({"Intro", "intro"}));

    // The row's album leaves the index: its row goes before the entry is freed.
    f.collection->DeleteAlbum(QStringLiteral("1000000000001"), false);
    EXPECT_EQ(column(page->results(), 3), QStringList({"intro"}));

    page->results()->showInformation(0);
    ASSERT_EQ(f.questions.asked().size(), 1);
    EXPECT_EQ(f.questions.asked().at(0).id, Msg::Notice);
    EXPECT_EQ(f.questions.asked().at(0).texts.at(1),
              QStringLiteral("Album: Main Course\nArtist: BEE GEES\nTrack Number: 1"));
    QSignalSpy properties(window, &TCollectionForm::propertiesRequested);
    page->results()->menu()->actions().at(1)->trigger();
    page->results()->setCurrentIndex(page->results()->model()->index(0, 0));
    page->results()->menu()->actions().at(1)->trigger();
    ASSERT_EQ(properties.size(), 1);
    EXPECT_EQ(properties.at(0).at(0).toString(), QStringLiteral("2000000000002"));
}

TEST(CollectionSearch, StatisticsRankPlaysAndMergeEqualTrackTitles)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    CollectionStatisticsPage *page = window->statisticsPage();
    QStringList tabs;
    for (int i = 0; i < page->tabs()->count(); ++i)
        tabs.append(page->tabs()->tabText(i));
    EXPECT_EQ(tabs, QStringList({"Instructions", "Most Played Albums", "Most Played Tracks",
                                 "Recently Played Albums"}));

    window->pages()->setCurrentWidget(page);
    page->tabs()->setCurrentIndex(1);
    EXPECT_EQ(
        rowsOf(page->ranking(CollectionStatisticsPage::MostPlayedAlbums)),
        QList<QStringList>({{"The Beatles", "Abbey Road", "2"}, {"BEE GEES", "Main Course", "1"}}));

    f.settings.SetOptionFlag(_GLOB_OPTION_STATMERGETRACKS, false);
    page->calculate(CollectionStatisticsPage::MostPlayedTracks);
    EXPECT_EQ(rowsOf(page->ranking(CollectionStatisticsPage::MostPlayedTracks)),
              QList<QStringList>({{"The Beatles", "Come Together", "5"},
                                  {"BEE GEES", "intro", "4"},
                                  {"The Beatles", "Intro", "3"},
                                  {"BEE GEES", "Jive Talkin'", "1"}}));
    f.settings.SetOptionFlag(_GLOB_OPTION_STATMERGETRACKS, true);
    page->calculate(CollectionStatisticsPage::MostPlayedTracks);
    const QList<QStringList> merged =
        rowsOf(page->ranking(CollectionStatisticsPage::MostPlayedTracks));
    ASSERT_EQ(merged.size(), 3);
    EXPECT_EQ(merged.at(0).mid(1), QStringList({"Intro", "7"}));

    page->setClock([] { return QDateTime(QDate(2023, 3, 19), QTime(12, 0)); });
    page->calculate(CollectionStatisticsPage::RecentlyPlayedAlbums);
    EXPECT_EQ(column(page->ranking(CollectionStatisticsPage::RecentlyPlayedAlbums), 1),
              QStringList({"Abbey Road", "Main Course", "Abbey Road"}));

    // A play count change recalculates the ranking on show.
    page->tabs()->setCurrentIndex(1);
    const AlbumIndexNode *help = f.collection->FindAlbum(QStringLiteral("4000000000004"));
    f.collection->OpenCollectionFile();
    f.collection->file()->WriteInteger(help->blockName, QStringLiteral("Usage"),
                                       QStringLiteral("IC"), 9);
    f.collection->CloseCollection();
    f.collection->notifyIndexChanged(*help, ChangePlayCount, {});
    EXPECT_EQ(rowsOf(page->ranking(CollectionStatisticsPage::MostPlayedAlbums)).value(0),
              QStringList({"Beatles", "Help", "9"}));
}

// The window over a small collection that holds the demo disc's album.
TEST(CollectionSearch, Screenshot)
{
    CollectionWindowFixture f;
    QList<TestAlbum> albums = CollectionWindowFixture::albums();
    TestAlbum demo = albums.at(0);
    demo.id = QStringLiteral("0F0000000000A");
    demo.artist = DemoDisc::artist();
    demo.title = DemoDisc::title();
    demo.category = QStringLiteral("Demo");
    demo.year = QStringLiteral("2026");
    demo.tracks = DemoDisc::trackTitles();
    demo.playCounts.clear();
    albums.prepend(demo);
    writeFile(f.path, collectionText(albums));
    f.collection->BuildAlbumIndex();
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("Ann")));
    const QDir out(TestHome::binaryDir());
    out.mkpath(QStringLiteral("screenshots"));
    EXPECT_TRUE(window->grab().save(out.filePath(QStringLiteral("screenshots/collection.png"))));
}
