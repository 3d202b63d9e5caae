// MusicBrainz: disc ids as libdiscid computes them, the service's replies, and lookups against
// the peer with its rate limit, fallback, refusals and stop.

#include "ServicePeer.h"

#include "base/ThreadWindow.h"
#include "cddb/MusicBrainzDiscId.h"
#include "cddb/MusicBrainzRateGate.h"
#include "cddb/MusicBrainzReply.h"
#include "cddb/TMusicBrainzThread.h"
#include "playback/CdioDevice.h"
#include "playback/DemoDisc.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <discid/discid.h>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

DiscToc tocOf(int leadOut, const QList<int> &offsets)
{
    DiscToc toc;
    toc.last = int(offsets.size());
    toc.leadOut = leadOut;
    toc.offsets = offsets;
    return toc;
}

// The id libdiscid gives for the table, asked directly.
QString libdiscidId(const DiscToc &toc)
{
    int offsets[100] = {};
    offsets[0] = toc.leadOut;
    for (int i = 0; i < toc.offsets.size(); ++i)
        offsets[i + 1] = toc.offsets.at(i);
    DiscId *disc = discid_new();
    EXPECT_TRUE(discid_put(disc, toc.first, toc.last, offsets));
    const QString id = QString::fromLatin1(discid_get_id(disc));
    discid_free(disc);
    return id;
}

const DiscToc SixTracks = tocOf(95462, {150, 15363, 32314, 46592, 63414, 80489});

QJsonObject release(const QString &id, const QString &title, const QJsonArray &credit,
                    const QString &date, const QStringList &tracks, const QString &discId = {})
{
    QJsonArray trackList;
    for (const QString &track : tracks)
        trackList.append(QJsonObject{{QStringLiteral("title"), track}});
    QJsonArray discs;
    if (!discId.isEmpty())
        discs.append(QJsonObject{{QStringLiteral("id"), discId}});
    const QJsonObject medium{{QStringLiteral("discs"), discs},
                             {QStringLiteral("tracks"), trackList}};
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("title"), title},
                       {QStringLiteral("date"), date},
                       {QStringLiteral("artist-credit"), credit},
                       {QStringLiteral("media"), QJsonArray{medium}}};
}

QJsonArray credit(const QString &name, const QString &join = {})
{
    return QJsonArray{
        QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("joinphrase"), join}}};
}

QByteArray releases(const QJsonArray &list)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("releases"), list}}).toJson();
}

const QStringList SixTitles = {QStringLiteral("One"),   QStringLiteral("Two"),
                               QStringLiteral("Three"), QStringLiteral("Four"),
                               QStringLiteral("Five"),  QStringLiteral("Six")};

// Picks the release the test names from the list the window would show.
struct PickRelease : ThreadRequestHandler
{
    QString pick;
    QString offered;
    void showGreeting(const QString &) override {}
    bool chooseMatch(const QString &candidates, QString *category, QString *discId) override
    {
        offered = candidates;
        *category = QStringLiteral("misc");
        *discId = pick;
        return !pick.isEmpty();
    }
};

int runLookup(TMusicBrainzThread &thread)
{
    QEventLoop loop;
    int result = -1;
    QObject::connect(&thread, &TMusicBrainzThread::lookupFinished, &loop, [&](int code) {
        result = code;
        loop.quit();
    });
    thread.start();
    loop.exec();
    return result;
}

} // namespace

TEST(MusicBrainzDiscId, MatchesLibdiscid)
{
    EXPECT_EQ(MusicBrainzDiscId(SixTracks), QStringLiteral("49HHV7Eb8UKF3aQiNmu1GR8vKTY-"));
    EXPECT_EQ(MusicBrainzDiscId(SixTracks), libdiscidId(SixTracks));
    const DiscToc twelve = tocOf(267257, {150, 22767, 41887, 58317, 72102, 91375, 104652, 115380,
                                          132165, 143932, 159870, 174597});
    EXPECT_EQ(MusicBrainzDiscId(twelve), libdiscidId(twelve));
    EXPECT_EQ(MusicBrainzTocParameter(twelve),
              QStringLiteral("1+12+267257+150+22767+41887+58317+72102+91375+104652+115380+"
                             "132165+143932+159870+174597"));

    // The demo disc, as the drive layer reads its image.
    QTemporaryDir folder;
    ASSERT_TRUE(DemoDisc::write(folder.path()));
    CdioDevice demo(DemoDisc::cuePath(folder.path()));
    int count = 0;
    ASSERT_EQ(demo.trackCount(&count), 0);
    DiscToc toc;
    toc.last = count;
    for (int t = 1; t <= count; ++t) {
        int start = 0;
        demo.trackStart(t, &start);
        toc.offsets.append(start);
    }
    demo.trackStart(count + 1, &toc.leadOut);
    ASSERT_EQ(toc.offsets.first(), 150);
    EXPECT_EQ(MusicBrainzDiscId(toc).size(), 28);
    EXPECT_EQ(MusicBrainzDiscId(toc), libdiscidId(toc));

    DiscToc broken = SixTracks;
    broken.leadOut = 80000;
    EXPECT_TRUE(MusicBrainzDiscId(broken).isEmpty());
}

TEST(MusicBrainzReply, ReadsReleasesAndRefusesOtherShapes)
{
    QJsonArray duo = credit(QStringLiteral("Ann"), QStringLiteral(" & "));
    duo.append(credit(QStringLiteral("Bo"), QStringLiteral(" feat. ")).first());
    duo.append(credit(QStringLiteral("Cy")).first());
    QJsonObject twoDiscs = release(QStringLiteral("r-1"), QStringLiteral("Double"), duo,
                                   QStringLiteral("1994-05-02"), {QStringLiteral("Wrong")});
    QJsonArray media = twoDiscs.value(QStringLiteral("media")).toArray();
    media.append(release({}, {}, {}, {}, {QStringLiteral("A"), QStringLiteral("B")},
                         QStringLiteral("DISC-2"))
                     .value(QStringLiteral("media"))
                     .toArray()
                     .first());
    twoDiscs.insert(QStringLiteral("media"), media);
    QList<FoundAlbum> found;
    ASSERT_TRUE(ParseMusicBrainzReply(releases({twoDiscs}), QStringLiteral("DISC-2"), 2, &found));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.at(0).artist, QStringLiteral("Ann & Bo feat. Cy"));
    EXPECT_EQ(found.at(0).year, QStringLiteral("1994"));
    EXPECT_EQ(found.at(0).releaseId, QStringLiteral("r-1"));
    EXPECT_EQ(found.at(0).trackTitles, QStringList({QStringLiteral("A"), QStringLiteral("B")}));

    for (const QByteArray &bad : {QByteArray("{\"releases\": [ {\"id\": "), QByteArray("[1, 2]"),
                                  QByteArray("{\"release-list\": []}"),
                                  QByteArray("{\"releases\": [{\"title\": \"x\"}]}")}) {
        EXPECT_FALSE(ParseMusicBrainzReply(bad, QStringLiteral("X"), 2, &found)) << bad.data();
        EXPECT_TRUE(found.isEmpty());
    }
}

class MusicBrainzLookup : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(peer.startMusicBrainz()); }
    QString discId = MusicBrainzDiscId(SixTracks);
    ServicePeer peer;
};

TEST_F(MusicBrainzLookup, FindsByDiscIdThenByTocWithinTheRateLimit)
{
    const QJsonObject one =
        release(QStringLiteral("rel-one"), QStringLiteral("Album"), credit(QStringLiteral("Band")),
                QStringLiteral("2001"), SixTitles, discId);
    peer.setRoutes({{discId, ServicePeer::reply(200, releases({one}))}});
    TMusicBrainzThread byId(peer.url(), SixTracks, nullptr);
    ASSERT_EQ(runLookup(byId), TMusicBrainzThread::Found);
    EXPECT_EQ(byId.chosen().title, QStringLiteral("Album"));
    EXPECT_EQ(byId.chosen().trackTitles, SixTitles);

    // Unknown by id: the fuzzy form by table of contents finds it.
    const QString toc = MusicBrainzTocParameter(SixTracks);
    peer.setRoutes({{QStringLiteral("toc=") + toc, ServicePeer::reply(200, releases({one}))}});
    TMusicBrainzThread byToc(peer.url(), SixTracks, nullptr);
    ASSERT_EQ(runLookup(byToc), TMusicBrainzThread::Found);
    EXPECT_EQ(byToc.chosen().releaseId, QStringLiteral("rel-one"));

    const QStringList requests = peer.requests();
    ASSERT_EQ(requests.size(), 3);
    const QString byIdLine = QStringLiteral("GET /ws/2/discid/%1?inc=artist-credits+recordings"
                                            "&fmt=json HTTP/1.1")
                                 .arg(discId);
    EXPECT_EQ(requests.at(0), byIdLine);
    EXPECT_EQ(requests.at(1), byIdLine);
    EXPECT_TRUE(requests.at(2).startsWith(QStringLiteral("GET /ws/2/discid/-?toc=") + toc))
        << requests.at(2).toStdString();
    const QRegularExpression agent(
        QStringLiteral("^User-Agent: Orbisong/\\d+\\.\\d+\\.\\d+ \\( .*@.* \\)$"));
    for (const QString &line : peer.transcript()) {
        if (line.startsWith(QLatin1String("User-Agent:"))) {
            EXPECT_TRUE(line.contains(agent)) << line.toStdString();
        }
    }
    const QList<double> arrivals = peer.arrivals();
    // The gate spaces the sends by a second; the peer stamps arrivals when it gets to run,
    // which on a loaded machine can be late for one request and on time for the next. A
    // missing gate gives gaps near zero.
    for (int i = 1; i < arrivals.size(); ++i)
        EXPECT_GE(arrivals.at(i) - arrivals.at(i - 1), 0.75) << i;
}

// The gate itself, without a network between: slots booked one after another lie a whole
// second apart, whoever books them.
TEST(MusicBrainzRateGate, BookedSlotsAreASecondApart)
{
    // A slot is the booking moment plus the wait. Taking the clock after the later booking
    // and before the earlier one bounds the distance from below whatever the scheduler does
    // in between; clock and waits are whole milliseconds. The slots booked here delay the
    // gate's later users in this process by as much, so there are only three.
    QElapsedTimer clock;
    clock.start();
    qint64 before = clock.elapsed();
    qint64 wait = MusicBrainzRateGate::reserve();
    for (int i = 0; i < 2; ++i) {
        const qint64 earliestPrevious = before + wait;
        before = clock.elapsed();
        wait = MusicBrainzRateGate::reserve();
        const qint64 latestThis = clock.elapsed() + wait;
        EXPECT_GE(latestThis - earliestPrevious, MusicBrainzRateGate::IntervalMs - 2) << i;
    }
}

TEST_F(MusicBrainzLookup, LookupsRunningTogetherShareOneGate)
{
    TMusicBrainzThread first(peer.url(), SixTracks, nullptr);
    TMusicBrainzThread second(peer.url(), SixTracks, nullptr);
    int done = 0;
    QEventLoop loop;
    for (TMusicBrainzThread *thread : {&first, &second}) {
        QObject::connect(thread, &TMusicBrainzThread::lookupFinished, &loop, [&] {
            if (++done == 2)
                loop.quit();
        });
        thread->start();
    }
    loop.exec();
    EXPECT_EQ(first.result(), TMusicBrainzThread::NotFound);
    EXPECT_EQ(second.result(), TMusicBrainzThread::NotFound);
    QList<double> arrivals = peer.arrivals();
    ASSERT_EQ(arrivals.size(), 4);
    std::sort(arrivals.begin(), arrivals.end());
    // The gate spaces the sends by a second; the peer stamps arrivals when it gets to run,
    // which on a loaded machine can be late for one request and on time for the next. A
    // missing gate gives gaps near zero.
    for (int i = 1; i < arrivals.size(); ++i)
        EXPECT_GE(arrivals.at(i) - arrivals.at(i - 1), 0.75) << i;
}

TEST_F(MusicBrainzLookup, RefusalsAndBrokenRepliesApplyNothing)
{
    QJsonObject busy = ServicePeer::reply(503, "{\"error\": \"slow down\"}");
    busy.insert(QStringLiteral("retry_after"), 30);
    peer.setRoutes({{discId, busy}});
    TMusicBrainzThread refused(peer.url(), SixTracks, nullptr);
    EXPECT_EQ(runLookup(refused), TMusicBrainzThread::Failed);
    EXPECT_TRUE(refused.errorText().contains(QLatin1String("503")));
    EXPECT_TRUE(refused.errorText().contains(QLatin1String("30 seconds")))
        << refused.errorText().toStdString();
    EXPECT_TRUE(refused.releases().isEmpty());

    peer.setRoutes({{discId, ServicePeer::reply(200, "{\"releases\": [{\"id\": \"x\", ")}});
    TMusicBrainzThread malformed(peer.url(), SixTracks, nullptr);
    EXPECT_EQ(runLookup(malformed), TMusicBrainzThread::Failed);
    EXPECT_TRUE(malformed.releases().isEmpty());
    EXPECT_TRUE(malformed.chosen().releaseId.isEmpty());

    // The stop button ends a lookup that waits on a slow reply.
    peer.setRoutes({{discId, ServicePeer::reply(200, releases({}), 60)}});
    TMusicBrainzThread slow(peer.url(), SixTracks, nullptr);
    QObject::connect(&slow, &TMusicBrainzThread::statusChanged, &slow,
                     [&slow] { slow.requestStop(); });
    EXPECT_EQ(runLookup(slow), TMusicBrainzThread::Failed);
    EXPECT_TRUE(slow.releases().isEmpty());
}

TEST_F(MusicBrainzLookup, SeveralReleasesAreOfferedForChoice)
{
    const QJsonArray list{
        release(QStringLiteral("rel-a"), QStringLiteral("Album"), credit(QStringLiteral("Band")),
                QStringLiteral("1990"), SixTitles, discId),
        release(QStringLiteral("rel-b"), QStringLiteral("Album"), credit(QStringLiteral("Band")),
                QStringLiteral("2010-01"), SixTitles, discId)};
    peer.setRoutes({{discId, ServicePeer::reply(200, releases(list))}});
    ThreadWindow window;
    PickRelease picker;
    picker.pick = QStringLiteral("00000001");
    window.setHandler(&picker);
    TMusicBrainzThread thread(peer.url(), SixTracks, &window);
    ASSERT_EQ(runLookup(thread), TMusicBrainzThread::Found);
    EXPECT_EQ(thread.chosen().releaseId, QStringLiteral("rel-b"));
    EXPECT_EQ(thread.chosen().year, QStringLiteral("2010"));
    EXPECT_TRUE(picker.offered.contains(QLatin1String("Band / Album [1990")));
    EXPECT_TRUE(picker.offered.contains(QLatin1String("Band / Album [2010")));

    picker.pick.clear();
    TMusicBrainzThread cancelled(peer.url(), SixTracks, &window);
    EXPECT_EQ(runLookup(cancelled), TMusicBrainzThread::NotFound);
}
