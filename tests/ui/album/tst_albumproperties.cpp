#include "collection/AlbumDraft.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "collection/TCfgFile.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/album/TAlbumPropertiesForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace Orbisong;

namespace {

const QString Id = QStringLiteral("0A1B2C0212345");

const char *const StoredAlbum = "<0A1B2C0212345>\r\n [Album]\r\n  ID=0A1B2C0212345\r\n"
                                "  TL=Old Title\r\n  AR=Old Artist\r\n  FL=3\r\n  CS=Label=Old\r\n"
                                " [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=2\r\n  TT[1]=One\r\n"
                                "  TC[1]=4\r\n  TT[2]=Two\r\n  TC[2]=9\r\n [Usage]\r\n  IC=2\r\n"
                                "  FI=then\r\n  RI[1]=then\r\n [Events]\r\n  AE[1]=Old script\r\n";

class AlbumProperties : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(path, StoredAlbum);
        collection = std::make_unique<Collection>(settings, path);
        collection->BuildAlbumIndex();
    }

    std::unique_ptr<TAlbumPropertiesForm> open()
    {
        auto form =
            std::make_unique<TAlbumPropertiesForm>(*collection, Id, QStringList({"Label", "Mood"}));
        form->show();
        return form;
    }

    template <typename T> T *child(QWidget *form, const char *name)
    {
        T *widget = form->findChild<T *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // The saved file, once the window let go of the collection.
    QString saved(const QString &section, const QString &key)
    {
        collection->ShutdownCollection();
        TCfgFile file(path);
        file.load();
        return file.ReadString(Id, section, key, QStringLiteral("<none>"));
    }

    void type(QWidget *form, const char *name, const QString &text)
    {
        auto *edit = child<QLineEdit>(form, name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    TestHome home;
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    QString path = home.file(QStringLiteral("ann.obc"));
    std::unique_ptr<Collection> collection;
};

} // namespace

TEST_F(AlbumProperties, ApplyWritesEveryEditAndKeepsThePlayerFlags)
{
    auto form = open();
    EXPECT_EQ(form->windowTitle(), "Album Properties");
    QStringList tabs;
    for (int i = 0; i < form->pages()->count(); ++i)
        tabs.append(form->pages()->tabText(i));
    EXPECT_EQ(tabs, QStringList({"General", "Custom", "Tracks", "WebLinks", "Statistics", "Scripts",
                                 "Database"}));
    EXPECT_FALSE(form->applyButton()->isEnabled());
    EXPECT_EQ(child<QLineEdit>(form.get(), "TitleEdit")->text(), "Old Title");

    type(form.get(), "TitleEdit", QStringLiteral("New Title"));
    EXPECT_TRUE(form->applyButton()->isEnabled()) << "any change enables Apply";
    auto *artist = child<QComboBox>(form.get(), "ArtistCombo");
    artist->lineEdit()->selectAll();
    QTest::keyClicks(artist->lineEdit(), QStringLiteral("Jane Doe"));
    type(form.get(), "CopyrightEdit", QStringLiteral("(c) 1990"));
    child<QCheckBox>(form.get(), "LastNameCheck")->setChecked(true);
    QTest::keyClicks(child<QComboBox>(form.get(), "BinderCombo")->lineEdit(), "Box");
    QTest::keyClicks(child<QComboBox>(form.get(), "CategoryCombo")->lineEdit(), "Folk");
    type(form.get(), "YearEdit", QStringLiteral("1990"));
    type(form.get(), "IndexEdit", QStringLiteral("12"));
    auto *owner = child<QComboBox>(form.get(), "OwnerCombo");
    owner->lineEdit()->selectAll();
    QTest::keyClicks(owner->lineEdit(), QStringLiteral("Ben"));
    type(form.get(), "OtherEdit", QStringLiteral("signed"));
    type(form.get(), "Custom_Mood", QStringLiteral("calm"));
    child<QPlainTextEdit>(form.get(), "CommentsEdit")->setPlainText("one\ntwo");
    auto *tracks = child<QListWidget>(form.get(), "TrackList");
    tracks->setCurrentRow(1);
    type(form.get(), "TrackTitleEdit", QStringLiteral("Second"));
    child<QPlainTextEdit>(form.get(), "TrackOtherEdit")->setPlainText("live");
    tracks->setCurrentRow(0);
    EXPECT_EQ(tracks->item(1)->text(), "2. Second");
    EXPECT_EQ(child<QLineEdit>(form.get(), "SourceEdit")->text(), "Manually entered or unknown");
    EXPECT_EQ(child<QLineEdit>(form.get(), "IDEdit")->text(), Id);

    form->applyButton()->click();
    EXPECT_FALSE(form->applyButton()->isEnabled());
    form->okButton()->click();
    form.reset();
    EXPECT_EQ(saved("Album", "TL"), "New Title");
    EXPECT_EQ(saved("Album", "AR"), "Jane Doe");
    EXPECT_EQ(saved("Album", "CO"), "(c) 1990");
    EXPECT_EQ(saved("Album", "FL"), "7") << "intro and repeat survive Apply";
    EXPECT_EQ(saved("Album", "BI"), "Box");
    EXPECT_EQ(saved("Album", "CA"), "Folk");
    EXPECT_EQ(saved("Album", "YR"), "1990");
    EXPECT_EQ(saved("Album", "IX"), "12");
    EXPECT_EQ(saved("Album", "OW"), "Ben");
    EXPECT_EQ(saved("Album", "US"), "signed");
    EXPECT_EQ(saved("Album", "CS"), "Label=Old\\nMood=calm");
    EXPECT_EQ(saved("Comments", "TX"), "one\\ntwo");
    EXPECT_EQ(saved("Tracks", "TT[1]"), "One");
    EXPECT_EQ(saved("Tracks", "TT[2]"), "Second");
    EXPECT_EQ(saved("Tracks", "TM[2]"), "live");
}

TEST_F(AlbumProperties, UncheckingLastNameFirstKeepsIntroAndRepeat)
{
    writeFile(path, QByteArray(StoredAlbum).replace("FL=3", "FL=7"));
    collection = std::make_unique<Collection>(settings, path);
    collection->BuildAlbumIndex();
    auto form = open();
    auto *box = child<QCheckBox>(form.get(), "LastNameCheck");
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    form->okButton()->click();
    form.reset();
    EXPECT_EQ(saved("Album", "FL"), "3");
}

TEST_F(AlbumProperties, ScriptLeftAtTheTemplateIsStoredEmptyAndShownAgain)
{
    auto form = open();
    auto *script = child<QPlainTextEdit>(form.get(), "ScriptEdit");
    auto *event = child<QComboBox>(form.get(), "EventCombo");
    EXPECT_EQ(script->toPlainText(), "Old script");
    event->setCurrentIndex(1);
    const QString shownTemplate = script->toPlainText();
    EXPECT_TRUE(shownTemplate.startsWith("procedure Main;\n  // Enter code for this event here."));
    event->setCurrentIndex(0);
    script->setPlainText(shownTemplate);
    form->okButton()->click();
    form.reset();
    EXPECT_EQ(saved("Events", "AE[1]"), "");

    collection = std::make_unique<Collection>(settings, path);
    collection->BuildAlbumIndex();
    auto again = open();
    EXPECT_EQ(child<QPlainTextEdit>(again.get(), "ScriptEdit")->toPlainText(), shownTemplate);
}

TEST_F(AlbumProperties, ClearAllThenCancelChangesNothing)
{
    const QByteArray before = readFile(path);
    auto form = open();
    auto *plays = child<QTreeWidget>(form.get(), "PlaysList");
    ASSERT_EQ(plays->topLevelItemCount(), 2);
    EXPECT_EQ(plays->topLevelItem(0)->text(0), "9");
    EXPECT_EQ(plays->topLevelItem(0)->text(1), "Two");
    EXPECT_EQ(child<QTreeWidget>(form.get(), "InsertsList")->topLevelItem(0)->text(0), "then");
    child<QPushButton>(form.get(), "ClearAllButton")->click();
    EXPECT_EQ(plays->topLevelItemCount(), 0);
    EXPECT_TRUE(form->applyButton()->isEnabled());
    form->cancelButton()->click();
    form.reset();
    collection->ShutdownCollection();
    EXPECT_EQ(readFile(path), before);
}

TEST_F(AlbumProperties, ClearAllThenOkResetsTheUsage)
{
    auto form = open();
    child<QPushButton>(form.get(), "ClearAllButton")->click();
    form->okButton()->click();
    form.reset();
    EXPECT_EQ(saved("Usage", "IC"), "<none>");
    EXPECT_EQ(saved("Usage", "RI[1]"), "<none>");
    EXPECT_EQ(saved("Tracks", "TC[1]"), "0");
    EXPECT_EQ(saved("Tracks", "TC[2]"), "0");
    EXPECT_EQ(saved("Album", "TL"), "Old Title");
}

TEST_F(AlbumProperties, WebLinksAreAddedOpenedAndDeleted)
{
    auto form = open();
    QList<WebLinkItem> opened;
    form->setLinkOpener([&](const WebLinkItem &link) { opened.append(link); });
    auto *page = form->findChild<AlbumWebLinksPage *>();
    ASSERT_NE(page, nullptr);
    page->newAction()->trigger();
    auto *list = child<QListWidget>(form.get(), "LinkList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Add WebLink");
    QTest::keyClicks(child<QLineEdit>(form.get(), "URLEdit"), "http://example.org/");
    type(form.get(), "LinkTitleEdit", QStringLiteral("Example"));
    child<QRadioButton>(form.get(), "SecondBrowserRadio")->setChecked(true);
    page->openAction()->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.at(0).address, "http://example.org/");
    EXPECT_EQ(opened.at(0).flags, 4);
    page->newAction()->trigger();
    page->deleteAction()->trigger();
    EXPECT_EQ(list->count(), 1);
    form->okButton()->click();
    form.reset();
    EXPECT_EQ(saved("WebLink", "CT"), "1");
    EXPECT_EQ(saved("WebLink", "WU[1]"), "http://example.org/");
    EXPECT_EQ(saved("WebLink", "WT[1]"), "Example");
    EXPECT_EQ(saved("WebLink", "WF[1]"), "4");
}

TEST_F(AlbumProperties, ChangesMadeElsewhereShowUnlessEditing)
{
    auto form = open();
    collection->SetAlbumTitle(Id, QStringLiteral("Renamed"));
    // The window hears the change through the registry; here it is told directly.
    form->albumChanged(12);
    EXPECT_EQ(child<QLineEdit>(form.get(), "TitleEdit")->text(), "Renamed");
    type(form.get(), "YearEdit", QStringLiteral("2000"));
    collection->SetAlbumTitle(Id, QStringLiteral("Again"));
    form->albumChanged(12);
    EXPECT_EQ(child<QLineEdit>(form.get(), "TitleEdit")->text(), "Renamed");
    EXPECT_FALSE(TAlbumPropertiesForm(*collection, QStringLiteral("FFFFFFFF00000"), {}).isLoaded());
}
