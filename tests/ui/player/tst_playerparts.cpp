#include "ui/player/SizeStops.h"
#include "ui/player/TCursorStack.h"
#include "ui/player/TStatusBox.h"

#include <QGuiApplication>
#include <QLabel>

#include <gtest/gtest.h>

using namespace Orbisong;

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
