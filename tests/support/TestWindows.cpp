#include "TestWindows.h"

#include "TestHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

bool waitFor(const std::function<bool()> &done, int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < milliseconds)
        QTest::qWait(10);
    return done();
}

void saveScreenshot(QWidget *window, const QString &name)
{
    const QDir out(TestHome::binaryDir());
    out.mkpath(QStringLiteral("screenshots"));
    EXPECT_TRUE(window->grab().save(out.filePath(QStringLiteral("screenshots/") + name)));
}
