// The collection window's "&Export" button opens the export wizard with the window's
// grouping, and the accepted wizard's export runs under its progress window.

#include "app/ExportWindows.h"
#include "app/StartupSequence.h"
#include "collection/SettingsSession.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/TCollectionForm.h"
#include "ui/player/TPlayerForm.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

template <typename T> T *visibleWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<T *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

TEST(ExportWindows, TheCollectionWindowsButtonOpensTheWizard)
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
                    "CA=Rock\r\n[Media]\r\nMD=65537\r\n");
    const QString site = home.file(QStringLiteral("site"));
    QDir().mkpath(site);

    StartupSequence startup({QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(startup.start());
    QTest::mouseClick(
        startup.player()->findChild<QToolButton *>(QStringLiteral("CollectionButton")),
        Qt::LeftButton);
    auto *collection = visibleWindow<TCollectionForm>();
    ASSERT_NE(collection, nullptr);
    collection->generalPage()->setGrouping(GroupField::Category);
    collection->generalPage()->chooseMember(0);

    collection->exportButton()->click();
    auto *wizard = visibleWindow<TExportWizard>();
    ASSERT_NE(wizard, nullptr);
    collection->exportButton()->click();
    EXPECT_EQ(visibleWindow<TExportWizard>(), wizard); // one at a time
    wizard->nextButton()->click();
    EXPECT_EQ(wizard->groupChoice()->text(),
              QStringLiteral("Export a&lbums with category \"Pop\"."));
    wizard->groupChoice()->setChecked(true);
    wizard->nextButton()->click();
    wizard->htmlFormat()->setChecked(true);
    wizard->nextButton()->click();
    wizard->nextButton()->click();
    wizard->locationEdit()->setText(site);
    wizard->nextButton()->click();
    ASSERT_EQ(wizard->currentPane(), wizard->confirmPane());
    wizard->finishButton()->click();

    auto *progress = visibleWindow<ExportProgressDialog>();
    ASSERT_NE(progress, nullptr);
    QSignalSpy done(progress, &ExportProgressDialog::exportDone);
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(QDir(site).entryList(QDir::Files), QStringList({"1000000000001.html", "index.html"}));
    startup.player()->close();
}
