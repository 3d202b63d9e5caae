// The collection window's "&Print" opens the print wizard over what the window shows, and the
// wizard's "E&dit" opens the template editor, which saves into the user's templates folder.

#include "PrintTestSupport.h"
#include "TestFiles.h"
#include "TestHome.h"

#include "app/PrintWindows.h"
#include "app/StartupSequence.h"
#include "collection/SettingsSession.h"
#include "print/PrintTemplateFolder.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/TCollectionForm.h"
#include "ui/player/TPlayerForm.h"
#include "ui/print/PrintPageView.h"
#include "ui/print/TPrintBlockProperties.h"
#include "ui/print/TPrintEditor.h"
#include "ui/print/TPrintWizard.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(PrintWindows, PrintOpensTheWizardAndEditOpensTheEditor)
{
    TestHome home;
    const QString path = home.file(QStringLiteral("music.obc"));
    {
        SettingsSession session;
        session.settings().collectionPath = path;
        session.settings().customFields = {QStringLiteral("Shelf"), QStringLiteral("Bought")};
        ASSERT_TRUE(session.save());
    }
    writeFile(path, "<1000000000001>\r\n[Album]\r\nID=1000000000001\r\nAR=Cher\r\nTL=Believe\r\n"
                    "[Media]\r\nMD=65537\r\n"
                    "<2000000000002>\r\n[Album]\r\nID=2000000000002\r\nAR=Abba\r\nTL=Arrival\r\n"
                    "[Media]\r\nMD=65537\r\n");
    StartupSequence startup({QStringLiteral("/NODRIVE")});
    ASSERT_TRUE(startup.start());
    QTest::mouseClick(
        startup.player()->findChild<QToolButton *>(QStringLiteral("CollectionButton")),
        Qt::LeftButton);
    TCollectionForm *collection = startup.player()->findChild<TCollectionForm *>();
    ASSERT_NE(collection, nullptr);
    collection->generalPage()->setGrouping(GroupField::Artist);
    collection->generalPage()->chooseMember(0);

    collection->printButton()->click();
    TPrintWizard *wizard = startup.printWindows()->wizard();
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->groupButton()->text(), QStringLiteral("Print a&lbums with artist \"Abba\""));
    wizard->groupButton()->setChecked(true);
    EXPECT_EQ(wizard->chosenIds(), QStringList{QStringLiteral("2000000000002")});

    // Editing a shipped template saves the user's own copy, which the wizard then lists.
    wizard->templateList()->setCurrentRow(0);
    wizard->editButton()->click();
    TPrintEditor *editor = startup.printWindows()->editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->savePath(),
              PrintTemplateFolder::userFolder() + QStringLiteral("/catalogue.obt"));
    // The block properties offer the custom fields of the options as tags.
    QStringList offered;
    editor->setPropertiesRunner([&](TPrintBlockProperties &dialog) {
        for (QAction *action : dialog.insertMenu()->actions()) {
            if (action->menu() && action->text() == QStringLiteral("Custom fields")) {
                for (QAction *field : action->menu()->actions())
                    offered.append(field->text());
            }
        }
        return false;
    });
    // The header, 4 inches across and half an inch down at 50%.
    QTest::mouseClick(editor->page(), Qt::LeftButton, {}, QPoint(16 + 4 * 48, 16 + 24));
    ASSERT_NE(editor->page()->selected(), PrintPageView::NoBlock);
    editor->tool(QStringLiteral("PropertiesTool"))->trigger();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Shelf"), QStringLiteral("Bought")}));

    editor->tool(QStringLiteral("SingleAlbumTool"))->trigger();
    ASSERT_TRUE(editor->save());
    EXPECT_EQ(wizard->templatePath(), editor->savePath());
    editor->close();

    startup.player()->close();
    QCoreApplication::processEvents();
}
