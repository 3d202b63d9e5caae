#include "CollectionWindowFixture.h"

#include "TestFiles.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/AlbumViews.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"

#include <QCoreApplication>
#include <QItemSelectionModel>

using namespace Orbisong;

QByteArray collectionText(const QList<TestAlbum> &albums)
{
    QString text;
    for (const TestAlbum &a : albums) {
        text += QStringLiteral("<%1>\r\n [Album]\r\n  ID=%1\r\n  AR=%2\r\n  TL=%3\r\n  CA=%4\r\n"
                               "  YR=%5\r\n  OW=%6\r\n  FL=%7\r\n [Media]\r\n  MD=%8\r\n")
                    .arg(a.id, a.artist, a.title, a.category, a.year, a.owner)
                    .arg(a.flags)
                    .arg(a.mediaKind);
        text += QStringLiteral(" [Tracks]\r\n  CT=%1\r\n").arg(a.tracks.size());
        for (int i = 0; i < a.tracks.size(); ++i) {
            text += QStringLiteral("  TT[%1]=%2\r\n").arg(i + 1).arg(a.tracks.at(i));
            if (i < a.playCounts.size())
                text += QStringLiteral("  TC[%1]=%2\r\n").arg(i + 1).arg(a.playCounts.at(i));
        }
        text += QStringLiteral(" [Usage]\r\n  IC=%1\r\n").arg(a.inserts);
        for (int i = 0; i < a.insertTimes.size(); ++i)
            text += QStringLiteral("  RI[%1]=%2\r\n").arg(i + 1).arg(a.insertTimes.at(i));
    }
    return text.toUtf8();
}

QList<TestAlbum> CollectionWindowFixture::albums()
{
    return {
        {"1000000000001",
         "The Beatles",
         "Abbey Road",
         "Rock",
         "1969",
         "Ann",
         0,
         65537,
         {"Come Together", "Intro"},
         {5, 3},
         2,
         {"3/14/2023 9:15 PM", "3/18/2023 8:00 PM"}},
        {"2000000000002",
         "BEE GEES",
         "Main Course",
         "Disco",
         "1975",
         "Bob",
         0,
         65537,
         {"intro", "Jive Talkin'"},
         {4, 1},
         1,
         {"3/16/2023 7:30 PM"}},
        {"3000000000003",
         "John Smith",
         "A Quiet Night",
         "Jazz",
         "1990",
         "Ann",
         4,
         65537,
         {"Blue"},
         {},
         0,
         {}},
        {"4000000000004", "Beatles", "Help", "rock", "", "", 0, 65537, {}, {}, 0, {}},
        {"5000000000005", "Data Disc", "Drivers", "", "", "Ann", 0, 65540, {}, {}, 0, {}},
        {"6000000000006",
         "Abba",
         "Arrival",
         "Pop",
         "1976",
         "Bob",
         0,
         65537,
         {"Dancing Queen"},
         {},
         0,
         {}},
        {"7000000000007",
         "Cher",
         "Believe",
         "Pop",
         "1998",
         "Ann",
         0,
         65537,
         {"Believe"},
         {},
         0,
         {}},
    };
}

CollectionWindowFixture::CollectionWindowFixture()
    : path(home.file(QStringLiteral("ann.obc"))),
      settings(Settings::defaults(home.path(), QStringLiteral("ann"), QString()))
{
    writeFile(path, collectionText(albums()));
    collection = std::make_unique<Collection>(settings, path);
    collection->setQuestionPort(&questions);
    collection->BuildAlbumIndex();
}

CollectionWindowFixture::~CollectionWindowFixture()
{
    window.reset();
    collection->ShutdownCollection();
}

TCollectionForm *CollectionWindowFixture::openWindow()
{
    window = std::make_unique<TCollectionForm>(*collection, &questions);
    window->show();
    QCoreApplication::processEvents();
    return window.get();
}

bool CollectionWindowFixture::chooseMember(GroupField field, const QString &text)
{
    CollectionGeneralPage *page = window->generalPage();
    if (page->grouping() != field)
        page->setGrouping(field);
    const QList<GroupMember> &members = page->memberColumn()->model()->members();
    for (int row = 0; row < members.size(); ++row) {
        if (members.at(row).text == text) {
            page->chooseMember(row);
            return page->currentMember() == row;
        }
    }
    return false;
}

QStringList CollectionWindowFixture::memberTexts() const
{
    QStringList texts;
    for (const GroupMember &member : window->generalPage()->memberColumn()->model()->members())
        texts.append(member.text);
    return texts;
}

QStringList CollectionWindowFixture::listedTitles() const
{
    QStringList titles;
    const AlbumListModel *model = window->generalPage()->albumModel();
    for (int row = 0; row < model->rowCount(); ++row)
        titles.append(model->index(row, AlbumListModel::Title).data().toString());
    return titles;
}

void CollectionWindowFixture::selectAll()
{
    AlbumViews *views = window->generalPage()->views();
    const AlbumListModel *model = window->generalPage()->albumModel();
    views->selection()->select(
        QItemSelection(model->index(0, 0),
                       model->index(model->rowCount() - 1, AlbumListModel::ColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void CollectionWindowFixture::insertDisc(const QString &id)
{
    current.disc.id = id;
    current.disc.mediaKind = 65537;
    current.discPresent = true;
    collection->setCurrentAlbum(&current);
}
