// The collection window over real collection files: grouping, sorting, deleting, the member
// column's menu, dropping albums on a member, live updates, and the state it keeps.

#include "CollectionWindowFixture.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "TestFiles.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/AlbumViews.h"
#include "ui/collection/CollectionSearchPage.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"
#include "ui/collection/MemberListView.h"
#include "ui/collection/ResultListModel.h"
#include "ui/collection/ResultListView.h"
#include "ui/common/TInputForm.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

void clickHeader(TCollectionForm *window, int column)
{
    QHeaderView *header = window->generalPage()->views()->table()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + 4, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

QString countLine(TCollectionForm *window)
{
    return window->generalPage()->countLabel()->text();
}

} // namespace

TEST(CollectionForm, GroupsAudioAlbumsByTheirSortKeys)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Collection"));
    // "The Beatles" and "Beatles" share a member; John Smith with flag 4 sorts under S; the
    // CD-ROM never shows.
    EXPECT_EQ(f.memberTexts(),
              QStringList({"Abba", "The Beatles", "BEE GEES", "Cher", "John Smith"}));
    EXPECT_EQ(window->generalPage()->memberColumn()->headerButton()->text(),
              QStringLiteral("Artists"));
    ASSERT_TRUE(f.chooseMember(GroupField::Artist, QStringLiteral("The Beatles")));
    EXPECT_EQ(f.listedTitles(), QStringList({"Abbey Road", "Help"}));
    EXPECT_EQ(countLine(window), QStringLiteral("2 albums"));

    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("(None)")));
    EXPECT_EQ(f.memberTexts(), QStringList({"(None)", "Ann", "Bob"}));
    EXPECT_EQ(window->generalPage()->memberColumn()->headerButton()->text(),
              QStringLiteral("Owners"));
    EXPECT_EQ(countLine(window), QStringLiteral("1 album"));

    QStringList menu;
    for (QAction *action : window->generalPage()->memberColumn()->groupingMenu()->actions())
        menu.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(menu, QStringList({"Collections", "-", "Artists", "Binders", "Categories", "Owners",
                                 "Years"}));
}

TEST(CollectionForm, ACollectionOfCdRomsShowsNoAlbums)
{
    CollectionWindowFixture f;
    QList<TestAlbum> albums = {CollectionWindowFixture::albums().at(4)};
    writeFile(f.path, collectionText(albums));
    f.collection->BuildAlbumIndex();
    TCollectionForm *window = f.openWindow();
    EXPECT_TRUE(f.memberTexts().isEmpty());
    EXPECT_EQ(countLine(window), QStringLiteral("No albums"));
}

TEST(CollectionForm, HeaderClicksSortTheList)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("Bob")));
    // Artist first: Abba before BEE GEES.
    EXPECT_EQ(f.listedTitles(), QStringList({"Arrival", "Main Course"}));
    clickHeader(window, AlbumListModel::Year);
    EXPECT_EQ(window->generalPage()->sortOrder(), QByteArray("YATCO"));
    EXPECT_EQ(f.listedTitles(), QStringList({"Main Course", "Arrival"}));
    clickHeader(window, AlbumListModel::Year);
    EXPECT_EQ(window->generalPage()->sortOrder(), QByteArray("YATCO"));
    clickHeader(window, AlbumListModel::Title);
    EXPECT_EQ(window->generalPage()->sortOrder(), QByteArray("TYACO"));
    EXPECT_EQ(f.listedTitles(), QStringList({"Arrival", "Main Course"}));
}

TEST(CollectionForm, DeletingSelectedAlbumsAsksAndKeepsTheDiscInTheDrive)
{
    CollectionWindowFixture f;
    f.insertDisc(QStringLiteral("7000000000007"));
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("Ann")));
    ASSERT_EQ(f.listedTitles().size(), 3);

    f.selectAll();
    f.questions.answer(ResultNo);
    window->generalPage()->deleteSelected();
    ASSERT_EQ(f.questions.asked().size(), 1);
    EXPECT_EQ(f.questions.asked().at(0).id, Msg::DeleteSeveralAlbums);
    EXPECT_EQ(f.questions.asked().at(0).texts.at(0), QStringLiteral("3"));
    EXPECT_EQ(f.listedTitles().size(), 3);

    // The search results name the albums too: their rows go with them.
    window->searchPage()->setSearchType(1);
    window->searchPage()->setText(QStringLiteral("e"));
    window->searchPage()->search();
    const ResultListModel *hits = window->searchPage()->results()->resultModel();
    ASSERT_EQ(hits->rowCount(), 5);

    f.questions.answer(ResultYes);
    QTest::keyClick(window->generalPage()->views()->table(), Qt::Key_Delete);
    QStringList found;
    for (int row = 0; row < hits->rowCount(); ++row)
        found.append(hits->rowAt(row)->title);
    found.sort();
    EXPECT_EQ(found, QStringList({"Believe", "Help", "Main Course"}));
    ASSERT_EQ(f.questions.asked().size(), 2);
    EXPECT_EQ(f.questions.asked().at(1).id, Msg::DeleteSeveralAlbums);
    EXPECT_EQ(f.listedTitles(), QStringList({"Believe"}));
    EXPECT_EQ(countLine(window), QStringLiteral("1 album"));
    EXPECT_NE(f.collection->FindAlbum(QStringLiteral("7000000000007")), nullptr);
    EXPECT_EQ(f.collection->FindAlbum(QStringLiteral("1000000000001")), nullptr);

    f.selectAll();
    f.questions.answer(ResultYes);
    window->generalPage()->deleteSelected();
    EXPECT_EQ(f.questions.asked().at(2).id, Msg::DeleteOneAlbum);
    EXPECT_EQ(f.questions.asked().at(2).texts.at(0), QStringLiteral("Believe"));
    EXPECT_NE(f.collection->FindAlbum(QStringLiteral("7000000000007")), nullptr);
}

TEST(CollectionForm, DeletingAMemberAsksWithItsAlbumCount)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("Bob")));
    const int bob = window->generalPage()->currentMember();

    f.questions.answer(ResultNo);
    window->generalPage()->deleteMember(bob);
    ASSERT_EQ(f.questions.asked().size(), 1);
    EXPECT_EQ(f.questions.asked().at(0).id, Msg::DeleteSeveralAlbums);
    EXPECT_EQ(f.questions.asked().at(0).texts.at(0), QStringLiteral("2"));
    EXPECT_NE(f.collection->FindAlbum(QStringLiteral("6000000000006")), nullptr);

    f.questions.answer(ResultYes);
    window->generalPage()->deleteMember(bob);
    EXPECT_EQ(f.collection->FindAlbum(QStringLiteral("6000000000006")), nullptr);
    EXPECT_EQ(f.collection->FindAlbum(QStringLiteral("2000000000002")), nullptr);
    EXPECT_EQ(f.memberTexts(), QStringList({"(None)", "Ann"}));
    EXPECT_EQ(countLine(window), QStringLiteral("No albums"));
}

TEST(CollectionForm, NewMemberAsksForItsValue)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Binder, QStringLiteral("(None)")));
    QStringList asked;
    QString answer = QStringLiteral("  Shelf 2  ");
    window->setValueAsker([&](const QString &caption, const QString &prompt, QString *value) {
        asked = {caption, prompt, *value};
        *value = answer;
        return true;
    });
    window->generalPage()->addMember();
    EXPECT_EQ(asked,
              QStringList({"Add New Binder", "Please enter the text for the new Binder value.",
                           "New Binder"}));
    EXPECT_EQ(f.memberTexts(), QStringList({"(None)", "Shelf 2"}));
    EXPECT_EQ(window->generalPage()->currentMember(), 1);
    EXPECT_EQ(countLine(window), QStringLiteral("No albums"));

    // A blank answer names the empty value, which the column already has.
    answer = QStringLiteral("   ");
    window->generalPage()->addMember();
    EXPECT_EQ(f.memberTexts(), QStringList({"(None)", "Shelf 2"}));
    EXPECT_EQ(window->generalPage()->currentMember(), 0);
}

TEST(CollectionForm, NewMemberAsksInTheInputWindow)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Category, QStringLiteral("Jazz")));
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *input = qobject_cast<TInputForm *>(QApplication::activeModalWidget());
        if (!input)
            return;
        shown = {input->windowTitle(), input->prompt()->text(), input->text()};
        input->edit()->setText(QStringLiteral("Blues"));
        input->accept();
    });
    window->generalPage()->addMember();
    EXPECT_EQ(shown,
              QStringList({"Add New Category", "Please enter the text for the new Category value.",
                           "New Category"}));
    EXPECT_TRUE(f.memberTexts().contains(QStringLiteral("Blues")));
    EXPECT_EQ(countLine(window), QStringLiteral("No albums"));
}

TEST(CollectionForm, DroppingAlbumsOnAMemberSetsTheirField)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("Ann")));
    QModelIndexList rows;
    for (int row = 0; row < 2; ++row)
        rows.append(window->generalPage()->albumModel()->index(row, 0));
    std::unique_ptr<QMimeData> dragged(window->generalPage()->albumModel()->mimeData(rows));

    MemberListView *members = window->generalPage()->memberColumn()->view();
    const int bob = window->generalPage()->memberColumn()->model()->rowOfKey(QStringLiteral("BOB"));
    const QPoint on = members->visualRect(members->model()->index(bob, 0)).center();
    ASSERT_GE(bob, 0);
    ASSERT_TRUE(members->rect().contains(on));
    // A drag enters the column before it drops there.
    QDragEnterEvent enter(on, Qt::CopyAction | Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(members->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(on, Qt::CopyAction | Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(members->viewport(), &drop);
    QCoreApplication::processEvents();

    EXPECT_EQ(f.collection->FindAlbum(QStringLiteral("1000000000001"))->owner,
              QStringLiteral("Bob"));
    EXPECT_EQ(f.listedTitles(), QStringList({"A Quiet Night"}));
    EXPECT_EQ(countLine(window), QStringLiteral("1 album"));
    const QList<GroupMember> &after = window->generalPage()->memberColumn()->model()->members();
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after.at(2).albumCount, 4);

    // Onto "(None)": the field is emptied.
    window->generalPage()->moveAlbumsToMember(0, {QStringLiteral("3000000000003")});
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.collection->FindAlbum(QStringLiteral("3000000000003"))->owner.isEmpty());
    EXPECT_EQ(countLine(window), QStringLiteral("No albums"));
    EXPECT_EQ(f.memberTexts(), QStringList({"(None)", "Ann", "Bob"}));
}

TEST(CollectionForm, FollowsTheCollectionsChanges)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Artist, QStringLiteral("The Beatles")));

    f.collection->SetAlbumTitle(QStringLiteral("4000000000004"), QStringLiteral("Rubber Soul"));
    EXPECT_EQ(f.listedTitles(), QStringList({"Abbey Road", "Rubber Soul"}));

    f.collection->SetAlbumArtist(QStringLiteral("6000000000006"), QStringLiteral("Beatles"));
    f.collection->SetAlbumArtist(QStringLiteral("1000000000001"), QStringLiteral("Wings"));
    QCoreApplication::processEvents();
    EXPECT_EQ(f.listedTitles(), QStringList({"Arrival", "Rubber Soul"}));
    EXPECT_TRUE(f.memberTexts().contains(QStringLiteral("Wings")));
    EXPECT_FALSE(f.memberTexts().contains(QStringLiteral("Abba")));

    f.collection->SetAlbumCategory(QStringLiteral("4000000000004"), QStringLiteral("Pop"));
    EXPECT_EQ(window->generalPage()->albumModel()->index(1, AlbumListModel::Category).data(),
              QStringLiteral("Pop"));

    f.collection->DeleteAlbum(QStringLiteral("4000000000004"), false);
    EXPECT_EQ(f.listedTitles(), QStringList({"Arrival"}));
    EXPECT_EQ(countLine(window), QStringLiteral("1 album"));

    f.collection->AddAlbumToIndex(QStringLiteral("8000000000008"), QStringLiteral("8000000000008"),
                                  65537, 0, {}, QStringLiteral("Let It Be"), {}, {}, {},
                                  QStringLiteral("The Beatles"), 0);
    EXPECT_EQ(f.listedTitles(), QStringList({"Arrival", "Let It Be"}));
}

TEST(CollectionForm, DoubleClickEnterAndMenusAskForProperties)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    QSignalSpy properties(window, &TCollectionForm::propertiesRequested);
    QSignalSpy exports(window, &TCollectionForm::exportRequested);
    QSignalSpy prints(window, &TCollectionForm::printRequested);
    ASSERT_TRUE(f.chooseMember(GroupField::Artist, QStringLiteral("Cher")));
    QTableView *table = window->generalPage()->views()->table();
    const QModelIndex first = table->model()->index(0, 0);
    table->setCurrentIndex(first);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
    QTest::keyClick(table, Qt::Key_Return);
    QStringList menu;
    for (QAction *action : window->generalPage()->albumMenu()->actions())
        menu.append(action->text());
    EXPECT_EQ(menu, QStringList({"&View", "&Delete", "P&roperties"}));
    window->generalPage()->albumMenu()->actions().at(2)->trigger();
    ASSERT_EQ(properties.size(), 3);
    for (const QList<QVariant> &call : properties)
        EXPECT_EQ(call.at(0).toString(), QStringLiteral("7000000000007"));

    QTest::mouseClick(window->exportButton(), Qt::LeftButton);
    QTest::mouseClick(window->printButton(), Qt::LeftButton);
    EXPECT_EQ(exports.size(), 1);
    EXPECT_EQ(prints.size(), 1);
}

TEST(CollectionForm, ImportRefusesTheCurrentFileAndMergesOthers)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    QString chosen = f.home.file(QStringLiteral("sub/../ann.obc"));
    QDir(f.home.path()).mkdir(QStringLiteral("sub"));
    window->setImportChooser([&](QWidget *) { return chosen; });
    QTest::mouseClick(window->importButton(), Qt::LeftButton);
    ASSERT_EQ(f.questions.asked().size(), 1);
    EXPECT_EQ(f.questions.asked().at(0).id, Msg::CannotImportCurrentCollection);

    TestAlbum other = CollectionWindowFixture::albums().at(2);
    other.id = QStringLiteral("9000000000009");
    other.artist = QStringLiteral("Zappa");
    other.title = QStringLiteral("Hot Rats");
    TestAlbum replaced = CollectionWindowFixture::albums().at(5);
    replaced.artist = QStringLiteral("ABBA");
    replaced.title = QStringLiteral("Arrival (Remaster)");
    chosen = f.home.file(QStringLiteral("other.obc"));
    writeFile(chosen, collectionText({other, replaced}));
    QTest::mouseClick(window->importButton(), Qt::LeftButton);
    EXPECT_EQ(f.questions.asked().size(), 1);
    EXPECT_TRUE(f.memberTexts().contains(QStringLiteral("Zappa")));
    ASSERT_TRUE(f.chooseMember(GroupField::Artist, QStringLiteral("ABBA")));
    EXPECT_EQ(f.listedTitles(), QStringList({"Arrival (Remaster)"}));
}

TEST(CollectionForm, ClosingStoresItsStateAndOpeningRestoresIt)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Year, QStringLiteral("1969")));
    clickHeader(window, AlbumListModel::Owner);
    window->generalPage()->views()->setStyle(AlbumViews::SmallIcons);
    window->generalPage()->views()->setColumnWidth(AlbumListModel::Artist, 123);
    window->generalPage()->splitter()->setSizes({140, 500});
    const int left = window->generalPage()->splitter()->sizes().at(0);
    window->searchPage()->setSearchType(4);
    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());

    const CollectionProperties &state = f.settings.collectionProperties;
    EXPECT_EQ(state.grouping, 4);
    EXPECT_EQ(state.sortOrder, QByteArray("OATCY"));
    EXPECT_EQ(state.listView, 3);
    EXPECT_EQ(state.columnWidths[1], 123);
    EXPECT_EQ(state.splitterPosition, left + 2);
    EXPECT_EQ(state.searchType, 4);
    // The window let go of the file: it is written and released.
    EXPECT_EQ(f.collection->openCount(), 0);

    TCollectionForm *again = f.openWindow();
    EXPECT_EQ(again->generalPage()->grouping(), GroupField::Year);
    EXPECT_EQ(again->generalPage()->sortOrder(), QByteArray("OATCY"));
    EXPECT_EQ(again->generalPage()->views()->style(), AlbumViews::SmallIcons);
    EXPECT_EQ(again->generalPage()->views()->columnWidth(AlbumListModel::Artist), 123);
    EXPECT_EQ(again->searchPage()->searchType(), 4);
    EXPECT_EQ(again->searchPage()->typeButton()->text(),
              QStringLiteral("Find tracks with title containing"));
}

TEST(CollectionForm, TheViewMenuSwitchesLooksAndKeepsTheSelection)
{
    CollectionWindowFixture f;
    TCollectionForm *window = f.openWindow();
    ASSERT_TRUE(f.chooseMember(GroupField::Owner, QStringLiteral("Ann")));
    AlbumViews *views = window->generalPage()->views();
    views->selection()->select(window->generalPage()->albumModel()->index(1, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QMenu *view = window->generalPage()->albumMenu()->actions().at(0)->menu();
    QStringList looks;
    for (QAction *action : view->actions())
        looks.append(action->text());
    EXPECT_EQ(looks, QStringList({"Lar&ge Icons", "S&mall Icons", "&List", "&Details"}));

    const QList<int> expected = {AlbumViews::LargeIcons, AlbumViews::SmallIcons, AlbumViews::List,
                                 AlbumViews::Details};
    for (int i = 0; i < expected.size(); ++i) {
        view->actions().at(i)->trigger();
        EXPECT_EQ(views->style(), expected.at(i));
        EXPECT_EQ(views->currentWidget(), views->currentView());
        ASSERT_EQ(views->selectedAlbums().size(), 1);
        EXPECT_EQ(views->selectedAlbums().first()->title, QStringLiteral("Believe"));
    }

    // The Delete key works in every look.
    view->actions().at(2)->trigger();
    f.questions.answer(ResultNo);
    QTest::keyClick(views->list(), Qt::Key_Delete);
    ASSERT_EQ(f.questions.asked().size(), 1);
    EXPECT_EQ(f.questions.asked().at(0).id, Msg::DeleteOneAlbum);
    EXPECT_EQ(f.questions.asked().at(0).texts.at(0), QStringLiteral("Believe"));
}
