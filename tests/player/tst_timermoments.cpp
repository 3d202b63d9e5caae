#include "player/TimerMoments.h"

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
