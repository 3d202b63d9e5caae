// The player's "Collection" button opens the collection window over the program's collection;
// the window's state reaches the saved settings when the player closes.

#include "app/StartupSequence.h"
#include "collection/SettingsSession.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/TCollectionForm.h"
#include "ui/player/TPlayerForm.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QList<TCollectionForm *> collectionWindows()
{
    QList<TCollectionForm *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<TCollectionForm *>(widget); window && window->isVisible())
            windows.append(window);
    }
    return windows;
}

} // namespace

TEST(CollectionWindows, ThePlayersButtonOpensOneWindow)
{
    TestHome home;
    const QString path = home.file(QStringLiteral("music.obc"));
    {
        SettingsSession session;
        session.settings().collectionPath = path;
        ASSERT_TRUE(session.save());
    }
    writeFile(path, "<1000000000001>\r\n[Album]\r\nID=1000000000001\r\nAR=Cher\r\nTL=Believe\r\n"
                    "CA=Pop\r\n[Media]\r\nMD=65537\r\n"
                    "<2000000000002>\r\n[Album]\r\nID=2000000000002\r\nAR=Abba\r\nTL=Arrival\r\n"
                    "CA=Pop\r\n[Media]\r\nMD=65537\r\n");
    {
        StartupSequence startup({QStringLiteral("/NODRIVE")});
        ASSERT_TRUE(startup.start());
        auto *button =
            startup.player()->findChild<QToolButton *>(QStringLiteral("CollectionButton"));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(collectionWindows().size(), 1);
        TCollectionForm *window = collectionWindows().first();
        window->generalPage()->setGrouping(GroupField::Category);
        EXPECT_EQ(window->generalPage()->countText(), QStringLiteral("2 albums"));

        // Asking for an album's properties in the collection opens its properties window.
        emit window->propertiesRequested(QStringLiteral("2000000000002"));
        TAlbumPropertiesForm *properties = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *form = qobject_cast<TAlbumPropertiesForm *>(widget);
                form && form->isVisible())
                properties = form;
        }
        ASSERT_NE(properties, nullptr);
        EXPECT_EQ(properties->albumId(), QStringLiteral("2000000000002"));
        properties->close();

        // Again: the open window comes to the front, no second one opens.
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(collectionWindows(), QList<TCollectionForm *>({window}));

        startup.player()->close();
        QCoreApplication::processEvents();
        EXPECT_TRUE(collectionWindows().isEmpty());
    }
    SettingsSession reread;
    EXPECT_EQ(reread.settings().collectionProperties.grouping, int(GroupField::Category));
}
