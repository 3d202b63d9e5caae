// Times the collection window over a generated collection of realistic albums, offscreen:
// opening it, grouping, sorting by a header click, switching the look, searching and ranking,
// and prints the peak memory. Usage: bench_collection_window [ALBUMS] (default 100000).

#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "collection/AlbumGrouping.h"
#include "collection/AlbumSearch.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "CollectionGenerator.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/AlbumViews.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/CollectionSearchPage.h"
#include "ui/collection/CollectionStatisticsPage.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"
#include "ui/collection/ResultListModel.h"
#include "ui/collection/ResultListView.h"
#include "ui/collection/TCollectionForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace Orbisong;

namespace {

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// One run of a step, painted: the window's own work and the repaint it causes.
void measure(const char *what, const std::function<QString()> &work)
{
    QElapsedTimer timer;
    timer.start();
    const QString result = work();
    QCoreApplication::processEvents();
    std::printf("%-36s %9.1f ms  peak %7.1f MB  %s\n", what, double(timer.nsecsElapsed()) / 1e6,
                peakMegabytes(), qPrintable(result));
    std::fflush(stdout);
}

// Says "Yes" to the deletion questions.
class YesPort : public QuestionPort
{
public:
    int ask(int, const QString &, const QString &, const QString &) override { return ResultYes; }
};

// The row of the member with the most albums.
int largestMember(const CollectionGeneralPage *page)
{
    const QList<GroupMember> &members = page->memberColumn()->model()->members();
    int best = 0;
    for (int row = 1; row < members.size(); ++row) {
        if (members.at(row).albumCount > members.at(best).albumCount)
            best = row;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int albums = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.obc"));
    generateCollection(path, albums);
    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    settings.SetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN, true);
    settings.peakCount = albums;
    Collection collection(settings, path);
    std::printf("== %d albums\n", albums);
    measure("build the index", [&] {
        collection.BuildAlbumIndex();
        return QStringLiteral("%1 indexed").arg(collection.albumCount());
    });

    YesPort yes;
    std::unique_ptr<TCollectionForm> window;
    measure("open the window", [&] {
        window = std::make_unique<TCollectionForm>(collection, &yes);
        window->show();
        return window->generalPage()->countText();
    });
    CollectionGeneralPage *page = window->generalPage();
    const auto members = [page] {
        return QStringLiteral("%1 members").arg(page->memberColumn()->model()->rowCount());
    };
    measure("group by year", [&] {
        page->setGrouping(GroupField::Year);
        return members();
    });
    measure("group by artist", [&] {
        page->setGrouping(GroupField::Artist);
        return members();
    });
    measure("choose the largest artist", [&] {
        page->chooseMember(largestMember(page));
        return page->countText();
    });
    measure("group by owner", [&] {
        page->setGrouping(GroupField::Owner);
        return members();
    });
    measure("choose the largest owner", [&] {
        page->chooseMember(largestMember(page));
        return page->countText();
    });
    measure("sort by title (header click)", [&] {
        page->sortByColumn(AlbumListModel::Title);
        return page->countText();
    });
    measure("sort by year (header click)", [&] {
        page->sortByColumn(AlbumListModel::Year);
        return page->countText();
    });
    measure("look: large icons", [&] {
        page->views()->setStyle(AlbumViews::LargeIcons);
        return page->countText();
    });
    measure("look: details", [&] {
        page->views()->setStyle(AlbumViews::Details);
        return page->countText();
    });
    CollectionSearchPage *search = window->searchPage();
    const auto hits = [search] {
        return QStringLiteral("%1 hits").arg(search->results()->resultModel()->rowCount());
    };
    measure("search album titles for \"river\"", [&] {
        search->setSearchType(SearchTitle);
        search->setText(QStringLiteral("river"));
        search->search();
        return hits();
    });
    measure("search track titles for \"river\"", [&] {
        search->setSearchType(SearchTrackTitle);
        search->search();
        return hits();
    });
    CollectionStatisticsPage *statistics = window->statisticsPage();
    measure("statistics: most played albums", [&] {
        statistics->calculate(CollectionStatisticsPage::MostPlayedAlbums);
        const ResultListView *ranking =
            statistics->ranking(CollectionStatisticsPage::MostPlayedAlbums);
        return QStringLiteral("%1 items").arg(ranking->resultModel()->rowCount());
    });
    // An edit in the properties window returns at once; the save it starts runs on the
    // writer thread while the window thread keeps answering a 1 ms timer.
    const QString editedId = page->albumModel()->albumAt(0)->id;
    measure("properties: open, edit the title, apply", [&] {
        TAlbumPropertiesForm form(collection, editedId, settings.customFields);
        form.show();
        auto *title = form.findChild<QLineEdit *>(QStringLiteral("TitleEdit"));
        title->setText(QStringLiteral("Edited Title"));
        emit title->textEdited(title->text()); // as typing would
        form.applyButton()->click();
        return QStringLiteral("write pending: %1").arg(collection.isWritePending() ? "yes" : "no");
    });
    {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = qMax(longest, now - last);
            last = now;
        });
        tick.start(1);
        while (collection.isWritePending() || clock.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        tick.stop();
        std::printf("%-36s %9.1f ms  (background save took %.0f ms)\n",
                    "longest window-thread stall", double(longest) / 1e6,
                    double(clock.nsecsElapsed()) / 1e6);
    }
    measure("delete the largest artist's albums", [&] {
        page->setGrouping(GroupField::Artist);
        const int row = largestMember(page);
        const int count = page->memberColumn()->model()->memberAt(row)->albumCount;
        page->deleteMember(row);
        return QStringLiteral("%1 deleted, %2 left").arg(count).arg(collection.albumCount());
    });
    measure("delete a year's albums from the owner's list", [&] {
        page->setGrouping(GroupField::Owner);
        page->chooseMember(largestMember(page));
        AlbumViews *views = page->views();
        const AlbumListModel *model = page->albumModel();
        int selected = 0;
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->albumAt(row)->year == QStringLiteral("1990")) {
                views->selection()->select(model->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
                ++selected;
            }
        }
        page->deleteSelected();
        return QStringLiteral("%1 deleted, %2 left").arg(selected).arg(page->countText());
    });
    measure("close the window", [&] {
        window->close();
        return QString();
    });
    std::printf("peak memory %.1f MB\n", peakMegabytes());
    return 0;
}
