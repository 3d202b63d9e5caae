#include "ui/player/SizeStops.h"
#include "ui/player/TCursorStack.h"
#include "player/TimerMoments.h"
#include "cddb/CddbQuery.h"
#include "player/RecognitionSequence.h"
#include "ui/player/TStatusBox.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

struct FakeClock
{
    QDateTime now = QDateTime(QDate(2026, 3, 14), QTime(21, 0, 0));
    TimerMoments::Clock clock()
    {
        return [this] { return now; };
    }
};

} // namespace

TEST(TimerMoments, DelayOfZeroFiresAtTheNextCheck)
{
    FakeClock fake;
    TimerMoments timers(fake.clock());
    EXPECT_TRUE(timers.check().isEmpty());
    EXPECT_TRUE(timers.setAfterMinutes(TimerMoments::Play, 0));
    fake.now = fake.now.addMSecs(4800);
    EXPECT_EQ(timers.check(), QList<TimerMoments::Kind>{TimerMoments::Play});
    EXPECT_FALSE(timers.isSet(TimerMoments::Play));
    EXPECT_TRUE(timers.check().isEmpty());
}

TEST(TimerMoments, PastClockTimeIsNotKeptAndFutureFiresOnce)
{
    FakeClock fake;
    TimerMoments timers(fake.clock());
    EXPECT_FALSE(timers.setAt(TimerMoments::Stop, fake.now.addSecs(-60)));
    EXPECT_FALSE(timers.isSet(TimerMoments::Stop));
    EXPECT_FALSE(timers.setAt(TimerMoments::Stop, QDateTime()));

    ASSERT_TRUE(timers.setAt(TimerMoments::Stop, fake.now.addSecs(10)));
    ASSERT_TRUE(timers.setAfterMinutes(TimerMoments::Play, 2));
    EXPECT_TRUE(timers.poll(0).isEmpty());
    fake.now = fake.now.addSecs(11);
    EXPECT_TRUE(timers.poll(4000).isEmpty()) << "checked only every 4800 ms";
    EXPECT_EQ(timers.poll(4800), QList<TimerMoments::Kind>{TimerMoments::Stop});
    fake.now = fake.now.addSecs(120);
    EXPECT_EQ(timers.poll(9600), QList<TimerMoments::Kind>{TimerMoments::Play});
    EXPECT_FALSE(timers.setAfterMinutes(TimerMoments::Play, -1));
}

TEST(TStatusBox, NewestShownExpiryAndRemoval)
{
    QLabel label;
    qint64 now = 1000;
    TStatusBox box(&label, [&now] { return now; });
    int shown = 0;
    int removed = 0;
    const int lasting = box.add(
        QStringLiteral("Looking up"), 0, [&] { ++shown; }, [&] { ++removed; });
    EXPECT_EQ(label.text(), QStringLiteral("Looking up"));
    box.add(QStringLiteral("Saved"), 2);
    EXPECT_EQ(label.text(), QStringLiteral("Saved"));
    now += 1500;
    box.removeExpired();
    EXPECT_EQ(label.text(), QStringLiteral("Saved"));
    now += 600;
    box.removeExpired();
    EXPECT_EQ(label.text(), QStringLiteral("Saved")) << "swept at most once a second";
    now += 500;
    box.removeExpired();
    EXPECT_EQ(label.text(), QStringLiteral("Looking up"));
    EXPECT_EQ(shown, 2);
    box.remove(lasting);
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(label.text(), QString());
    box.remove(lasting);
    EXPECT_EQ(box.count(), 0);
}

TEST(TCursorStack, PopsFromTheMiddle)
{
    TCursorStack stack;
    const int wait = stack.push(Qt::WaitCursor);
    const int busy = stack.push(Qt::BusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    stack.pop(wait);
    EXPECT_EQ(stack.shownShape(), Qt::BusyCursor);
    stack.pop(busy);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        BusyCursor guard(stack);
        EXPECT_EQ(stack.depth(), 1);
    }
    EXPECT_EQ(stack.depth(), 0);
}

TEST(SizeStops, SnapsBetweenStops)
{
    SizeStops::Metrics m;
    m.menu = 20;
    m.caption = 24;
    m.frame = 4;
    m.mini = 30;
    m.controls = 60;
    m.details = 44;
    m.status = 24;
    m.edit = 30;
    m.miniWidth = 200;
    m.fullWidth = 420;
    const SizeStops s = SizeStops::compute(m);
    EXPECT_EQ(s.match(40), SizeStops::Mini);
    EXPECT_EQ(s.snappedHeight(40), 24 + 4 + 30 + 3);
    // Between the heights of stops 2 and 3: the range that holds it decides.
    EXPECT_EQ(s.snappedHeight(48 + 60 + 10), 48 + 60 + 4);
    EXPECT_EQ(s.snappedHeight(48 + 60 + 30), 48 + 60 + 44 + 4);
    EXPECT_EQ(s.match(48 + 60 + 44 + 24 + 12 + 30), SizeStops::Status);
    EXPECT_EQ(s.match(600), SizeStops::Playlist);
    EXPECT_EQ(s.snappedHeight(600), 600);
    EXPECT_EQ(s.stops[SizeStops::Mini].width, 200);
}

TEST(RecognitionSequence, StagesRunInTurnUntilOneFinds)
{
    QList<int> ran;
    int endStage = -1;
    int endNotice = -1;
    auto run = [&](bool remote, bool wizard, int foundAt) {
        ran.clear();
        RecognitionSequence::Request request;
        request.remoteLookup = remote;
        request.albumWizard = wizard;
        auto *lookup = new RecognitionSequence(request);
        for (int stage = 0; stage < RecognitionSequence::StageCount; ++stage) {
            lookup->setStage(RecognitionSequence::Stage(stage),
                             [&ran, stage, foundAt](const RecognitionSequence::Request &, auto report) {
                                 ran.append(stage);
                                 report(stage == foundAt ? RecognitionSequence::Found
                                                         : RecognitionSequence::NotFound);
                             });
        }
        QObject::connect(lookup, &RecognitionSequence::finished, [&](int stage, int notice) {
            endStage = stage;
            endNotice = notice;
        });
        lookup->start();
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    };
    run(false, false, -1);
    EXPECT_EQ(ran, QList<int>({0, 1, 2}));
    EXPECT_EQ(endNotice, RecognitionSequence::NotFound);
    run(true, true, -1);
    EXPECT_EQ(ran, QList<int>({0, 1, 2, 3, 4}));
    run(true, true, 2);
    EXPECT_EQ(ran, QList<int>({0, 1, 2}));
    EXPECT_EQ(endStage, 2);
    EXPECT_EQ(endNotice, RecognitionSequence::Found);
}

TEST(CddbQuery, QueryText)
{
    EXPECT_EQ(CddbQueryText(QStringLiteral("8A09B10C00096"), {150, 4650, 9150}, 243),
              QStringLiteral("8a09b10c 3 150 4650 9150 243"));
}
